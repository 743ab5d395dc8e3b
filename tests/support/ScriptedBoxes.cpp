#include "support/ScriptedBoxes.h"

#include <gtest/gtest.h>

ScriptedBoxes& ScriptedBoxes::answer(int code) {
    m_answers.push_back(code);
    return *this;
}

ScriptedBoxes& ScriptedBoxes::answerInput(const std::string& text) {
    m_inputs.push_back(text);
    return *this;
}

int ScriptedBoxes::show(int style, const std::string& text, const std::string& title) {
    m_shown.push_back({style, text, title, false, {}});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted message box (style " << style << "): " << text;
        return kAnswerCancel;
    }
    const int a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::string ScriptedBoxes::input(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    m_shown.push_back({0, prompt, title, true, defaultText});
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unscripted input box: " << prompt;
        return {};
    }
    std::string a = m_inputs.front();
    m_inputs.pop_front();
    return a;
}

const ShownBox& ScriptedBoxes::last() const {
    static const ShownBox none;
    if (m_shown.empty()) {
        ADD_FAILURE() << "no box was shown";
        return none;
    }
    return m_shown.back();
}
