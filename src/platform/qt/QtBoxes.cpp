#include "platform/qt/QtBoxes.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <memory>

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

// A box's text as plain text, one line break for CR LF.
QString shownText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// The widest word of text, in the font of metrics.
int widestWord(const QString& text, const QFontMetrics& metrics) {
    int widest = 0;
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

// A message box that fits its text. The text shows in a view of its own in
// place of Qt's label: wrapped at the blanks, and inside a word only where
// the word is wider than a line (a long path), so that what the user selects
// and copies is the message itself. Qt sizes the box from its own guesses at
// the text; this one lays the text out as its view does, after Qt has done
// its sizing. The text keeps its lines up to half the screen's width and
// wraps beyond; lines laid out with tabs are tables and wrap only where the
// screen is too narrow for them. A text taller than the screen scrolls
// inside the box, so its buttons stay on the screen.
class FittingBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    // Puts the text view in the label's place; call once the text is set.
    void prepare() {
        QLabel* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        const int at = label && grid ? grid->indexOf(label) : -1;
        if (at < 0) return;
        int row = 0, col = 0, rows = 0, cols = 0;
        grid->getItemPosition(at, &row, &col, &rows, &cols);
        grid->removeWidget(label);
        label->hide();
        m_view = new QTextEdit(this);
        m_view->setObjectName(QStringLiteral("boxText"));
        m_view->setReadOnly(true);
        m_view->setFrameShape(QFrame::NoFrame);
        m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        m_view->setFocusPolicy(Qt::ClickFocus);  // the buttons keep the keys until the user clicks the text
        m_view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_view->document()->setDocumentMargin(0);
        m_view->setFont(label->font());
        QPalette pal = m_view->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));
        m_view->setPalette(pal);
        m_view->setPlainText(shownText(text()));
        grid->addWidget(m_view, row, col, rows, cols);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        fit();
    }
    // Qt sizes the box again on every layout request, to its own limits
    // (a thousand pixels at most): the size fitted to the text stays.
    bool event(QEvent* event) override {
        const bool done = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest && m_fitted.isValid()) {
            setFixedSize(m_fitted);
            QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
        }
        return done;
    }

private:
    void fit() {
        const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
        if (!m_view || !shown) return;
        const QRect room = shown->availableGeometry();
        auto* grid = qobject_cast<QGridLayout*>(layout());
        if (!grid) return;
        const QMargins margins = grid->contentsMargins();
        // Room beside the icon, and above the buttons and below the title bar.
        int beside = margins.left() + margins.right() + std::max(0, grid->horizontalSpacing());
        if (auto* icon = findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")); icon && icon->isVisibleTo(this))
            beside += icon->sizeHint().width();
        int below = margins.top() + margins.bottom() + std::max(0, grid->verticalSpacing());
        if (auto* buttons = findChild<QDialogButtonBox*>(); buttons) below += buttons->sizeHint().height();
        // The window frame, which the desktop adds around the box.
        const int side = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 16;
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight) + side;
        const int widest = std::max(100, room.width() - beside - side);
        const int tallest = std::max(100, room.height() - below - title);

        // The text laid out as the view lays it out: unwrapped, then at the width chosen.
        std::unique_ptr<QTextDocument> layout(m_view->document()->clone());
        layout->setDefaultFont(m_view->font());
        layout->setTextWidth(-1);
        const int natural = static_cast<int>(std::ceil(layout->idealWidth()));
        int width = natural;
        if (natural > room.width() / 2) {
            int keep = room.width() / 2;
            QTextDocument line;
            line.setDocumentMargin(0);
            line.setDefaultFont(m_view->font());
            for (const QString& text : m_view->toPlainText().split(QLatin1Char('\n')))
                if (text.contains(QLatin1Char('\t'))) {
                    line.setPlainText(text);
                    keep = std::max(keep, static_cast<int>(std::ceil(line.idealWidth())));
                }
            // A word that fits on the screen stays whole; a wider one breaks anyway.
            const int word = widestWord(m_view->toPlainText(), QFontMetrics(m_view->font()));
            if (word <= widest) keep = std::max(keep, word);
            width = std::min({natural, keep, widest});
        }
        const auto setViewSize = [&](int textWidth) {
            layout->setTextWidth(textWidth);
            const int height = static_cast<int>(std::ceil(layout->size().height()));
            const bool scrolls = height > tallest;
            m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_view->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            const int bar = scrolls ? m_view->verticalScrollBar()->sizeHint().width() : 0;
            m_view->setFixedSize(textWidth + bar, std::min(height, tallest));
            grid->activate();
        };
        setViewSize(width);
        // What the layout adds beside the text is known once it is laid out.
        const int over = grid->totalMinimumSize().width() - (room.width() - side);
        if (over > 0) setViewSize(std::max(100, width - over));

        QSize box = grid->totalMinimumSize();
        box.setWidth(std::min(std::max(box.width(), minimumWidthForTitle()), room.width()));
        m_fitted = box;
        setFixedSize(box);
        // Centred again on what it belongs to, now that its size is known.
        QRect place(QPoint(0, 0), box);
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        place.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : room.center());
        place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - box.width())));
        place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - box.height() - title)));
        move(place.topLeft());
    }

    int minimumWidthForTitle() const {
        return QFontMetrics(font()).horizontalAdvance(windowTitle()) + 100;
    }

    QTextEdit* m_view = nullptr;
    QSize m_fitted;
};

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
    FittingBox box(m_parent);
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
    box.prepare();
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
