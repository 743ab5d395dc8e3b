#include "model/WaveNames.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "model/FileUtil.h"
#include "model/NumberFormat.h"
#include "platform/Boxes.h"
#include "platform/NumberText.h"

namespace {

constexpr float kMatchTolerance = 0.05f;

std::vector<NamedWavelength> makeSpectralLines() {
    return {
        {"   |Hg", 2325.42f},
        {"   |Hg", 1970.09f},
        {"   |Hg", 1529.582f},
        {" |Nd:glass", 1060.0f},
        {"t  |Hg", 1013.98f},
        {"s  |Cs", 852.11f},
        {"A'  |K: middle of pair", 768.1943f},
        {"r  |He", 706.5188f},
        {"C  |H alpha", 656.2725f},
        {"C'  |Cd", 643.8469f},
        {"  |HeNe laser", 632.8f},
        {"D  |Na: middle of pair", 589.2938f},
        {"d  |He", 587.5618f},
        {"e  |Hg", 546.074f},
        {"F  |H beta", 486.1327f},
        {"F'  |Cd", 479.9914f},
        {"g  |Hg", 435.8343f},
        {"h  |Hg", 404.6561f},
        {"i  |Hg", 365.0146f},
        {"   |Hg", 334.1478f},
        {"", 312.5663f},
        {"   |Hg", 296.7278f},
    };
}

std::vector<NamedWavelength> makeLaserLines() {
    return {
        {"Er:YAG", 2940.0f},
        {"Ho:YAG", 2127.0f},
        {"Er:YLF", 1730.0f},
        {"Nd:YAG", 1570.0f},
        {"Telecom2", 1550.0f},
        {"Er:glass", 1535.0f},
        {"HeNe", 1523.1f},
        {"Nd:YLF", 1444.0f},
        {"Nd:YVO4", 1342.0f},
        {"Nd:YAG", 1340.0f},
        {"Nd:YLF", 1319.0f},
        {"Telecom1", 1300.0f},
        {"HeNe", 1152.3f},
        {"Nd:YAG, Nd:YVO4", 1064.0f},
        {"Nd:glass", 1060.0f},
        {"Nd:YLF", 1053.0f},
        {"Yb:YAG", 1030.0f},
        {"Diode (InGaAs)", 980.0f},
        {"Xe ion", 871.6f},
        {"Diode (InGaAsP)", 808.0f},
        {"Kr ion", 799.3f},
        {"Xe ion", 798.8f},
        {"Kr ion", 793.1f},
        {"Diode (GaAlAs)", 790.0f},
        {"Xe ion", 782.8f},
        {"Kr Ion", 752.5f},
        {"Xe Ion", 714.9f},
        {"Ruby |\tmain", 694.3f},
        {"Ruby", 692.8f},
        {"Kr Ion", 676.4f},
        {"Diode (GaInP)", 670.0f},
        {"Kr Ion |\tmain", 647.1f},
        {"Diode (InGaAlP)", 635.0f},
        {"HeNe |\tmain", 632.8f},
        {"Au Vapour", 627.8f},
        {"Xe ion", 627.1f},
        {"HeNe", 611.8f},
        {"HeNe", 604.6f},
        {"Xe ion", 597.1f},
        {"HeNe", 594.1f},
        {"Cu Vapor", 578.2f},
        {"Kr Ion", 568.2f},
        {"HeNe", 543.3f},
        {"Xe ion", 541.9f},
        {"Nd:YAG |\t2nd", 532.0f},
        {"Kr Ion", 530.9f},
        {"Ar Ion", 528.7f},
        {"Kr Ion", 520.8f},
        {"Ar Ion |\tmain2", 514.5f},
        {"Cu Vapor", 510.6f},
        {"Ar Ion", 501.7f},
        {"Ar Ion", 496.5f},
        {"Ar Ion |\tmain1", 488.0f},
        {"Kr Ion", 482.5f},
        {"Ar Ion", 476.5f},
        {"Kr Ion", 476.2f},
        {"Ar Ion", 472.7f},
        {"Kr Ion", 468.0f},
        {"Ar Ion", 465.8f},
        {"Xe Ion", 460.3f},
        {"Ar Ion", 457.9f},
        {"Ar Ion", 454.5f},
        {"HeCd", 441.6f},
        {"N2", 428.0f},
        {"Kr Ion", 416.0f},
        {"Diode (GaN)", 415.0f},
        {"Ne ion", 371.3f},
        {"Ar Ion", 364.0f},
        {"Nd:YAG |\t3rd", 355.0f},
        {"Excimer (XeF)", 351.0f},
        {"Ne ion", 339.3f},
        {"Ne ion", 337.8f},
        {"N2", 337.1f},
        {"Ne ion", 334.5f},
        {"Ne ion", 332.4f},
        {"HeCd", 325.0f},
        {"Excimer (XeCl)", 308.0f},
        {"Nd:YAG |\t4th", 266.0f},
        {"Excimer (KrF)", 248.0f},
        {"Excimer (KrCl)", 222.0f},
        {"Nd:YAG |\t5th", 213.0f},
    };
}

std::vector<NamedWavelength> makeTransWavelengths() {
    const float waves[] = {2500,  2325.4f, 1970.1f, 1529.6f, 1060.0f, 700, 660, 620, 580, 546.1f,
                           500,   460,     435.8f,  420,     404.7f,  400, 390, 380, 370, 365,
                           350,   334.1f,  320,     310,     300,     290, 280, 270, 260, 250};
    std::vector<NamedWavelength> table;
    for (float w : waves) table.push_back({"", w});
    return table;
}

std::vector<MeltWaveBand> builtInBands() {
    return {
        {"Ohara - standard", {656.2725f, 587.5618f, 486.1327f, 435.8343f}},
        {"Ohara - advanced",
         {852.11f, 706.5188f, 656.2725f, 643.8469f, 587.5618f, 546.074f, 486.1327f, 479.9914f, 435.8343f, 404.6561f}},
        {"Schott - standard", {656.2725f, 643.8469f, 587.5618f, 546.074f, 486.1327f, 479.9914f, 435.8343f}},
    };
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) return fields;
        start = bar + 1;
    }
}

// A number written with "." or, as some locales write it, ",".
bool parseFieldNumber(std::string_view field, double& value) {
    std::string text(field);
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos &&
        text.find('.') == std::string::npos)
        text[comma] = '.';
    return ParseNumber(text, value);
}

// One line of the band file; false for a line that is no band.
bool readBandLine(std::string_view line, MeltWaveBand& band) {
    const auto fields = splitFields(line);
    if (fields.size() < 2) return false;
    double count = 0;
    if (!parseFieldNumber(fields[1], count)) return false;
    count = std::nearbyint(count);  // to the nearest, ties to even
    if (count < 1 || count > 32767) return false;
    const auto n = static_cast<std::size_t>(count);
    if (fields.size() < n + 2) return false;
    band.name = std::string(fields[0]);
    band.waves.clear();
    for (std::size_t i = 0; i < n; ++i) {
        double wave = 0;
        if (!parseFieldNumber(fields[i + 2], wave) || std::fabs(wave) > FLT_MAX) return false;
        band.waves.push_back(static_cast<float>(wave));
    }
    return true;
}

std::string bandFolder(const std::string& programFolder) { return WithTrailingSeparator(programFolder) + kUserDataFolder; }

}  // namespace

const std::vector<NamedWavelength>& GetSpectralLines() {
    static const std::vector<NamedWavelength> table = makeSpectralLines();
    return table;
}

const std::vector<NamedWavelength>& GetLaserLines() {
    static const std::vector<NamedWavelength> table = makeLaserLines();
    return table;
}

const std::vector<NamedWavelength>& GetTransWavelengths() {
    static const std::vector<NamedWavelength> table = makeTransWavelengths();
    return table;
}

std::string FormatWaveName(const NamedWavelength& entry, bool bTab) {
    if (entry.name.find_first_not_of(' ') == std::string::npos) return "";
    const auto parts = splitFields(entry.name);
    std::string result(parts[0]);
    if (parts.size() > 1) {
        if (bTab) result += "\t" + std::string(parts[1]);
        else result += " |" + std::string(parts[1]) + "]";
    }
    return result;
}

bool WavesMatch(float a, float b) {
    const float difference = std::fabs(a - b);
    return difference < kMatchTolerance;
}

bool GetWaveSymbol(float wave, std::string& sym) {
    for (const auto* table : {&GetSpectralLines(), &GetLaserLines()}) {
        for (const NamedWavelength& row : *table) {
            if (WavesMatch(row.wavelength, wave)) {
                sym = FormatWaveName(row, false);
                return true;
            }
        }
    }
    sym = " * ";
    return false;
}

std::string WaveSymbolText(float wave) {
    std::string sym;
    if (!GetWaveSymbol(wave, sym)) return " ";
    return sym.substr(0, std::min<std::size_t>(2, sym.size()));
}

std::string MeltWaveBandFilePath(const std::string& programFolder) {
    return bandFolder(programFolder) + "/" + kMeltWaveBandFile;
}

std::vector<MeltWaveBand> GetMeltWaveBands(const std::string& programFolder) {
    std::vector<MeltWaveBand> bands = builtInBands();
    // The folder the user's bands are kept in is there from the first look;
    // that it exists already, or cannot be made, does not matter here.
    std::error_code ignored;
    std::filesystem::create_directory(bandFolder(programFolder), ignored);
    const auto bytes = ReadWholeFile(MeltWaveBandFilePath(programFolder));
    if (!bytes) return bands;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        MeltWaveBand band;
        if (readBandLine(text.substr(start, end - start), band)) bands.push_back(std::move(band));
        start = end;
        if (start < text.size() && text[start] == '\r') ++start;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    return bands;
}

bool SaveMeltWaveBands(const std::vector<MeltWaveBand>& bands, const std::string& programFolder, std::string* error) {
    std::string text;
    for (std::size_t b = kBuiltInMeltWaveBands; b < bands.size(); ++b) {
        const MeltWaveBand& band = bands[b];
        text += band.name + "|" + std::to_string(band.N());
        for (float wave : band.waves) text += "|" + GeneralText(wave);
        text += "\r\n";
    }
    const std::string folder = bandFolder(programFolder);
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    if (!FolderExists(folder)) {
        if (error) *error = folder + ": " + (ec ? ec.message() : "not a folder");
        return false;
    }
    return WriteFileAtomic(MeltWaveBandFilePath(programFolder), std::vector<std::uint8_t>(text.begin(), text.end()),
                           error);
}

bool MeltWaveBandNameAllowed(const std::string& name) { return name.find_first_of("|\r\n") == std::string::npos; }

bool AddMeltWaveBand(std::vector<MeltWaveBand>& bands, const std::string& name, std::vector<float> waves,
                     IBoxes& boxes) {
    if (!MeltWaveBandNameAllowed(name)) {
        boxes.show(kBoxExclamation, kBandNameRefused, kBandNameTitle);
        return false;
    }
    bands.push_back({name, std::move(waves)});
    return true;
}
