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
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
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

// The width a label needs for text laid out as the label lays it out
// (tab stops, document margins), unwrapped.
int unwrappedWidth(const QLabel& like, const QString& text) {
    QLabel probe;
    probe.setFont(like.font());
    probe.setTextFormat(like.textFormat());
    probe.setTextInteractionFlags(like.textInteractionFlags());
    probe.setText(text);
    return probe.sizeHint().width();
}

// The text with a zero-width space between the characters of every word
// wider than widest, so that such a word (a long path) wraps anywhere
// instead of running off the box.
QString breakableWords(const QString& text, const QFontMetrics& metrics, int widest) {
    QString out, word;
    auto flush = [&] {
        if (metrics.horizontalAdvance(word) > widest) {
            for (QChar c : word) out += c, out += QChar(0x200B);
        } else {
            out += word;
        }
        word.clear();
    };
    for (QChar c : text) {
        if (c.isSpace()) {
            flush();
            out += c;
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

// A message box that fits its text: Qt sizes the box from its own guesses
// at the text (which differ between displays and fonts, and ignore tab
// stops); this one measures the text as its label lays it out, after Qt has
// done its sizing. The text keeps its lines up to half the screen's width
// and wraps beyond; lines laid out with tabs are tables and wrap only where
// the screen is too narrow for them. A text taller than the screen scrolls
// inside the box, so its buttons stay on the screen.
class FittingBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    // Puts the text into a scroll area; call once the text is set.
    void prepare() {
        m_label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        const int at = m_label && grid ? grid->indexOf(m_label) : -1;
        if (at < 0) return;
        int row = 0, col = 0, rows = 0, cols = 0;
        grid->getItemPosition(at, &row, &col, &rows, &cols);
        grid->removeWidget(m_label);
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("boxTextScroll"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setWidget(m_label);
        m_scroll->viewport()->setAutoFillBackground(false);
        m_label->setAutoFillBackground(false);
        grid->addWidget(m_scroll, row, col, rows, cols);
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
        if (!m_scroll || !shown) return;
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

        m_label->setWordWrap(false);
        const QSize natural = m_label->sizeHint();
        int width = natural.width();
        int height = natural.height();
        bool sideways = false;
        if (width > room.width() / 2) {
            int keep = room.width() / 2;
            for (const QString& line : text().split(QLatin1Char('\n')))
                if (line.contains(QLatin1Char('\t'))) keep = std::max(keep, unwrappedWidth(*m_label, line));
            m_label->setWordWrap(true);
            if (m_label->minimumSizeHint().width() > widest)
                m_label->setText(breakableWords(m_label->text(), QFontMetrics(m_label->font()), room.width() / 2));
            keep = std::max(keep, m_label->minimumSizeHint().width());  // the longest word
            width = std::min({natural.width(), keep, widest});
            sideways = keep > widest;
            height = m_label->heightForWidth(width);
        }
        const bool scrolls = height > tallest;
        const int bar = m_scroll->verticalScrollBar()->sizeHint().width();
        m_scroll->setHorizontalScrollBarPolicy(sideways ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        m_scroll->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        if (sideways) height += m_scroll->horizontalScrollBar()->sizeHint().height();
        m_scroll->setFixedSize(width + (scrolls ? bar : 0), std::min(height, tallest));

        grid->activate();
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

    QLabel* m_label = nullptr;
    QScrollArea* m_scroll = nullptr;
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
