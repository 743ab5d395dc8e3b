#include "shell/urls.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/BusyCursor.h"
#include "platform/UrlOpener.h"
#include "shell/CSApplication.h"
#include "support/ScriptedBoxes.h"

namespace {

// Records what was opened and whether the hourglass showed at that moment.
class WatchingOpener : public IUrlOpener {
public:
    explicit WatchingOpener(const RecordingBusyCursor& cursor) : m_cursor(cursor) {}
    bool open(const std::string& url) override {
        opened.push_back(url);
        busyWhileOpening = m_cursor.busy;
        return result;
    }
    std::vector<std::string> opened;
    bool busyWhileOpening = false;
    bool result = true;

private:
    const RecordingBusyCursor& m_cursor;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

}  // namespace

TEST(ContactBoxTest, TheMessageNamesTheProgramItsVersionAndBothSites) {
    const std::vector<std::string> lines = linesOf(ContactBoxText());
    const std::vector<std::string> expected = {
        "Harvenne",
        "Kalvenor for Lumivar & VitrarchQX",
        CSApplication().Version(),
        "",
        std::string("net:  \t") + kMakerWebHost,
        "",
        "Lumivar website [for updates etc]",
        std::string("net:  \t") + kLumivarWebAddress,
        "",
        "Click YES to visit the Harvenne website NOW",
        "",
        "Click NO to visit the Lumivar website NOW",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ContactBoxTest, YesOpensTheMakersSiteNoTheLumivarSiteCancelNothing) {
    struct Case {
        int answer;
        std::optional<std::string> url;
    };
    const Case cases[] = {
        {kAnswerYes, std::string("http://") + kMakerWebHost},
        {kAnswerNo, std::string(kLumivarWebAddress)},
        {kAnswerCancel, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ScriptedBoxes boxes;
        RecordingBusyCursor cursor;
        WatchingOpener browser(cursor);
        boxes.answer(c.answer);
        ShowContactBox(boxes, browser, cursor);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxQuestionYesNoCancel);
        EXPECT_EQ(boxes.last().title, kAppTitle);
        EXPECT_EQ(boxes.last().text, ContactBoxText());
        if (c.url) {
            EXPECT_EQ(browser.opened, std::vector<std::string>{*c.url});
            EXPECT_TRUE(browser.busyWhileOpening);
        } else {
            EXPECT_TRUE(browser.opened.empty());
        }
        EXPECT_FALSE(cursor.busy);
    }
}

TEST(ContactBoxTest, ABrowserThatCannotBeLaunchedIsReported) {
    ScriptedBoxes boxes;
    RecordingBusyCursor cursor;
    WatchingOpener browser(cursor);
    browser.result = false;
    boxes.answer(kAnswerNo).answer(kAnswerOk);
    ShowContactBox(boxes, browser, cursor);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.last().style, kBoxInformation);
    EXPECT_EQ(boxes.last().text, "Sorry: cannot launch your browser at this time.");
    EXPECT_FALSE(cursor.busy);
}
