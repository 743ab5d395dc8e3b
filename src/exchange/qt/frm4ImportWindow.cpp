#include "exchange/qt/frm4ImportWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"
#include "shell/AMain.h"

frm4ImportWindow::frm4ImportWindow(frm4Import& page, QWidget* parent)
    : WorkPageWindow(parent), m_page(page), m_placement(this, "frm4Import"), m_grid(this), m_cmdImport(this) {
    setObjectName(QStringLiteral("frm4Import"));
    setWindowTitle(ToQString(kImportCaption));

    m_comAddSel = pageButton("comAddSel", kImportAddSelCaption, kImportAddSelTip, [this] { m_page.comAddSel_Click(); });
    m_comAddAll = pageButton("comAddAll", kImportAddAllCaption, kImportAddAllTip, [this] { m_page.comAddAll_Click(); });
    m_comRenameSource = pageButton("comRenameSource", kImportRenameCaption, kImportRenameTip,
                                   [this] { m_page.comRenameSource_Click(); });
    QGroupBox* frame = buttonFrame("fraUpdate", kImportFrameCaption, {m_comAddSel, m_comAddAll, m_comRenameSource});

    setUpMaterialTable(m_grid, "ssGlasses");

    m_lblReFit = new QLabel(this);
    m_lblReFit->setObjectName(QStringLiteral("lblReFit"));
    m_lblReFit->setWordWrap(true);

    // The tool panel: open and review at the left, Close at the right edge.
    m_comImport = pageButton("comImport", kImportOpenCaption, kImportOpenTip, [this] { m_page.comImport_Click(); });
    m_comReview = pageButton("comReview", kImportReviewCaption, kImportReviewTip, [this] { m_page.comReview_Click(); });
    m_comOK = pageButton("comOK", kImportCloseCaption, nullptr, [this] { m_page.comOK_Click(); });
    sameWidths({m_comImport, m_comReview, m_comOK}, false);
    auto* tools = new QHBoxLayout;
    tools->addWidget(m_comImport);
    tools->addWidget(m_comReview);
    tools->addStretch(1);
    tools->addWidget(m_comOK);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);
    outer->addWidget(m_grid.widget(), 1);
    outer->addWidget(m_lblReFit);
    outer->addLayout(tools);

    m_page.setView(this);
    resize(sizeHint().expandedTo(QSize(820, 480)));
}

frm4ImportWindow::~frm4ImportWindow() { m_page.setView(nullptr); }

void frm4ImportWindow::setCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

void frm4ImportWindow::setRefitLabel(const std::string& text) {
    m_lblReFit->setText(ToQString(text));
    m_lblReFit->setVisible(!text.empty());
}

void frm4ImportWindow::setEnabled(bool enabled) { QWidget::setEnabled(enabled); }

void frm4ImportWindow::bringToFront() { raisePage(); }

void frm4ImportWindow::showWindow(bool modal) {
    fitTables({m_grid.widget()});
    showPage(modal);
}

ImportWorkPage::ImportWorkPage(AMain& app, QMdiArea* area, HelpNoteFn helpNote) {
    ImportPageServices services;
    services.boxes = &app.boxes();
    services.settings = &app.settings();
    services.store = &app.store();
    services.cursor = &app.cursor();
    services.editors = &app.editors();
    services.hints = &app.hints();
    services.switchPage = [&app](int page, bool open) { app.forms().SwitchPage(page, open); };
    services.helpNote = std::move(helpNote);
    m_page = std::make_unique<frm4Import>(std::move(services));
    m_window = new frm4ImportWindow(*m_page);
    m_frame = m_window->addToArea(area);
}

ImportWorkPage::~ImportWorkPage() {
    // The frame and the window in it go before the page logic they refer to.
    if (m_frame) delete m_frame.data();
    else delete m_window;
}
