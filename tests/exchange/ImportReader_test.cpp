#include "exchange/ImportReader.h"

#include <gtest/gtest.h>

#include <string>

#include "exchange/CImportNewGLZ.h"
#include "exchange/CImportOldLQ.h"
#include "exchange/CImportOldVQ.h"
#include "exchange/CImportOsloGLC.h"
#include "exchange/CImportZemaxAGF.h"
#include "exchange/GlzSamples.h"
#include "exchange/ImportSamples.h"
#include "support/ScriptedBoxes.h"

namespace {

TEST(ImportReaderTest, OneReaderPerImportType) {
    ScriptedBoxes boxes;
    EXPECT_NE(dynamic_cast<CImportNewGLZ*>(MakeMaterialReader(kImportGLZ, boxes).get()), nullptr);
    EXPECT_NE(dynamic_cast<CImportOldLQ*>(MakeMaterialReader(kImportGLA, boxes).get()), nullptr);
    EXPECT_NE(dynamic_cast<CImportOldVQ*>(MakeMaterialReader(kImportGLS, boxes).get()), nullptr);
    EXPECT_NE(dynamic_cast<CImportOsloGLC*>(MakeMaterialReader(kImportGLC, boxes).get()), nullptr);
    EXPECT_NE(dynamic_cast<CImportZemaxAGF*>(MakeMaterialReader(kImportAGF, boxes).get()), nullptr);
    for (int type : {0, 6, -1}) EXPECT_EQ(MakeMaterialReader(type, boxes), nullptr) << type;
}

TEST(ImportReaderTest, TheGlzReaderAnswersLikeTheOthers) {
    ScriptedBoxes boxes;
    auto reader = MakeMaterialReader(kImportGLZ, boxes);
    ImportedMaterials result;
    result.refitCount = 3;
    result.skipped.push_back({"old", 1, "old"});
    const std::string text = CrLfLines({GlzHeaderLine()}) + CrLfLines(GlzMinimalBlock()) + "EOF\r\n";
    ASSERT_TRUE(ReadText(*reader, text, result));
    EXPECT_EQ(result.count(), 1);
    EXPECT_EQ(result.fitErrors, std::vector<float>{0.0f});
    EXPECT_EQ(result.refitCount, 0);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_FALSE(ReadText(*reader, text.substr(0, text.size() - 40), result));
    EXPECT_EQ(result.count(), 0);
    EXPECT_TRUE(result.fitErrors.empty());
}

TEST(ImportReaderTest, FileNameOfPath) {
    EXPECT_EQ(FileNameOfPath("/home/u/cat/SCHOTT.AGF"), "SCHOTT.AGF");
    EXPECT_EQ(FileNameOfPath("C:\\cat\\ohara.agf"), "ohara.agf");
    EXPECT_EQ(FileNameOfPath("plain.agf"), "plain.agf");
    EXPECT_EQ(FileNameOfPath("/folder/"), "");
}

}  // namespace
