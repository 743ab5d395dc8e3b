#include "shell/qt/frmGlassesList.h"

#include <QCursor>
#include <QEvent>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/GlassesList.h"
#include "shell/AMain.h"
#include "shell/HelpNotes.h"
#include "shell/MainMDILogic.h"
#include "platform/qt/QtColour.h"
#include "shell/qt/frmMainMDI.h"

frmGlassesList::frmGlassesList(AMain& app, frmMainMDI& main, QMdiArea* area)
    : QWidget(nullptr), m_app(app), m_main(main), m_area(area), m_grid(this), m_logic(app.store(), app.forms(), m_grid) {
    setObjectName(QStringLiteral("frmGlassesList"));
    setWindowTitle(QStringLiteral("Materials"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);  // 20 twips each side
    layout->addWidget(m_grid.widget());
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
    m_frame->resize(280, m_frame->height());
    ForceResize();
    m_logic.Form_Load();
    m_grid.widget()->horizontalHeader()->setStretchLastSection(true);
}

void frmGlassesList::ForceResize() {
    if (!m_frame || m_main.isMinimized()) return;
    m_frame->setGeometry(0, 0, m_frame->width(), m_area->viewport()->height());
}

void frmGlassesList::UpdateTable() { m_logic.UpdateTable(); }

bool frmGlassesList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) m_main.ShowHelpNote(kNoteGeneral);
    return QWidget::eventFilter(watched, event);
}
