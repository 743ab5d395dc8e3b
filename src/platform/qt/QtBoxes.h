// The message and input boxes over QMessageBox and QInputDialog. Texts are
// Windows-1252 and always shown as plain text: a name with "<" or "&" shows
// as typed.
#pragma once

#include <QMessageBox>

#include "platform/BoxStyle.h"
#include "platform/Boxes.h"

class QWidget;

class QtBoxes : public IBoxes {
public:
    explicit QtBoxes(QWidget* parent = nullptr) : m_parent(parent) {}

    int show(int style, const std::string& text, const std::string& title = kAppTitle) override;
    std::string input(const std::string& prompt, const std::string& title, const std::string& defaultText) override;

    static QMessageBox::StandardButton ButtonFor(int answer);
    static int AnswerFor(QMessageBox::StandardButton button);

private:
    QWidget* m_parent;
};
