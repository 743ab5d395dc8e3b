// Boxes for window tests that run the whole program: answers come from
// queues, every box shown is recorded, and a box nobody queued an answer for
// is recorded as unexpected and answered Cancel (an input box with "").
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Boxes.h"

class QueueBoxes : public IBoxes {
public:
    int show(int, const std::string& text, const std::string&) override {
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
