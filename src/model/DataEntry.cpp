#include "model/DataEntry.h"

#include <utility>

#include "platform/NumberText.h"
#include "platform/Boxes.h"

namespace {

std::string numberCharsOf(std::string_view text) {
    std::string cleaned;
    for (char ch : text)
        if (IsNumberChar(ch)) cleaned += ch;
    return cleaned;
}

// The text as it was typed, before cleaning.
std::string invalidNumberMessage(std::string_view typed) {
    return "    '" + std::string(typed) + "'\r\n\r\nThis is not a valid number: try again.";
}

void tellInvalid(std::string_view typed, bool bShowMsg, IBoxes& boxes) {
    if (bShowMsg) boxes.show(kBoxInformation, invalidNumberMessage(typed), "Invalid Number");
}

}  // namespace

void SelectAllText(INumberBox& box) { box.select(0, static_cast<int>(box.text().size())); }

bool ValidateNumberBox(INumberBox& box, bool bShowMsg, IBoxes& boxes) {
    if (IsNumberText(box.text())) return true;
    return CleanNumberBox(box, bShowMsg, boxes);
}

bool CleanNumberBox(INumberBox& box, bool bShowMsg, IBoxes& boxes) {
    std::string text = box.text();
    if (!CleanNumberString(text, bShowMsg, boxes)) return false;
    box.setText(text);
    return true;
}

bool IsNumberChar(char ch) { return (ch >= '0' && ch <= '9') || ch == '.' || ch == ',' || ch == '+' || ch == '-'; }

bool IsValidNumber(std::string_view text, bool bShowMsg, IBoxes& boxes) {
    if (IsNumberText(text)) return true;
    tellInvalid(text, bShowMsg, boxes);
    return false;
}

bool ValidateNumberString(std::string& text, bool bShowMsg, IBoxes& boxes) {
    if (IsNumberText(text)) return true;
    return CleanNumberString(text, bShowMsg, boxes);
}

bool CleanNumberString(std::string& text, bool bShowMsg, IBoxes& boxes) {
    std::string cleaned = numberCharsOf(text);
    if (IsNumberText(cleaned)) {
        text = std::move(cleaned);
        return true;
    }
    tellInvalid(text, bShowMsg, boxes);
    return false;
}
