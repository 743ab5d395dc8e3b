#include "exchange/CImportNewGLZ.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/GlzSamples.h"
#include "exchange/ImportSamples.h"
#include "exchange/frm5Export.h"
#include "model/TransCalcs.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

class GlzReadTest : public ::testing::Test {
protected:
    bool read(const std::string& text) {
        return reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), glasses,
                                  count);
    }
    bool read(const std::vector<std::uint8_t>& bytes) {
        return reader.ImportBytes(bytes.data(), bytes.size(), glasses, count);
    }
    static std::string file(const std::vector<std::vector<std::string>>& blocks) {
        std::vector<std::string> lines{GlzHeaderLine()};
        for (const auto& b : blocks) lines.insert(lines.end(), b.begin(), b.end());
        lines.push_back("EOF");
        return CrLfLines(lines);
    }
    // The minimal block with the line at index `at` replaced.
    static std::vector<std::string> blockWith(std::size_t at, const std::string& line) {
        auto b = GlzMinimalBlock();
        b.at(at) = line;
        return b;
    }

    ScriptedBoxes boxes;
    CImportNewGLZ reader{boxes};
    std::vector<GlassRecord> glasses;
    int count = -1;
};

// Lines of the minimal block by what they hold.
constexpr std::size_t kLineNames = 2, kLineLimits = 3, kLineIndexCount = 5, kLineTransCount = 16,
                      kLineFirstRefIndex = 20;

TEST_F(GlzReadTest, RoundTripKeepsEveryCarriedField) {
    std::vector<GlassRecord> written = {
        GlzSample("No points", {0, 0, 0, 0}),
        GlzSample("Two points", {2, 5, 0, 0}),
        GlzSample("Eleven points", {11, 150, 0, 0}),
        GlzSample("Melt glass", {150, 3, 20, 20}),
        GlzSample("Melt, one pair", {7, 1, 1, 9}),
    };
    const std::string text = MakeGLZText(written, 1, static_cast<int>(written.size()), "Tuesday, March 4, 2025");

    ASSERT_TRUE(read(text));
    ASSERT_EQ(count, 5);
    ASSERT_EQ(glasses.size(), 5u);
    for (std::size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(written[i].definition.name.str());
        EXPECT_TRUE(GlzCarried(glasses[i]) == GlzCarried(written[i]));
        const GlassRecord& g = glasses[i];
        EXPECT_EQ(g.definition.catalogNumber, kOwnCatalogNumber);
        for (int s : {kGeneral, kIndex, kTrans, kDnDt, kOther}) EXPECT_EQ(g.sections[s].ready, kTrue) << s;
    }
    // The counts the writer settles on are those of the file.
    EXPECT_EQ(glasses[0].measured.transCount, 150);
    EXPECT_EQ(glasses[1].measured.transCount, 2);
    EXPECT_EQ(glasses[2].measured.transCount, 150);
    EXPECT_EQ(glasses[2].indexPointCount, 150);
    EXPECT_EQ(glasses[3].melt.pairCount, 20);
    EXPECT_EQ(glasses[3].melt.secondCount, 20);
}

TEST_F(GlzReadTest, NumbersReadBackToTheSameValue) {
    const double doubles[] = {0.1, 1.0 / 3.0, 0.1 + 0.2, 1e-6, 1e-300, 5e-324, 1.7976931348623157e308,
                              -123456789012345678.0, 2.5e15, 1e21, -0.0};
    const float singles[] = {0.1f, 1.0f / 3.0f, 1e-6f, 3.4028235e38f, 1e-45f, 1.17549435e-38f, 16777216.0f,
                             -7.1f, 365.5f};
    std::vector<GlassRecord> written;
    for (double d : doubles) {
        GlassRecord g = GlzSample("double", {2, 1, 0, 0});
        g.definition.coefficients[0] = d;
        g.measured.index[1] = 1.5;
        g.measured.indexWavelength[1] = d;
        written.push_back(g);
    }
    for (float f : singles) {
        GlassRecord g = GlzSample("single", {2, 0, 0, 0});
        g.definition.density = f;
        g.notes.lambdaTK = f;
        g.measured.absorption[1] = f;
        written.push_back(g);
    }
    ASSERT_TRUE(read(MakeGLZText(written, 1, static_cast<int>(written.size()), "date")));
    ASSERT_EQ(glasses.size(), written.size());
    for (std::size_t i = 0; i < std::size(doubles); ++i) {
        EXPECT_EQ(glasses[i].definition.coefficients[0], doubles[i]);
        EXPECT_EQ(glasses[i].measured.indexWavelength[1], doubles[i]);
    }
    for (std::size_t i = 0; i < std::size(singles); ++i) {
        const GlassRecord& g = glasses[std::size(doubles) + i];
        EXPECT_EQ(g.definition.density, singles[i]);
        EXPECT_EQ(g.notes.lambdaTK, singles[i]);  // written twice, read twice
        EXPECT_EQ(g.measured.absorption[1], singles[i]);
    }
}

TEST_F(GlzReadTest, TheFirst41TransmissionPointsFillTheDesignTable) {
    // 25 and 0 points are written as 150, padded with points without a wavelength.
    std::vector<GlassRecord> written = {GlzSample("many", {150, 0, 0, 0}), GlzSample("few", {3, 0, 0, 0}),
                                        GlzSample("padded", {25, 0, 0, 0}), GlzSample("none", {0, 0, 0, 0})};
    ASSERT_TRUE(read(MakeGLZText(written, 1, 4, "date")));
    const GlassRecord& many = glasses[0];
    for (int i = 0; i < kStandardTransCount; ++i) {
        EXPECT_EQ(many.definition.transWavelength[i], written[0].measured.transWavelength[i + 1]) << i;
        EXPECT_EQ(many.definition.transAbsorption[i], written[0].measured.absorption[i + 1]) << i;
    }
    // Beyond the points, entries up to the 40th are empty (99); the 41st keeps
    // the blank record's 0, as every importer leaves it.
    for (int k : {1, 2, 3}) {
        SCOPED_TRACE(written[k].definition.name.str());
        const int points = std::array{3, 25, 0}[k - 1];
        const GlassDefinition& d = glasses[k].definition;
        for (int i = 0; i < points; ++i) {
            EXPECT_EQ(d.transWavelength[i], written[k].measured.transWavelength[i + 1]) << i;
            EXPECT_EQ(d.transAbsorption[i], written[k].measured.absorption[i + 1]) << i;
        }
        for (int i = points; i < kStandardTransCount; ++i) {
            EXPECT_EQ(d.transWavelength[i], 0.0f) << i;
            EXPECT_EQ(d.transAbsorption[i], i == kStandardTransCount - 1 ? 0.0f : 99.0f) << i;
        }
    }
    ASSERT_EQ(glasses[3].measured.transCount, 150);
    // The standard table is interpolated from the points read.
    std::array<float, kStandardTransCount> expected{};
    AbsorptionAtStandardWavelengths(expected, many.measured.thickness, many.measured.transWavelength.items,
                                    many.measured.absorption.items);
    EXPECT_EQ(many.standardAbsorption, expected);
}

TEST_F(GlzReadTest, ReadErrorsEndTheWholeRead) {
    auto good = GlzMinimalBlock();
    auto unfinished = GlzMinimalBlock();
    unfinished.resize(unfinished.size() - 2);  // no end marker
    auto startInside = GlzMinimalBlock();
    startInside.insert(startInside.begin() + 6, "#-- Material Data Start --");
    std::vector<std::string> cutShort(good.begin(), good.begin() + 12);  // one line of properties
    auto pairs = [](const std::string& k, const std::string& l) {
        auto b = GlzMinimalBlock();
        b.insert(b.end() - 2, {"      -- Melt [optional] --", "\"P\",\"S\"", "\"M\"," + k, "500,1.5", l, "1,2,3"});
        return b;
    };
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"block ending with the file", file({good, unfinished})},
        {"start marker inside a block", file({startInside})},
        {"block without its end, then the next block", file({unfinished, good})},
        {"text for an Integer", file({blockWith(kLineLimits, "two,310,2325,2.51")})},
        {"empty number item", file({blockWith(kLineLimits, "2,,2325,2.51")})},
        {"Integer overflow", file({blockWith(kLineLimits, "2,40000,2325,2.51")})},
        {"Single overflow", file({blockWith(kLineLimits, "2,310,2325,1E+39")})},
        {"Double overflow", file({blockWith(4, "1E+309,0.2,1,0.006,0.02,100,0,0,0,0,0,0,0,0")})},
        {"151 index points", file({blockWith(kLineIndexCount, "151,0,0")})},
        {"negative index count", file({blockWith(kLineIndexCount, "-1,0,0")})},
        {"151 transmission points", file({blockWith(kLineTransCount, "151,10,1")})},
        {"negative transmission count", file({blockWith(kLineTransCount, "-2,10,1")})},
        {"21 melt pairs", file({pairs("21", "1")})},
        {"21 second-table rows", file({pairs("1", "21")})},
        {"too few index rows", file({blockWith(kLineFirstRefIndex + 1, "#-- Material Data End --")})},
        // Texts take any item, so a short properties section would read on into the next block.
        {"properties cut short before the next block", file({cutShort, good})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        glasses.assign(3, GlassRecord{});  // what the caller held before is not kept either
        count = 3;
        EXPECT_FALSE(read(c.text));
        EXPECT_EQ(count, 0);
        EXPECT_TRUE(glasses.empty());
    }
    EXPECT_TRUE(boxes.shown().empty());  // the caller reports a failed read
}

TEST_F(GlzReadTest, AFileThatCannotBeOpenedIsAReadError) {
    TestFolder folder;
    EXPECT_FALSE(reader.ImportFile(folder.file("missing.GLZ"), glasses, count));
    EXPECT_EQ(count, 0);
}

TEST_F(GlzReadTest, AForeignFirstLineIsReportedAndNothingRead) {
    boxes.answer(kAnswerOk);
    auto text = file({GlzMinimalBlock()});
    text.replace(0, GlzHeaderLine().size(), "GLZ");
    EXPECT_TRUE(read(text));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(glasses.empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().text, "This is not a Harvenne GLZ material data file.  Import will abort.");
    EXPECT_EQ(boxes.last().title, kAppTitle);
}

TEST_F(GlzReadTest, TheHeaderIsFoundAnywhereInTheFirstLine) {
    auto text = file({GlzMinimalBlock()});
    EXPECT_TRUE(read("xx " + text));
    EXPECT_EQ(count, 1);
}

TEST_F(GlzReadTest, FilesWithoutBlocksAndAStartMarkerAsTheLastLineReadNothingMore) {
    EXPECT_TRUE(read(CrLfLines({GlzHeaderLine(), "EOF"})));
    EXPECT_EQ(count, 0);
    auto lastStart = file({GlzMinimalBlock()}) + "#-- Material Data Start --\r\n";
    EXPECT_TRUE(read(lastStart));
    EXPECT_EQ(count, 1);
}

TEST_F(GlzReadTest, EncodingsAndLineEndsGiveIdenticalRecords) {
    // "Glas é € µ" and, in the remark, a character Windows-1252 lacks (Ω).
    const std::string cp1252Name = "Glas \xE9 \x80 \xB5";
    const std::string utf8Name = "Glas \xC3\xA9 \xE2\x82\xAC \xC2\xB5";
    auto block = [](const std::string& name, const std::string& remark) {
        auto b = GlzMinimalBlock();
        b[kLineNames] = "\"" + name + "\",\"Maker\"";
        b[14] = "\"Remark\",\"" + remark + "\",\"CC\",\"\",\"Bubble\",\"\",\"Status\",\"R\",\"RelPrice\",\"\"";
        return b;
    };
    const std::string cp1252 = file({block(cp1252Name, "Omega ?")});
    const std::string utf8 = file({block(utf8Name, "Omega \xCE\xA9")});

    ASSERT_TRUE(read(cp1252));
    ASSERT_EQ(count, 1);
    const GlassRecord expected = glasses[0];
    EXPECT_EQ(expected.definition.name.str(), cp1252Name);

    for (const std::string end : {"\r\n", "\n", "\r"}) {
        const std::string u8 = WithLineEnds(utf8, end);
        const std::string cp = WithLineEnds(cp1252, end);
        const struct {
            const char* what;
            std::vector<std::uint8_t> bytes;
        } forms[] = {
            {"Windows-1252", {cp.begin(), cp.end()}},
            {"UTF-8 with BOM", [&] {
                 std::vector<std::uint8_t> b{0xEF, 0xBB, 0xBF};
                 b.insert(b.end(), u8.begin(), u8.end());
                 return b;
             }()},
            {"UTF-16 LE", Utf16Bytes(u8, false)},
            {"UTF-16 BE", Utf16Bytes(u8, true)},
        };
        for (const auto& f : forms) {
            SCOPED_TRACE(std::string(f.what) + (end == "\n" ? " LF" : end == "\r" ? " CR" : " CR LF"));
            ASSERT_TRUE(read(f.bytes));
            ASSERT_EQ(count, 1);
            EXPECT_TRUE(glasses[0] == expected);
        }
    }
}

// The writer writes Windows-1252 bytes, which may happen to form UTF-8 ("Ã©"
// is C3 A9, UTF-8 for "é"): without a byte order mark a file is taken as
// written, so a backup reads back byte for byte.
TEST_F(GlzReadTest, TextsWhoseBytesFormUtf8ReadBackAsWritten) {
    const std::string looksUtf8 = "\xC3\xA9tude \xE2\x82\xAC";  // "Ã©tude â‚¬"
    GlassRecord g = GlzSample("Melt glass", {3, 2, 4, 1});
    g.definition.name.set(looksUtf8);
    g.definition.source.set("Ma\xC3\xAFtre");
    g.properties.remark.set("Remark " + looksUtf8);
    g.properties.tg.set("\xC2\xB0" "C");
    g.melt.parentName.set(looksUtf8);
    g.melt.parentSource.set("\xC3\x9F");
    g.melt.meltCode.set("\xC3\xA9");
    std::vector<GlassRecord> written = {g};
    const std::string text = MakeGLZText(written, 1, 1, "date");
    ASSERT_TRUE(read(text));
    ASSERT_EQ(count, 1);
    EXPECT_TRUE(GlzCarried(glasses[0]) == GlzCarried(written[0]));
    EXPECT_EQ(glasses[0].definition.name.str(), looksUtf8);
    EXPECT_EQ(MakeGLZText(glasses, 1, 1, "date"), text);

    // Behind a UTF-8 byte order mark the same bytes are UTF-8.
    ASSERT_TRUE(read("\xEF\xBB\xBF" + text));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(glasses[0].definition.name.str(), "\xE9tude \x80");
}

TEST_F(GlzReadTest, ThicknessOfZeroOrLessReadsAsTen) {
    for (const char* thickness : {"0", "-5"}) {
        ASSERT_TRUE(read(file({blockWith(kLineTransCount, std::string("2,") + thickness + ",1")})));
        EXPECT_EQ(glasses[0].measured.thickness, 10.0f) << thickness;
    }
    ASSERT_TRUE(read(file({blockWith(kLineTransCount, "2,2.5,1")})));
    EXPECT_EQ(glasses[0].measured.thickness, 2.5f);
}

TEST_F(GlzReadTest, ReferenceIndexRowsAreKeptInRange) {
    auto b = GlzMinimalBlock();
    b[kLineFirstRefIndex] = "1000,-0.1,1.5";
    b[kLineFirstRefIndex + 1] = "500,9.5,-0.2";
    ASSERT_TRUE(read(file({b})));
    const MeasuredData& md = glasses[0].measured;
    EXPECT_EQ(md.index[1], 0.0);
    EXPECT_EQ(md.weight[1], 1.0f);
    EXPECT_EQ(md.index[2], 9.0);
    EXPECT_EQ(md.weight[2], 0.0f);
}

TEST_F(GlzReadTest, TransmissionIsReadyFromTwoPoints) {
    auto one = GlzMinimalBlock();
    one[kLineTransCount] = "1,10,1";
    one.erase(one.begin() + kLineTransCount + 2);
    ASSERT_TRUE(read(file({one, GlzMinimalBlock()})));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(glasses[0].measured.transCount, 1);
    EXPECT_EQ(glasses[0].sections[kTrans].ready, kFalse);
    EXPECT_EQ(glasses[1].sections[kTrans].ready, kTrue);
}

TEST_F(GlzReadTest, SectionsGoByTheirMarkers) {
    // Ref Index before General: its rows are ordinary lines, skipped.
    auto refFirst = GlzMinimalBlock();
    std::vector<std::string> ref(refFirst.begin() + 19, refFirst.begin() + 22);
    refFirst.erase(refFirst.begin() + 19, refFirst.begin() + 22);
    refFirst.insert(refFirst.begin() + 1, ref.begin(), ref.end());
    // A marker in another case is an ordinary line: its section is not read.
    auto otherCase = blockWith(1, "#     -- general --");
    // A section twice: the later values win.
    auto twice = GlzMinimalBlock();
    twice.insert(twice.end() - 2, {"#     -- General --", "\"Second\",\"Maker\"", "4,400,700,3", "1,2,3,4,5,6,7,8,9,10,11,12,13,14", "0,0,1"});
    // The older index section: rows of two texts, weight 1.
    auto old = GlzMinimalBlock();
    old[19] = "#     -- Index --";
    old[kLineFirstRefIndex] = "\"1000\",\"1.5\"";
    old[kLineFirstRefIndex + 1] = "\"500\",\"1.52\"";

    ASSERT_TRUE(read(file({refFirst, otherCase, twice, old})));
    ASSERT_EQ(count, 4);
    EXPECT_EQ(glasses[0].indexPointCount, 2);
    EXPECT_EQ(glasses[0].measured.indexWavelength[1], 0.0);
    EXPECT_EQ(glasses[1].definition.name.str(), "");
    EXPECT_EQ(glasses[1].sections[kGeneral].ready, kFalse);
    EXPECT_EQ(glasses[2].definition.name.str(), "Second");
    EXPECT_EQ(glasses[2].definition.formulaType, kCauchy);
    EXPECT_EQ(glasses[2].indexPointCount, 0);
    EXPECT_EQ(glasses[3].measured.indexWavelength[2], 500.0);
    EXPECT_EQ(glasses[3].measured.index[2], 1.52);
    EXPECT_EQ(glasses[3].measured.weight[1], 1.0f);
}

TEST_F(GlzReadTest, ItemsAreAStreamAcrossLines) {
    auto b = GlzMinimalBlock();
    b[kLineLimits] = "2,310";
    b.insert(b.begin() + kLineLimits + 1, "  2325 , 2.51");
    b[kLineNames] = "\"Glass, with comma\" , \"Maker\"";
    ASSERT_TRUE(read(file({b})));
    EXPECT_EQ(glasses[0].definition.name.str(), "Glass, with comma");
    EXPECT_EQ(glasses[0].definition.upperWavelength, 2325);
    EXPECT_EQ(glasses[0].definition.density, 2.51f);
}

TEST_F(GlzReadTest, ImportFileReadsTheFileOnDisk) {
    TestFolder folder;
    std::vector<GlassRecord> written = {GlzSample("On disk", {4, 2, 2, 1})};
    FixedClock clock(DateSerial(2025, 3, 4));
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "disk.GLZ", 1, 1, clock, boxes));
    ASSERT_TRUE(reader.ImportFile(folder.file("disk.GLZ"), glasses, count));
    ASSERT_EQ(count, 1);
    EXPECT_TRUE(GlzCarried(glasses[0]) == GlzCarried(written[0]));
}

// A file on disk is read a window at a time. However small the window, the
// outcome is that of reading the whole text at once: the same records, the
// same result, the same box.
TEST_F(GlzReadTest, AFileReadAWindowAtATimeReadsAsAWhole) {
    std::vector<GlassRecord> samples = {GlzSample("One", {150, 20, 3, 2}), GlzSample("Two", {2, 0, 0, 0}),
                                        GlzSample("Three", {11, 150, 20, 20})};
    const std::string written = MakeGLZText(samples, 1, 3, "Tuesday, March 4, 2025");
    auto unfinished = GlzMinimalBlock();
    unfinished.resize(unfinished.size() - 2);
    // The properties last and one item short: the end marker is read as the
    // price, and a later end marker ends the block.
    auto readsOn = GlzMinimalBlock();
    readsOn.resize(15);
    readsOn[14] = "\"Remark\",\"\",\"CC\",\"\",\"Bubble\",\"\",\"Status\",\"R\",\"RelPrice\"";
    readsOn.insert(readsOn.end(), {"#-- Material Data End --", " ", "#-- Material Data End --", " "});
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"a backup as written", written},
        {"LF line ends", WithLineEnds(written, "\n")},
        {"CR line ends", WithLineEnds(written, "\r")},
        {"no line end at the end", written.substr(0, written.size() - 2)},
        {"a start marker as the last line", written + "#-- Material Data Start --\r\n"},
        {"a block cut short", file({GlzMinimalBlock(), unfinished})},
        {"a section reading on past an end marker", file({readsOn, GlzMinimalBlock()})},
        {"no blocks", CrLfLines({GlzHeaderLine(), "EOF"})},
        {"an empty file", ""},
        {"a foreign first line", "GLZ\r\n" + written},
        {"a long first line", std::string(5000, 'x') + GlzHeaderLine() + "\r\n" + CrLfLines(GlzMinimalBlock())},
        // Files with other bytes than ASCII are converted whole.
        {"Windows-1252 bytes", file({blockWith(kLineNames, "\"Glas \xE9\",\"Maker\"")})},
        {"UTF-16", [&] {
             const auto bytes = Utf16Bytes(written, true);
             return std::string(bytes.begin(), bytes.end());
         }()},
    };
    TestFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.write("case.GLZ", c.text);
        boxes.clear();
        boxes.answer(kAnswerOk);
        const bool wholeOk = read(c.text);
        if (std::string(c.what) == "a section reading on past an end marker") {
            ASSERT_TRUE(wholeOk);
            ASSERT_EQ(count, 2);
            EXPECT_EQ(glasses[0].properties.price.str(), "#-- Material Da");  // cut to its field
        }
        const std::vector<GlassRecord> whole = glasses;
        const std::size_t wholeBoxes = boxes.shown().size();
        for (std::size_t window : {std::size_t{64}, std::size_t{333}, std::size_t{4096}, std::size_t{1} << 22}) {
            SCOPED_TRACE(window);
            boxes.clear();
            boxes.answer(kAnswerOk);
            CImportNewGLZ windowed(boxes, window);
            EXPECT_EQ(windowed.ImportFile(folder.file("case.GLZ"), glasses, count), wholeOk);
            EXPECT_EQ(count, static_cast<int>(glasses.size()));
            EXPECT_TRUE(glasses == whole);
            EXPECT_EQ(boxes.shown().size(), wholeBoxes);
        }
    }
}

}  // namespace
