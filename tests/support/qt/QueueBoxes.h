// Boxes for a program driven by a QtTest: answers come from queues, every box
// is recorded, and one nobody expected is recorded apart and answered Cancel
// (an input box: empty text), so the test can fail on it without waiting.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Boxes.h"

class QueueBoxes : public IBoxes {
public:
    int show(int style, const std::string& text, const std::string&) override {
        (void)style;
        shown.push_back(text);
        if (answers.empty()) {
            unexpected.push_back(text);
            return kAnswerCancel;
        }
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string input(const std::string& prompt, const std::string&, const std::string&) override {
        shown.push_back(prompt);
        if (inputs.empty()) {
            unexpected.push_back(prompt);
            return {};
        }
        std::string a = inputs.front();
        inputs.pop_front();
        return a;
    }
    std::deque<int> answers;
    std::deque<std::string> inputs;
    std::vector<std::string> shown;
    std::vector<std::string> unexpected;
};
