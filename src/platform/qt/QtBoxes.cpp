#include "platform/qt/QtBoxes.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextOption>
#include <algorithm>

#include "platform/qt/QtText.h"

QMessageBox::StandardButton QtBoxes::ButtonFor(int answer) {
    switch (answer) {
        case kAnswerCancel: return QMessageBox::Cancel;
        case kAnswerYes: return QMessageBox::Yes;
        case kAnswerNo: return QMessageBox::No;
        default: return QMessageBox::Ok;
    }
}

int QtBoxes::AnswerFor(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Cancel: return kAnswerCancel;
        case QMessageBox::Yes: return kAnswerYes;
        case QMessageBox::No: return kAnswerNo;
        default: return kAnswerOk;
    }
}

namespace {

// Lines laid out with tabs are tables: wrapped, a column's text would land
// under the next column. The label lays tabs out at its default stops; lines
// without a tab wrap as usual.
void keepTabbedLinesWhole(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QFontMetrics metrics(label->font());
    const int tabStop = qRound(QTextOption().tabStopDistance());
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        if (line.contains(QLatin1Char('\t')))  // a paragraph may still wrap
            widest = std::max(widest, metrics.boundingRect(QRect(), Qt::TextExpandTabs, line, tabStop).width());
    label->setMinimumWidth(widest + metrics.averageCharWidth());
}

// A text taller than half the screen scrolls inside the box, so its buttons
// stay on the screen. Its lines keep their length up to two thirds of the
// screen's width and wrap beyond.
void keepWithinScreen(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const QScreen* screen = box.screen();
    if (!label || !grid || !screen) return;
    const QRect available = screen->availableGeometry();
    const int room = available.height() / 2;
    const QFontMetrics metrics(label->font());
    const QRect needed = metrics.boundingRect(QRect(0, 0, available.width() * 2 / 3, QWIDGETSIZE_MAX),
                                              Qt::TextWordWrap | Qt::TextExpandTabs, box.text(),
                                              qRound(QTextOption().tabStopDistance()));
    const int at = grid->indexOf(label);
    if (needed.height() <= room || at < 0) return;
    int row = 0, col = 0, rows = 0, cols = 0;
    grid->getItemPosition(at, &row, &col, &rows, &cols);
    grid->removeWidget(label);
    auto* scroll = new QScrollArea(&box);
    scroll->setObjectName(QStringLiteral("boxTextScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    label->setWordWrap(true);
    scroll->setWidget(label);
    scroll->setMinimumWidth(needed.width() + metrics.averageCharWidth() + scroll->verticalScrollBar()->sizeHint().width());
    scroll->setFixedHeight(room);
    grid->addWidget(scroll, row, col, rows, cols);
}

// A box waits for the user: the hourglass of the work that asks goes while it
// is open and comes back when it closes.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() : m_pushed(QGuiApplication::overrideCursor() != nullptr) {
        if (m_pushed) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileAsking() {
        if (m_pushed) QGuiApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool m_pushed;
};

}  // namespace

int QtBoxes::show(int style, const std::string& text, const std::string& title) {
    const BoxLayout layout = BoxLayoutFor(style);
    QMessageBox box(m_parent);
    box.setWindowTitle(ToQString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(text));
    switch (layout.icon) {
        case BoxIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case BoxIcon::Question: box.setIcon(QMessageBox::Question); break;
        case BoxIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case BoxIcon::Information: box.setIcon(QMessageBox::Information); break;
        case BoxIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    }
    QMessageBox::StandardButtons buttons;
    for (int a : layout.buttons) buttons |= ButtonFor(a);
    box.setStandardButtons(buttons);
    if (text.find('\t') != std::string::npos) keepTabbedLinesWhole(box);
    keepWithinScreen(box);
    box.setDefaultButton(ButtonFor(layout.defaultAnswer));
    box.setEscapeButton(ButtonFor(layout.escapeAnswer));
    const ArrowWhileAsking arrow;
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return layout.escapeAnswer;
    return AnswerFor(box.standardButton(clicked));
}

std::string QtBoxes::input(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    QInputDialog dialog(m_parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(ToQString(title));
    dialog.setLabelText(ToQString(prompt));
    dialog.setTextValue(ToQString(defaultText));
    for (QLabel* label : dialog.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    const ArrowWhileAsking arrow;
    if (dialog.exec() != QDialog::Accepted) return {};
    return FromQString(dialog.textValue());
}
