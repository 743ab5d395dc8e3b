#include "platform/FileDialog.h"

#include <gtest/gtest.h>

TEST(FileDialogTest, FiltersParseIntoLabelsAndCaseFreePatterns) {
    const auto entries = ParseFileFilter(
        "Kalvenor (*.GLZ)|*.GLZ|Lumivar old (*.GLA)|*.GLA;*.gl2|Vitrarch (VitrarchQX.EXE)|VitrarchQX.EXE|dangling");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (FileFilterEntry{"Kalvenor (*.GLZ)", {"*.GLZ"}}));
    EXPECT_EQ(entries[1], (FileFilterEntry{"Lumivar old (*.GLA)", {"*.GLA", "*.gl2"}}));
    EXPECT_EQ(entries[2].patterns, std::vector<std::string>{"VitrarchQX.EXE"});
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_EQ(CaseInsensitivePattern("*.GLZ"), "*.[gG][lL][zZ]");
    EXPECT_EQ(CaseInsensitivePattern("a3?_[xy]"), "[aA]3?_[xy]");
}
