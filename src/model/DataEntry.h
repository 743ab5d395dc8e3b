// Checking the numbers the user types. A text that is not a number is cleaned
// of every character that cannot belong to one; when what is left is a number
// it silently replaces the entry, otherwise the user is told.
//
// "A number" is one rule everywhere, for the entry as typed and for the
// cleaned text alike: the full, locale-free match of ParseNumber
// (model/NumberText.h). Cleaning keeps "0"-"9", ".", ",", "+" and "-", so a
// typed exponent letter or a "," left after cleaning makes no number.
#pragma once

#include <string>
#include <string_view>

class IBoxes;

// The text-box side of a window, which the windows implement. Texts are
// Windows-1252 bytes, one per character, as everywhere in the core.
class INumberBox {
public:
    virtual ~INumberBox() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void select(int start, int length) = 0;
};

// Selects the whole text of the box.
void SelectAllText(INumberBox& box);

// True when the box holds a number (left as it is); otherwise CleanNumberBox.
bool ValidateNumberBox(INumberBox& box, bool bShowMsg, IBoxes& boxes);
// True when the cleaned text is a number; it then replaces the box's text.
// Otherwise the box keeps its text, the message is shown when bShowMsg is
// True, and the result is False.
bool CleanNumberBox(INumberBox& box, bool bShowMsg, IBoxes& boxes);

bool IsNumberChar(char ch);

// True when text is a number; never cleans. For a test without a message,
// IsNumberText (model/NumberText.h) is the same rule.
bool IsValidNumber(std::string_view text, bool bShowMsg, IBoxes& boxes);
// As ValidateNumberBox and CleanNumberBox, on a text held by the caller.
bool ValidateNumberString(std::string& text, bool bShowMsg, IBoxes& boxes);
bool CleanNumberString(std::string& text, bool bShowMsg, IBoxes& boxes);
