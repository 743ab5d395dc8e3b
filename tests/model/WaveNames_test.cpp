#include "model/WaveNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "shell/CSApplication.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

struct RowCase {
    const std::vector<NamedWavelength>& (*table)();
    const char* tableName;
    int row;  // 1-based, as the tables are numbered
    std::string name;
    float wavelength;
};

class NamedTableRows : public ::testing::TestWithParam<RowCase> {};

const std::vector<float> kOharaStandard = {656.2725f, 587.5618f, 486.1327f, 435.8343f};
const std::vector<float> kOharaAdvanced = {852.11f,  706.5188f, 656.2725f, 643.8469f, 587.5618f,
                                           546.074f, 486.1327f, 479.9914f, 435.8343f, 404.6561f};
const std::vector<float> kSchottStandard = {656.2725f, 643.8469f, 587.5618f, 546.074f,
                                            486.1327f, 479.9914f, 435.8343f};

std::vector<MeltWaveBand> builtIns() {
    return {{"Ohara - standard", kOharaStandard},
            {"Ohara - advanced", kOharaAdvanced},
            {"Schott - standard", kSchottStandard}};
}

std::vector<MeltWaveBand> withUserBands(std::vector<MeltWaveBand> user) {
    auto bands = builtIns();
    bands.insert(bands.end(), user.begin(), user.end());
    return bands;
}

std::string fileText(const TestFolder& folder) {
    const auto bytes = folder.read("UserData/MeltWaveBand.lst");
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST_P(NamedTableRows, HoldsTheRowCharacterForCharacter) {
    const RowCase& c = GetParam();
    const auto& table = c.table();
    ASSERT_GE(table.size(), static_cast<std::size_t>(c.row));
    EXPECT_EQ(table[static_cast<std::size_t>(c.row - 1)].name, c.name);
    EXPECT_EQ(table[static_cast<std::size_t>(c.row - 1)].wavelength, c.wavelength);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, NamedTableRows,
    ::testing::Values(RowCase{GetSpectralLines, "spectral", 1, "   |Hg", 2325.42f},
                      RowCase{GetSpectralLines, "spectral", 3, "   |Hg", 1529.582f},
                      RowCase{GetSpectralLines, "spectral", 4, " |Nd:glass", 1060.0f},
                      RowCase{GetSpectralLines, "spectral", 7, "A'  |K: middle of pair", 768.1943f},
                      RowCase{GetSpectralLines, "spectral", 9, "C  |H alpha", 656.2725f},
                      RowCase{GetSpectralLines, "spectral", 11, "  |HeNe laser", 632.8f},
                      RowCase{GetSpectralLines, "spectral", 16, "F'  |Cd", 479.9914f},
                      RowCase{GetSpectralLines, "spectral", 21, "", 312.5663f},
                      RowCase{GetSpectralLines, "spectral", 22, "   |Hg", 296.7278f},
                      RowCase{GetLaserLines, "laser", 1, "Er:YAG", 2940.0f},
                      RowCase{GetLaserLines, "laser", 14, "Nd:YAG, Nd:YVO4", 1064.0f},
                      RowCase{GetLaserLines, "laser", 20, "Diode (InGaAsP)", 808.0f},
                      RowCase{GetLaserLines, "laser", 28, "Ruby |\tmain", 694.3f},
                      RowCase{GetLaserLines, "laser", 35, "Au Vapour", 627.8f},
                      RowCase{GetLaserLines, "laser", 49, "Ar Ion |\tmain2", 514.5f},
                      RowCase{GetLaserLines, "laser", 81, "Nd:YAG |\t5th", 213.0f},
                      RowCase{GetTransWavelengths, "trans", 1, "", 2500.0f},
                      RowCase{GetTransWavelengths, "trans", 5, "", 1060.0f},
                      RowCase{GetTransWavelengths, "trans", 22, "", 334.1f},
                      RowCase{GetTransWavelengths, "trans", 30, "", 250.0f}),
    [](const auto& info) { return std::string(info.param.tableName) + std::to_string(info.param.row); });

TEST(NamedTables, HaveTheirLengthsAndRunFromLongToShortWaves) {
    EXPECT_EQ(GetSpectralLines().size(), 22u);
    EXPECT_EQ(GetLaserLines().size(), 81u);
    EXPECT_EQ(GetTransWavelengths().size(), 30u);
    // A row typed out of place breaks the descending order.
    for (const auto* table : {&GetSpectralLines(), &GetLaserLines(), &GetTransWavelengths()})
        for (std::size_t i = 1; i < table->size(); ++i)
            EXPECT_GT((*table)[i - 1].wavelength, (*table)[i].wavelength) << "row " << i + 1;
    // Exactly the nine tagged laser lines carry a TAB.
    int tagged = 0;
    for (const auto& row : GetLaserLines()) tagged += row.name.find(" |\t") != std::string::npos;
    EXPECT_EQ(tagged, 9);
}

TEST(FormatWaveName, JoinsTheNameParts) {
    struct Case {
        NamedWavelength entry;
        bool tab;
        std::string expected;
    } cases[] = {
        {{"C  |H alpha", 656.2725f}, true, "C  \tH alpha"},
        {{"C  |H alpha", 656.2725f}, false, "C   |H alpha]"},
        {{"Er:YAG", 2940}, true, "Er:YAG"},
        {{"Er:YAG", 2940}, false, "Er:YAG"},
        {{"Ruby |\tmain", 694.3f}, true, "Ruby \t\tmain"},
        {{" |Nd:glass", 1060}, false, "  |Nd:glass]"},
        {{"", 312.5663f}, true, ""},
        {{"   ", 250}, false, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatWaveName(c.entry, c.tab), c.expected) << c.entry.name;
}

TEST(GetWaveSymbol, FindsTheFirstLineWithinTheTolerance) {
    struct Case {
        float wave;
        bool found;
        std::string sym;
    } cases[] = {
        {656.30f, true, "C   |H alpha]"},        // 0.0275 off row 9
        {656.33f, false, " * "},                 // 0.0575 off
        {587.5618f, true, "d   |He]"},           // row 13, not D at 589.2938
        {312.5663f, true, ""},                   // row 21 has no name
        {1060.0f, true, "  |Nd:glass]"},         // the spectral row before the laser line
        {1064.0f, true, "Nd:YAG, Nd:YVO4"},      // laser lines after the spectral ones
        {694.3f, true, "Ruby  |\tmain]"},
        {100.0f, false, " * "},
    };
    for (const Case& c : cases) {
        std::string sym = "old";
        EXPECT_EQ(GetWaveSymbol(c.wave, sym), c.found) << c.wave;
        EXPECT_EQ(sym, c.sym) << c.wave;
    }
}

TEST(MeltWaveBands, WithoutAFileAreTheThreeBuiltInBands) {
    TestFolder folder;
    EXPECT_EQ(GetMeltWaveBands(folder.path()), builtIns());
    // The first look makes the folder the user's bands go into.
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("UserData")));

    // A file where the folder belongs changes nothing: the built-in bands.
    TestFolder blocked;
    blocked.write("UserData", "a file where the folder belongs");
    EXPECT_EQ(GetMeltWaveBands(blocked.path()), builtIns());
    EXPECT_TRUE(std::filesystem::is_regular_file(blocked.file("UserData")));
}

TEST(MeltWaveBands, KeepTheGoodLinesOfTheFile) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<MeltWaveBand> user;
    } cases[] = {
        {"empty file", "", {}},
        {"blank lines", "\r\n\r\n\n", {}},
        {"fields beyond N ignored", "A|2|500|600|700\r\n", {{"A", {500, 600}}}},
        {"bad lines dropped, the rest read",
         "A|3|500|600\r\nA|0\r\nA|x|500\r\nB|1|400\r\nA|-2|1|2\r\nA|40000|1\r\nA|1|1e40\r\nA\r\n",
         {{"B", {400}}}},
        {"LF line ends and decimal commas", "X|2|656,2725|587.5618\nY|1|486,1327",
         {{"X", {656.2725f, 587.5618f}}, {"Y", {486.1327f}}}},
        {"N rounded half to even", "R|2.5|1|2|3\r\nS|1.5|4|5\r\n", {{"R", {1, 2}}, {"S", {4, 5}}}},
        {"name kept untrimmed, 8-bit", " Sch\xF6tt 1 |1|500\r\n", {{" Sch\xF6tt 1 ", {500}}}},
        {"a name holding | reads no number", "Mine|A|2|500|600\r\n", {}},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        std::filesystem::create_directory(folder.file("UserData"));
        folder.write("UserData/MeltWaveBand.lst", c.file);
        EXPECT_EQ(GetMeltWaveBands(folder.path()), withUserBands(c.user)) << c.what;
    }
}

TEST(MeltWaveBands, SaveWritesTheUserBandsAndReadsBack) {
    TestFolder folder;
    const auto bands = withUserBands({{"X", {656.2725f, 587.5618f, 486.1327f}}, {"Y 2", {1529.582f, 0.5f, 12000}}});
    ASSERT_TRUE(SaveMeltWaveBands(bands, folder.path()));
    EXPECT_EQ(fileText(folder), "X|3|656.2725|587.5618|486.1327\r\nY 2|3|1529.582|0.5|12000\r\n");
    EXPECT_EQ(GetMeltWaveBands(folder.path()), bands);

    // A later save replaces the file whole and leaves no temporary file behind.
    ASSERT_TRUE(SaveMeltWaveBands(builtIns(), folder.path()));
    EXPECT_EQ(fileText(folder), "");
    for (const auto& entry : std::filesystem::directory_iterator(folder.file("UserData")))
        EXPECT_EQ(entry.path().filename(), "MeltWaveBand.lst");
}

TEST(MeltWaveBands, UseTheProgramFolderOfTheRun) {
    TestFolder folder;
    ProgramFolderOverride home(folder.path());
    const auto bands = withUserBands({{"Z", {500, 400, 300}}});
    ASSERT_TRUE(SaveMeltWaveBands(bands));
    EXPECT_TRUE(folder.exists("UserData/MeltWaveBand.lst"));
    EXPECT_EQ(GetMeltWaveBands(), bands);
}

TEST(MeltWaveBands, AFailedSaveSaysSoAndKeepsTheOldFile) {
    TestFolder folder;
    folder.write("UserData", "a file where the folder belongs");
    std::string error;
    EXPECT_FALSE(SaveMeltWaveBands(withUserBands({{"Z", {500}}}), folder.path(), &error));
    EXPECT_NE(error.find("UserData"), std::string::npos) << error;

    TestFolder other;
    ASSERT_TRUE(SaveMeltWaveBands(withUserBands({{"Old", {500}}}), other.path()));
    // The file's name taken by a folder: the rename fails, the old content stays.
    std::filesystem::remove(other.file("UserData/MeltWaveBand.lst"));
    std::filesystem::create_directory(other.file("UserData/MeltWaveBand.lst"));
    EXPECT_FALSE(SaveMeltWaveBands(withUserBands({{"New", {400}}}), other.path(), &error));
    EXPECT_TRUE(std::filesystem::is_directory(other.file("UserData/MeltWaveBand.lst")));
    // No temporary file is left beside it.
    const std::filesystem::directory_iterator entries(other.file("UserData"));
    EXPECT_EQ(std::distance(std::filesystem::begin(entries), std::filesystem::end(entries)), 1);
}

TEST(AddMeltWaveBand, RefusesANameTheFileCannotHold) {
    for (const std::string name : {"A|B", "|", "Two\r\nlines", "line\n"}) {
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        auto bands = builtIns();
        EXPECT_FALSE(AddMeltWaveBand(bands, name, {500, 600, 700}, boxes)) << name;
        EXPECT_EQ(bands, builtIns());
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, kBandNameRefused);
        EXPECT_EQ(boxes.last().title, "Default wavebands for melts");
    }

    TestFolder folder;
    ScriptedBoxes boxes;
    auto bands = builtIns();
    ASSERT_TRUE(AddMeltWaveBand(bands, "Mine [i-line]", {700, 600, 365.0146f}, boxes));
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(SaveMeltWaveBands(bands, folder.path()));
    EXPECT_EQ(GetMeltWaveBands(folder.path()), withUserBands({{"Mine [i-line]", {700, 600, 365.0146f}}}));
}
