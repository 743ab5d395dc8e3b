#include "exchange/qt/frm5ExportWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"
#include "shell/AMain.h"

frm5ExportWindow::frm5ExportWindow(frm5Export& page, QWidget* parent)
    : WorkPageWindow(parent), m_page(page), m_placement(this, "frm5Export"), m_grid(this), m_cmdExport(this) {
    setObjectName(QStringLiteral("frm5Export"));
    setWindowTitle(ToQString(kExportCaption));

    m_comExportSel = pageButton("comExportSel", kExportSelCaption, kExportSelTip, [this] { m_page.comExportSel_Click(); });
    m_comExportAll = pageButton("comExportAll", kExportAllCaption, kExportAllTip, [this] { m_page.comExportAll_Click(); });
    QGroupBox* frame = buttonFrame("fraUpdate", kExportFrameCaption, {m_comExportSel, m_comExportAll});

    setUpMaterialTable(m_grid, "ssGlassesCurr");

    m_comOK = pageButton("comOK", kExportCloseCaption, nullptr, [this] { m_page.comOK_Click(); });
    auto* tools = new QHBoxLayout;
    tools->addStretch(1);
    tools->addWidget(m_comOK);  // kept at the right edge

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);
    outer->addWidget(m_grid.widget(), 1);
    outer->addLayout(tools);

    m_page.setView(this);
    resize(sizeHint().expandedTo(QSize(640, 440)));
}

frm5ExportWindow::~frm5ExportWindow() { m_page.setView(nullptr); }

void frm5ExportWindow::showWindow(bool modal) {
    fitTables({m_grid.widget()});
    showPage(modal);
}

ExportWorkPage::ExportWorkPage(AMain& app, QMdiArea* area) {
    ExportPageServices services;
    services.boxes = &app.boxes();
    services.store = &app.store();
    services.clock = &app.clock();
    services.cursor = &app.cursor();
    services.switchPage = [&app](int page, bool open) { app.forms().SwitchPage(page, open); };
    m_page = std::make_unique<frm5Export>(std::move(services));
    m_window = new frm5ExportWindow(*m_page);
    m_frame = m_window->addToArea(area);
}

ExportWorkPage::~ExportWorkPage() {
    // The frame and the window in it go before the page logic the window refers to.
    if (m_frame) delete m_frame.data();
    else delete m_window;
}
