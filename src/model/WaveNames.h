// The program's built-in vocabulary of wavelengths: the named spectral lines,
// laser lines and typical transmission wavelengths the wavelength picker
// offers, the lookup of a wavelength's line symbol, and the melt wavebands
// (the lists of wavelengths a melt certificate gives its indices at): three
// built in, the user's kept in "UserData/MeltWaveBand.lst" of the program
// folder.
#pragma once

#include <string>
#include <vector>

class IBoxes;

struct NamedWavelength {
    // Spectral lines: a symbol field ("C  ", "C'  ", or blanks alone) and a
    // description starting with "|". Laser lines: plain text, the tagged ones
    // as "Ruby |" TAB "main". Transmission wavelengths: empty.
    std::string name;
    float wavelength = 0;  // nm

    bool operator==(const NamedWavelength&) const = default;
};

struct MeltWaveBand {
    std::string name;
    std::vector<float> waves;  // nm, in the band's order

    int N() const { return static_cast<int>(waves.size()); }
    bool operator==(const MeltWaveBand&) const = default;
};

// A band table starts with the three built-in bands; the user's follow.
inline constexpr int kBuiltInMeltWaveBands = 3;
inline constexpr const char* kUserDataFolder = "UserData";
inline constexpr const char* kMeltWaveBandFile = "MeltWaveBand.lst";

// The three fixed tables (22, 81 and 30 rows), wavelengths in nm.
const std::vector<NamedWavelength>& GetSpectralLines();
const std::vector<NamedWavelength>& GetLaserLines();
const std::vector<NamedWavelength>& GetTransWavelengths();

// The display form of a name: "" for a blank name; otherwise its parts at
// "|", the first two joined by a TAB (bTab) or as first & " |" & second & "]".
std::string FormatWaveName(const NamedWavelength& entry, bool bTab);

// The wavelengths are the same line: closer than 0.05 nm, in single precision.
bool WavesMatch(float a, float b);

// The first spectral line, else the first laser line, that matches wave:
// True with sym = its name formatted without TAB. Else False and " * ".
bool GetWaveSymbol(float wave, std::string& sym);
// The symbol columns' text of a wavelength: the first two characters of its
// line's name, or one blank when it is no known line.
std::string WaveSymbolText(float wave);

// "UserData/MeltWaveBand.lst" in the program folder (ending in '/').
std::string MeltWaveBandFilePath(const std::string& programFolder);

// The built-in bands, then each good line of the band file in file order. A
// missing or unreadable file gives the built-in bands; a bad line is dropped.
// The "UserData" folder is made when missing (a failure is ignored).
// Decimals may be written with "." or ","; lines end in CR LF, LF or CR.
std::vector<MeltWaveBand> GetMeltWaveBands(const std::string& programFolder);

// Rewrites the band file from every band after the built-in ones, one line
// each, name|N|wave|wave..., "." as decimal point, CR LF line ends; the folder
// is made when missing. Written whole through a temporary file, so a failed
// save leaves the old file. False (with error, when given) when it failed.
bool SaveMeltWaveBands(const std::vector<MeltWaveBand>& bands, const std::string& programFolder,
                       std::string* error = nullptr);

// The refusal shown for a name the band file cannot hold.
inline constexpr const char* kBandNameRefused =
    "A waveband name cannot contain the character \"|\" or a line break.\r\n\r\nPlease choose another name.";
inline constexpr const char* kBandNameTitle = "Default wavebands for melts";

// A name the band file can hold: no "|" (the field separator), no CR or LF.
bool MeltWaveBandNameAllowed(const std::string& name);

// Appends {name, waves} to the table. A name the file cannot hold is refused
// with an exclamation box and the table is left as it was: False.
bool AddMeltWaveBand(std::vector<MeltWaveBand>& bands, const std::string& name, std::vector<float> waves,
                     IBoxes& boxes);
