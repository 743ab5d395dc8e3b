#include "melt/qt/popMeltSchottWindow.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "model/DataEntry.h"
#include "platform/qt/QtText.h"
#include "shell/qt/Artwork.h"

// A sheet value's text box as the number-entry routines see it.
class LineNumberBox : public INumberBox {
public:
    explicit LineNumberBox(QLineEdit* edit) : m_edit(edit) {}
    std::string text() const override { return FromQString(m_edit->text()); }
    void setText(const std::string& text) override { m_edit->setText(ToQString(text)); }
    void select(int start, int length) override { m_edit->setSelection(start, length); }

private:
    QLineEdit* m_edit;
};

namespace {

constexpr int kValueBoxWidth = 90;
constexpr int kCatalogLabelWidth = 90;

// pctSchott: a melt data sheet in miniature, its nine values in the order
// the sheet prints them. A click shows the stored values again.
class MeltSheetPicture : public QWidget {
public:
    explicit MeltSheetPicture(popMeltSchott& page, QWidget* parent) : QWidget(parent), m_page(page) {
        setObjectName(QStringLiteral("pctSchott"));
        setFixedSize(170, 250);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF sheet(4, 4, width() - 12, height() - 12);
        p.fillRect(sheet.translated(4, 4), QColor(0, 0, 0, 50));
        p.fillRect(sheet, Qt::white);
        p.setPen(QColor(0x90, 0x90, 0x90));
        p.drawRect(sheet);

        const QRectF band(sheet.left() + 1, sheet.top() + 1, sheet.width() - 1, 26);
        p.fillRect(band, QColor(0x1f, 0x3a, 0x68));
        QFont title = font();
        title.setBold(true);
        title.setPointSizeF(title.pointSizeF() * 0.85);
        p.setFont(title);
        p.setPen(Qt::white);
        p.drawText(band, Qt::AlignCenter, QStringLiteral("Melt data sheet"));

        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.75);
        p.setFont(small);
        const QFontMetricsF fm(small);
        qreal y = band.bottom() + 10;
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawText(QPointF(sheet.left() + 8, y + fm.ascent()), QStringLiteral("Melt no."));
        p.fillRect(QRectF(sheet.left() + 60, y + 3, 80, fm.height() - 5), QColor(0xd8, 0xd8, 0xd8));
        y += fm.height() + 8;
        p.setPen(QColor(0xb0, 0xb0, 0xb0));
        p.drawLine(QPointF(sheet.left() + 6, y), QPointF(sheet.right() - 6, y));
        y += 6;
        const char* printed[kSheetValues] = {"nd", "ne", "nF-nC", "nd-nC", "nF-nd", "nF-ne", "ng-nF", "nF'-nC'", "nF'-ne"};
        for (const char* label : printed) {
            p.setPen(QColor(0x20, 0x20, 0x20));
            p.drawText(QPointF(sheet.left() + 10, y + fm.ascent()), QString::fromLatin1(label));
            p.fillRect(QRectF(sheet.left() + 70, y + 3, 64, fm.height() - 5), QColor(0xc8, 0xd4, 0xe8));
            y += fm.height() + 4;
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_page.pctSchott_Click(); }

private:
    popMeltSchott& m_page;
};

}  // namespace

popMeltSchottWindow::popMeltSchottWindow(popMeltSchott& page, QWidget* parent)
    : QDialog(parent), m_page(page), m_placement(this, "popMeltSchott") {
    setObjectName(QStringLiteral("popMeltSchott"));
    setWindowTitle(ToQString(kMeltSchottCaption));
    setWindowIcon(ProgramIcon());
    setModal(true);

    m_picture = new MeltSheetPicture(page, this);
    auto* frames = new QVBoxLayout;
    frames->addWidget(makeFrame(kSheetFrameDCFg, kSheetFrameDCFgValues.data(), kSheetFrameDCFgValues.size()));
    frames->addWidget(makeFrame(kSheetFrameECpFp, kSheetFrameECpFpValues.data(), kSheetFrameECpFpValues.size()));
    frames->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(m_picture, 0, Qt::AlignTop);
    body->addLayout(frames, 1);

    m_showIndex = new QPushButton(ToQString(kSheetShowIndexCaption), this);
    m_showIndex->setToolTip(ToQString(kSheetShowIndexTip));
    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    // Enter commits a value; it must not also press a button.
    for (QPushButton* b : {m_showIndex, m_ok, m_cancel}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showIndex);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(body);
    outer->addLayout(buttons);

    connect(m_showIndex, &QPushButton::clicked, this, [this] { m_page.comShowIndex_Click(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { m_page.comOK_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_page.comCancel_Click(); });
    m_ok->setEnabled(false);
    m_showIndex->setEnabled(false);
    m_page.setView(this);
    adjustSize();
}

popMeltSchottWindow::~popMeltSchottWindow() { m_page.setView(nullptr); }

QWidget* popMeltSchottWindow::makeFrame(const char* caption, const int* values, int count) {
    auto* frame = new QGroupBox(ToQString(caption), this);
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(3, 1);
    for (int k = 0; k < count; ++k) {
        const int i = values[k];
        const auto at = static_cast<std::size_t>(i - 1);
        auto* label = new QLabel(ToQString(kSheetLabels[at]), frame);  // lblIndex
        auto* edit = new QLineEdit(frame);                              // txtIndex
        edit->setObjectName(QStringLiteral("txtIndex%1").arg(i));
        edit->setFixedWidth(kValueBoxWidth);
        edit->setAlignment(Qt::AlignRight);
        auto* catalog = new QLabel(frame);  // lblIndexCat
        catalog->setObjectName(QStringLiteral("lblIndexCat%1").arg(i));
        catalog->setMinimumWidth(kCatalogLabelWidth);
        catalog->setTextFormat(Qt::PlainText);
        QPalette grey = catalog->palette();
        grey.setColor(QPalette::WindowText, QColor(0x55, 0x55, 0x55));
        catalog->setPalette(grey);
        label->setBuddy(edit);
        // One label width in both frames, so that their boxes line up.
        int widest = 0;
        for (const char* text : kSheetLabels)
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(ToQString(text)));
        label->setMinimumWidth(widest + 6);
        grid->addWidget(label, k, 0);
        grid->addWidget(edit, k, 1);
        grid->addWidget(catalog, k, 2);
        m_edits[at] = edit;
        m_catalog[at] = catalog;
        m_boxes[at] = std::make_unique<LineNumberBox>(edit);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::returnPressed, this, [this, edit, i] {
            m_page.txtIndex_Commit(i);
            edit->setModified(false);
        });
    }
    return frame;
}

bool popMeltSchottWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn, out = event->type() == QEvent::FocusOut;
    if (!in && !out) return QDialog::eventFilter(watched, event);
    for (int i = 1; i <= kSheetValues; ++i) {
        QLineEdit* edit = m_edits[static_cast<std::size_t>(i - 1)];
        if (watched != edit) continue;
        if (in) {
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, this, [this, i] { m_page.txtIndex_GotFocus(i); });
            continue;
        }
        // A box or another window coming over the dialog does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) continue;
        // Leaving a box commits what it shows, so that a sheet entered before
        // counts again; passing through an empty box asks nothing.
        if (!edit->isModified() && edit->text().isEmpty()) continue;
        edit->setModified(false);
        m_page.txtIndex_Commit(i);
    }
    return QDialog::eventFilter(watched, event);
}

INumberBox& popMeltSchottWindow::valueBox(int i) { return *m_boxes[static_cast<std::size_t>(i - 1)]; }

void popMeltSchottWindow::setCatalogText(int i, const std::string& text) {
    m_catalog[static_cast<std::size_t>(i - 1)]->setText(ToQString(text));
}

void popMeltSchottWindow::setOkEnabled(bool enabled) { m_ok->setEnabled(enabled); }

void popMeltSchottWindow::setShowIndexEnabled(bool enabled) { m_showIndex->setEnabled(enabled); }

void popMeltSchottWindow::showModal() { exec(); }

void popMeltSchottWindow::closeWindow() {
    if (isVisible()) done(QDialog::Rejected);
}

void popMeltSchottWindow::done(int result) {
    m_page.Form_Unload();
    QDialog::done(result);
}
