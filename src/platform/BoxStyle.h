// What a message box of a given style value looks like and how it answers.
// The value adds an icon (16 critical, 32 question, 48 exclamation,
// 64 information), a button set (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No)
// and the default button (0, 256, 512: first, second, third).
#pragma once

#include <vector>

#include "platform/Boxes.h"

enum class BoxIcon { None, Critical, Question, Exclamation, Information };

struct BoxLayout {
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons;      // answer codes, left to right
    int defaultAnswer = kAnswerOk; // the button that has the focus
    int escapeAnswer = kAnswerOk;  // Esc or the close box
};

// Button sets other than the four above show OK alone.
BoxLayout BoxLayoutFor(int style);
