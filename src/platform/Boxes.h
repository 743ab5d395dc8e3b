// Message and input boxes, the way every unit tells the user something or
// asks a question. The core reports through this interface only; the window
// layer puts real dialogs behind it and tests script the answers.
#pragma once

#include <string>

// The program's title, the caption of every box unless a caller gives one.
inline constexpr const char* kAppTitle = "KalvenorQX";

// Style values of the platform's message box.
enum BoxStyle : int {
    kBoxPlain = 0,              // OK
    kBoxYesNo = 4,              // Yes, No, no icon
    kBoxCritical = 16,          // OK, critical icon
    kBoxQuestionOkCancel = 33,  // OK, Cancel
    kBoxQuestionYesNoCancel = 35,
    kBoxQuestionYesNo = 36,
    kBoxExclamation = 48,       // OK
    kBoxInformation = 64,       // OK
    kBoxInformationYesNo = 68
};

// Answer codes.
enum BoxAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Texts are Windows-1252 bytes, shown as plain text.
class IBoxes {
public:
    virtual ~IBoxes() = default;
    virtual int show(int style, const std::string& text, const std::string& title = kAppTitle) = 0;
    // Empty text on Cancel.
    virtual std::string input(const std::string& prompt, const std::string& title,
                              const std::string& defaultText) = 0;
};
