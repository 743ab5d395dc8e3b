#include "platform/BoxStyle.h"

#include <gtest/gtest.h>

TEST(BoxStyleTest, EveryStyleOfTheProgramHasItsIconButtonsAndEscape) {
    struct Case {
        int style;
        BoxIcon icon;
        std::vector<int> buttons;
        int escape;
    };
    const Case cases[] = {
        {kBoxPlain, BoxIcon::None, {kAnswerOk}, kAnswerOk},
        {kBoxCritical, BoxIcon::Critical, {kAnswerOk}, kAnswerOk},
        {kBoxExclamation, BoxIcon::Exclamation, {kAnswerOk}, kAnswerOk},
        {kBoxInformation, BoxIcon::Information, {kAnswerOk}, kAnswerOk},
        {kBoxQuestionOkCancel, BoxIcon::Question, {kAnswerOk, kAnswerCancel}, kAnswerCancel},
        {kBoxQuestionYesNoCancel, BoxIcon::Question, {kAnswerYes, kAnswerNo, kAnswerCancel}, kAnswerCancel},
        {kBoxQuestionYesNo, BoxIcon::Question, {kAnswerYes, kAnswerNo}, kAnswerNo},
        {kBoxInformationYesNo, BoxIcon::Information, {kAnswerYes, kAnswerNo}, kAnswerNo},
    };
    for (const auto& c : cases) {
        const BoxLayout l = BoxLayoutFor(c.style);
        EXPECT_EQ(l.icon, c.icon) << c.style;
        EXPECT_EQ(l.buttons, c.buttons) << c.style;
        EXPECT_EQ(l.defaultAnswer, c.buttons.front()) << c.style;
        EXPECT_EQ(l.escapeAnswer, c.escape) << c.style;
    }
}

TEST(BoxStyleTest, DefaultButtonBitsPickTheButtonAndStayWithinTheSet) {
    EXPECT_EQ(BoxLayoutFor(kBoxQuestionYesNo + 256).defaultAnswer, kAnswerNo);
    EXPECT_EQ(BoxLayoutFor(kBoxQuestionYesNoCancel + 512).defaultAnswer, kAnswerCancel);
    EXPECT_EQ(BoxLayoutFor(kBoxInformation + 512).defaultAnswer, kAnswerOk);
    // A button set the program never uses falls back to OK alone.
    EXPECT_EQ(BoxLayoutFor(48 + 2).buttons, std::vector<int>{kAnswerOk});
}
