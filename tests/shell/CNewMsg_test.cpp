#include "shell/CNewMsg.h"

#include <gtest/gtest.h>

#include "platform/Settings.h"
#include "platform/Timer.h"
#include "support/ScriptedBoxes.h"

namespace {

const std::string kQuestion = "\r\n\r\nDo you want to see this message again?";

class CNewMsgTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MemorySettings settings;
    ManualTimer timer;
    CNewMsg hints{boxes, settings};
};

}  // namespace

TEST_F(CNewMsgTest, ShownUntilTheUserAnswersNo) {
    boxes.answer(kAnswerYes);
    hints.Display("Pick wavelengths", "WaveSelector", false, 0, "Standard wavelengths");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, 4);
    EXPECT_EQ(boxes.last().text, "Pick wavelengths" + kQuestion);
    EXPECT_EQ(boxes.last().title, "Standard wavelengths");
    EXPECT_FALSE(settings.get(kNewMsgSection, "WaveSelector"));

    boxes.answer(kAnswerNo);
    hints.Display("Pick wavelengths", "WaveSelector", false, 0, "Standard wavelengths");
    EXPECT_EQ(settings.get(kNewMsgSection, "WaveSelector"), "-1");

    hints.Display("Pick wavelengths", "WaveSelector", false, 0, "Standard wavelengths");
    EXPECT_EQ(boxes.shown().size(), 2u);
    CNewMsg laterRun(boxes, settings);  // the answer is kept in the settings, not the object
    laterRun.Display("Pick wavelengths", "WaveSelector", false, 0, "Standard wavelengths");
    EXPECT_EQ(boxes.shown().size(), 2u);

    // Removing the value brings the hint back; other keys were never suppressed.
    settings.remove(kNewMsgSection, "WaveSelector");
    boxes.answer(kAnswerYes).answer(kAnswerYes);
    hints.Display("Pick wavelengths", "WaveSelector", false, 0, "Standard wavelengths");
    hints.Display("Melt", "MeltMaker", false, 0, "Melt derivative");
    EXPECT_EQ(boxes.shown().size(), 4u);
}

TEST_F(CNewMsgTest, UnreadableStoredValueShowsNothing) {
    settings.set(kNewMsgSection, "MeltMaker", "maybe");
    hints.Display("Melt", "MeltMaker", false, 0, "Melt derivative");
    settings.set(kNewMsgSection, "MeltMaker", "True");
    hints.Display("Melt", "MeltMaker", false, 0, "Melt derivative");
    EXPECT_TRUE(boxes.shown().empty());
    settings.set(kNewMsgSection, "MeltMaker", "False");
    boxes.answer(kAnswerYes);
    hints.Display("Melt", "MeltMaker", false, 0, "Melt derivative");
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(CNewMsgTest, DelayedHintWaitsForTheTickThenTheTimerRunsAt100ms) {
    hints.UseThisTimer(&timer);
    hints.Display("Melt", "MeltMaker", true, 250, "Melt derivative");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(timer.enabled());
    EXPECT_TRUE(hints.pending());
    EXPECT_EQ(timer.interval(), 250);

    boxes.answer(kAnswerYes);
    timer.fire();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_FALSE(timer.enabled());
    EXPECT_FALSE(hints.pending());
    EXPECT_EQ(timer.interval(), 100);

    // A wait of 0 keeps the present interval.
    hints.Display("Melt", "MeltMaker", true, 0, "Melt derivative");
    EXPECT_EQ(timer.interval(), 100);
    EXPECT_TRUE(timer.enabled());
}

TEST_F(CNewMsgTest, OnlyTheLastOfTwoDelayedHintsIsShown) {
    hints.UseThisTimer(&timer);
    hints.Display("first", "WaveSelector", true, 250, "one");
    hints.Display("second", "popMeltSchott", true, 250, "two");
    boxes.answer(kAnswerNo);
    timer.fire();
    timer.fire();  // disabled after the first tick: nothing more
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text, "second" + kQuestion);
    EXPECT_EQ(settings.get(kNewMsgSection, "popMeltSchott"), "-1");
    EXPECT_FALSE(settings.get(kNewMsgSection, "WaveSelector"));
}

TEST_F(CNewMsgTest, DelayedHintBeforeATimerWasLentIsShownAtOnce) {
    boxes.answer(kAnswerYes);
    hints.Display("Refit", "ImportPolyRefit", true, 250, "Enhanced import");
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(CNewMsgTest, ReturnedTimerNoLongerReachesTheHints) {
    hints.UseThisTimer(&timer);
    hints.Display("Melt", "MeltMaker", true, 250, "Melt derivative");
    hints.UseThisTimer(nullptr);
    EXPECT_FALSE(timer.enabled());
    timer.setEnabled(true);
    timer.fire();
    EXPECT_TRUE(boxes.shown().empty());
}
