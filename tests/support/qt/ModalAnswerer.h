// Answers the modal dialogs a window under test opens, so that no QtTest ever
// waits on one. Each scripted step waits for the next modal dialog, records
// what it showed and answers it; a modal dialog with no step left is closed
// at once and counted in unscripted().
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <deque>
#include <vector>

class ModalAnswerer : public QObject {
public:
    struct Seen {
        QString title;
        QString text;                 // the message or the prompt as set
        QString shown;                // what its labels and text views show
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool isInput = false;
    };

    ModalAnswerer() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    // A message box: press the button.
    ModalAnswerer& press(QMessageBox::StandardButton button) { return add({Step::Press, button, {}}); }
    // A message box: the Escape key.
    ModalAnswerer& escape() { return add({Step::Escape, QMessageBox::NoButton, {}}); }
    // An input box: type text and press OK, or Cancel.
    ModalAnswerer& type(const QString& text) { return add({Step::Type, QMessageBox::NoButton, text}); }
    ModalAnswerer& cancelInput() { return add({Step::CancelInput, QMessageBox::NoButton, {}}); }
    // A file dialog: choose the file and accept, or cancel. With a type, the
    // entry of the dialog's type list that starts with it is picked first,
    // with the keyboard as a user would.
    ModalAnswerer& chooseFile(const QString& path, const QString& type = {}) {
        return add({Step::ChooseFile, QMessageBox::NoButton, path, type});
    }

    const std::vector<Seen>& seen() const { return m_seen; }
    int unscripted() const { return m_unscripted; }
    bool done() const { return m_steps.empty(); }

private:
    struct Step {
        enum Kind { Press, Escape, Type, CancelInput, ChooseFile } kind;
        QMessageBox::StandardButton button;
        QString text;
        QString type = {};
    };

    ModalAnswerer& add(const Step& s) {
        m_steps.push_back(s);
        return *this;
    }

    // The texts its labels and text views show.
    static QString labelText(QWidget* w) {
        QString all;
        for (QLabel* l : w->findChildren<QLabel*>())
            if (!l->isHidden() && !l->text().isEmpty() && l->pixmap().isNull()) all += l->text();
        for (QTextEdit* t : w->findChildren<QTextEdit*>())
            if (!t->isHidden()) all += t->toPlainText();
        return all;
    }

    void poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == m_handled) return;
        m_handled = w;
        if (m_steps.empty()) {
            ++m_unscripted;
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            else w->close();
            return;
        }
        const Step s = m_steps.front();
        m_steps.pop_front();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            m_seen.push_back({box->windowTitle(), box->text(), labelText(box), box->textFormat(), box->standardButtons(),
                              box->icon(), false});
            if (s.kind == Step::Escape) {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(box, &esc);
            } else if (QAbstractButton* b = box->button(s.button)) {
                b->click();
            } else {
                ++m_unscripted;
                box->reject();
            }
        } else if (auto* input = qobject_cast<QInputDialog*>(w)) {
            Seen seen{input->windowTitle(), input->labelText(), labelText(input), Qt::AutoText, {}, QMessageBox::NoIcon, true};
            if (QLabel* l = input->findChild<QLabel*>()) seen.format = l->textFormat();
            m_seen.push_back(seen);
            if (s.kind == Step::Type) {
                input->setTextValue(s.text);
                input->accept();
            } else {
                input->reject();
            }
        } else if (auto* files = qobject_cast<QFileDialog*>(w)) {
            m_seen.push_back({files->windowTitle(), files->nameFilters().join(QStringLiteral(";;")), {}, Qt::AutoText,
                              {}, QMessageBox::NoIcon, false});
            if (s.kind == Step::ChooseFile && !s.type.isEmpty() && !pickType(files, s.type)) {
                ++m_unscripted;
                files->reject();
            } else if (s.kind == Step::ChooseFile) {
                files->selectFile(s.text);
                // Queued: a save dialog's overwrite question is a modal box of
                // its own, answered by a later poll of this timer.
                QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
            } else {
                files->reject();
            }
        } else {
            ++m_unscripted;
            w->close();
        }
    }

    static bool pickType(QFileDialog* files, const QString& type) {
        auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        const int target = types ? types->findText(type, Qt::MatchStartsWith) : -1;
        if (target < 0) return false;
        types->setFocus();
        while (types->currentIndex() != target)
            QTest::keyClick(types, types->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        return true;
    }

    QTimer m_timer;
    QPointer<QWidget> m_handled;
    std::deque<Step> m_steps;
    std::vector<Seen> m_seen;
    int m_unscripted = 0;
};
