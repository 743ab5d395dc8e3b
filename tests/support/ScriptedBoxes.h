// Test double for the boxes: answers come from a script, every box shown is
// recorded, and a box with no scripted answer fails the running test.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Boxes.h"

struct ShownBox {
    int style = 0;
    std::string text;
    std::string title;
    bool isInput = false;
    std::string defaultText;  // input boxes
};

class ScriptedBoxes : public IBoxes {
public:
    // Queue the answer of the next message box (kAnswerOk, kAnswerYes, ...).
    ScriptedBoxes& answer(int code);
    // Queue the text of the next input box ("" = Cancel).
    ScriptedBoxes& answerInput(const std::string& text);

    int show(int style, const std::string& text, const std::string& title = kAppTitle) override;
    std::string input(const std::string& prompt, const std::string& title, const std::string& defaultText) override;

    const std::vector<ShownBox>& shown() const { return m_shown; }
    const ShownBox& last() const;
    std::size_t pendingAnswers() const { return m_answers.size() + m_inputs.size(); }
    void clear() { m_shown.clear(); }

private:
    std::deque<int> m_answers;
    std::deque<std::string> m_inputs;
    std::vector<ShownBox> m_shown;
};
