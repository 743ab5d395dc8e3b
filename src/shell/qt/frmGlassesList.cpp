#include "shell/qt/frmGlassesList.h"

#include <QCursor>
#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/GlassesList.h"
#include "shell/AMain.h"
#include "shell/HelpNotes.h"
#include "shell/MainMDILogic.h"
#include "platform/qt/QtColour.h"
#include "shell/qt/frmMainMDI.h"

namespace {
constexpr int kListWidth = 280;  // pixels: the window's width at load, and its least
}  // namespace

frmGlassesList::frmGlassesList(AMain& app, frmMainMDI& main, QMdiArea* area)
    : QWidget(nullptr), m_app(app), m_main(main), m_area(area), m_grid(this), m_logic(app.store(), app.forms(), m_grid) {
    setObjectName(QStringLiteral("frmGlassesList"));
    setWindowTitle(QStringLiteral("Materials"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);  // 20 twips each side
    layout->addWidget(m_grid.widget());
    m_grid.setWidensToTexts(false);  // the list fits its columns to its own width
    m_grid.widget()->setObjectName(QStringLiteral("ssGlassesList"));
    m_grid.widget()->installEventFilter(this);
    m_grid.widget()->viewport()->installEventFilter(this);
    installEventFilter(this);
    m_logic.setPopup([this](int nGlass, const std::string& szGlass) {
        m_main.PrepForPopup(nGlass, szGlass);
        m_main.showPopup(QCursor::pos());
    });
    m_app.store().SetRefreshCallback([this] { UpdateTable(); });
}

frmGlassesList::~frmGlassesList() {
    m_app.store().SetRefreshCallback(nullptr);
    if (m_frame) {
        m_frame->setWidget(nullptr);
        setParent(nullptr);
    }
}

void frmGlassesList::Display() {
    // On the first run the Setup page is open before the list: it stays in front.
    QMdiSubWindow* page = nullptr;
    for (QMdiSubWindow* w : m_area->subWindowList(QMdiArea::StackingOrder)) {
        if (w != m_frame && w->isVisible()) page = w;  // the last is the topmost
    }
    if (!m_frame) {
        m_frame = m_area->addSubWindow(this, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        m_frame->setAttribute(Qt::WA_DeleteOnClose, false);
        formLoad();
    }
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kHeaderColour));
    setPalette(pal);
    setAutoFillBackground(true);
    m_frame->show();
    if (page) m_area->setActiveSubWindow(page);
}

void frmGlassesList::formLoad() {
    m_frame->setWindowIcon(m_main.windowIcon());
    m_frame->resize(kListWidth, m_frame->height());
    ForceResize();
    m_grid.widget()->horizontalHeader()->setStretchLastSection(true);
    m_logic.Form_Load();
    measureColumns();
    fitColumns();
}

void frmGlassesList::ForceResize() {
    if (!m_frame || m_main.isMinimized()) return;
    m_frame->setGeometry(0, 0, m_frame->width(), m_area->viewport()->height());
    fitColumns();
}

void frmGlassesList::UpdateTable() {
    m_logic.UpdateTable();
    measureColumns();
    fitColumns();
}

void frmGlassesList::measureColumns() {
    m_nameWidth = m_grid.contentsWidth(1);
    m_sourceWidth = m_grid.contentsWidth(2);
}

void frmGlassesList::fitColumns() {
    if (!m_frame || m_nameWidth <= 0) return;
    QTableWidget* table = m_grid.widget();
    // Room beside the columns: the frame, the margins, the table's border and
    // a vertical scroll bar, kept even while there is none so the width holds still.
    const QMargins margins = layout()->contentsMargins();
    const int chrome = (m_frame->width() - m_frame->contentsRect().width()) + margins.left() + margins.right() +
                       2 * table->frameWidth() + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    const int most = std::max(kListWidth, m_area->viewport()->width() / 2);
    const int wanted = std::clamp(chrome + m_nameWidth + m_sourceWidth, kListWidth, most);
    // A width the user chose is only widened; one fitted here follows the contents.
    if (m_frame->width() < wanted || m_frame->width() == m_fittedWidth) m_frame->resize(wanted, m_frame->height());
    m_fittedWidth = m_frame->width();
    // Names first; the source column takes what is left, stretching as the
    // window widens, and keeps its widest text: without the room for it the
    // list scrolls sideways rather than cut it.
    // A name column the user sized keeps its width.
    const int room = m_frame->width() - chrome;
    const bool namesSized = m_grid.userSized(1);
    if (!namesSized) m_grid.setColWidth(1, m_grid.charsFor(m_nameWidth));
    const int names = namesSized ? table->columnWidth(0) : m_nameWidth;
    m_grid.setColWidth(2, m_grid.charsFor(std::max(room - names, m_sourceWidth)));
}

bool frmGlassesList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) m_main.ShowHelpNote(kNoteGeneral);
    return QWidget::eventFilter(watched, event);
}
