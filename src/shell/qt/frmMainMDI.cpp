#include "shell/qt/frmMainMDI.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QEnterEvent>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/GlassesList.h"
#include "shell/AMain.h"
#include "shell/GlassEditors.h"
#include "shell/ManageForms.h"
#include "shell/Bas1Setup.h"
#include "platform/BusyCursor.h"
#include "shell/CSApplication.h"
#include "shell/HELP.h"
#include "shell/urls.h"
#include "shell/frm1Setup.h"
#include "shell/qt/Artwork.h"
#include "shell/qt/IconHighRes.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtPump.h"
#include "platform/qt/QtText.h"
#include "shell/qt/frm1SetupWindow.h"
#include "shell/qt/frmGlassesList.h"

namespace {

const char* const kPageLabels[kWorkPageCount + 1] = {"", "Setup", "Manage", "New", "Import", "Export", "Archive", "Melt"};

// A label shows CR LF as one line break.
QString lineText(const std::string& text1252) {
    QString s = ToQString(text1252);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

void paintBackground(QWidget* w, Colour colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ToQColor(colour));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

}  // namespace

// The Setup page as the page switcher opens and closes it.
class frmMainMDI::SetupPage : public IWorkPage {
public:
    explicit SetupPage(frm1Setup& page) : m_page(page) {}
    void Display(bool bModal) override { m_page.Display(bModal); }
    void ForceUnload() override { m_page.ForceUnload(); }

private:
    frm1Setup& m_page;
};

// The material list as the window that opened an editor.
class frmMainMDI::ListCaller : public ICallerWindow {
public:
    ListCaller(frmGlassesList& list, QMdiArea& area) : m_list(list), m_area(area) {}
    void setEnabled(bool enabled) override { m_list.setEnabled(enabled); }
    void bringToFront() override {
        if (m_list.frame()) m_area.setActiveSubWindow(m_list.frame());
    }

private:
    frmGlassesList& m_list;
    QMdiArea& m_area;
};

void WallpaperArea::setBackColour(const QColor& colour) {
    m_back = colour;
    viewport()->update();
}

void WallpaperArea::setCanvas(const QPixmap& canvas) {
    m_canvas = canvas;
    viewport()->update();
}

void WallpaperArea::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), m_back.isValid() ? m_back : palette().color(QPalette::Window));
    if (!m_canvas.isNull()) p.drawPixmap(0, 0, m_canvas);
}

void WallpaperArea::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    if (m_onResize) m_onResize();
}

frmMainMDI::frmMainMDI(AMain& app, const WorkPageTable& pages)
    : m_app(app),
      m_logic(app.store(), app.boxes(), app.forms(), app.random()),
      m_notes([&app] { return app.forms().CurrentPage(); },
              [this](const std::string& text, bool bold) { HelpNote(text, bold); }),
      m_placement(this, "frmMainMDI") {
    setObjectName(QStringLiteral("frmMainMDI"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    for (int k = 1; k <= kWallpaperCount; ++k) m_wallpapers.push_back(WallpaperPicture(k));
    m_logic.setView(this);
    m_logic.setFirstLoadSource([] { return FirstLoad(); });
    buildWindow();
    buildSetupPage();
    m_list = std::make_unique<frmGlassesList>(app, *this, m_mdi);
    m_listCaller = std::make_unique<ListCaller>(*m_list, *m_mdi);
    m_logic.setEditHandler([this](const GlassRecord& glass) { m_app.editors().DisplayEdit(*m_listCaller, glass); });
    makePages(pages);
}

void frmMainMDI::makePages(const WorkPageTable& pages) {
    const WorkPageContext context{m_app, m_mdi, this, m_clipboard,
                                  [this](const std::string& text, bool bold) { HelpNote(text, bold); }};
    for (const WorkPageEntry& entry : pages)
        if (entry.make) m_pages.emplace_back(entry.page, entry.make(context));
}

MadeWorkPage* frmMainMDI::madePage(int page) const {
    for (const auto& [number, made] : m_pages)
        if (number == page) return made.get();
    return nullptr;
}

frmMainMDI::~frmMainMDI() {
    m_app.hints().UseThisTimer(nullptr);
    m_app.forms().setHost(nullptr);
    for (int p = 1; p <= kWorkPageCount; ++p) m_app.forms().setPage(p, nullptr);
    m_app.editors().setEditor(nullptr);
    m_app.editors().setMeltMaker(nullptr);
    // The pages go last made first: the melt maker before the editor whose picker it shares.
    while (!m_pages.empty()) m_pages.pop_back();
    m_logic.setEditHandler(nullptr);
    m_logic.setView(nullptr);
    m_logic.ribbon().setViewUpdate(nullptr);
    m_list.reset();
    if (m_setupWindow) m_setupWindow->setParent(nullptr);
    delete m_setupWindow;  // before the page logic it refers to
    m_setupWindow = nullptr;
}

void frmMainMDI::buildWindow() {
    resize(1024, 720);
    setMinimumSize(static_cast<int>(std::ceil(kMinMainWidthTwips / kTwipsPerPixel)),
                   static_cast<int>(std::ceil(kMinMainHeightTwips / kTwipsPerPixel)));

    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The header with the ribbon, and the logo at its right end.
    m_header = new QWidget(central);
    m_header->setObjectName(QStringLiteral("pnlHeader"));
    auto* headerRow = new QHBoxLayout(m_header);
    headerRow->setContentsMargins(6, 4, 8, 4);
    m_tools = new QWidget(m_header);
    m_tools->setObjectName(QStringLiteral("pnlTools"));
    auto* toolRow = new QHBoxLayout(m_tools);
    toolRow->setContentsMargins(0, 0, 0, 0);
    toolRow->setSpacing(2);
    auto makeButton = [this](const QString& text, const QIcon& icon) {
        auto* b = new QToolButton(m_tools);
        b->setText(text);
        b->setIcon(icon);
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFixedSize(62, 56);
        b->setAutoRaise(true);
        // The style's disabled caption all but vanishes on the header colour.
        QPalette pal = b->palette();
        for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
            pal.setColor(QPalette::Disabled, role, RibbonDisabledInk());
        b->setPalette(pal);
        return b;
    };
    for (int p = 1; p <= kWorkPageCount; ++p) {
        QToolButton* b = makeButton(QString::fromLatin1(kPageLabels[p]), RibbonIcon(p));
        b->setObjectName(QStringLiteral("ribTools%1").arg(p));
        b->setCheckable(true);
        b->setToolTip(ToQString(RibbonToolTip(p)));
        connect(b, &QToolButton::clicked, this, [this, p] {
            m_logic.ribbon().click(p);
            syncRibbon();
        });
        toolRow->addWidget(b);
        m_ribTools[static_cast<std::size_t>(p)] = b;
        watchHelp(b, p);
    }
    auto* gap = new QFrame(m_tools);
    gap->setFrameShape(QFrame::VLine);
    gap->setFrameShadow(QFrame::Sunken);
    toolRow->addSpacing(6);
    toolRow->addWidget(gap);
    toolRow->addSpacing(6);
    m_ribEnd = makeButton(QStringLiteral("End"), RibbonIcon(0));
    m_ribEnd->setObjectName(QStringLiteral("ribEnd"));
    m_ribEnd->setToolTip(ToQString(RibbonToolTip(0)));
    connect(m_ribEnd, &QToolButton::clicked, this, [this] { close(); });
    toolRow->addWidget(m_ribEnd);
    watchHelp(m_ribEnd, kNoteEnd);
    headerRow->addWidget(m_tools);
    headerRow->addStretch(1);
    m_logo = new QToolButton(m_header);
    m_logo->setObjectName(QStringLiteral("comLogo"));
    const QPixmap logo = LogoPixmap(40);
    m_logo->setIcon(QIcon(logo));
    m_logo->setIconSize(logo.size());
    m_logo->setAutoRaise(true);
    m_logo->setFocusPolicy(Qt::NoFocus);
    connect(m_logo, &QToolButton::clicked, this, [this] { ShowContactBox(m_app.boxes(), *m_urls, m_app.cursor()); });
    headerRow->addWidget(m_logo);
    // The help key opens the help file from every window of the program.
    auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
    helpKey->setContext(Qt::ApplicationShortcut);
    connect(helpKey, &QShortcut::activated, this, [this] { ShowHelpFile(*m_urls, m_app.boxes()); });
    paintBackground(m_header, kHeaderColour);
    paintBackground(m_tools, kHeaderColour);
    outer->addWidget(m_header);
    auto* rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    outer->addWidget(rule);

    m_mdi = new WallpaperArea(central);
    m_mdi->setObjectName(QStringLiteral("mdiClient"));
    m_mdi->setBackColour(ToQColor(kClientColour));
    m_mdi->setResizeHandler([this] {
        if (m_list) m_list->ForceResize();
    });
    outer->addWidget(m_mdi, 1);

    // The status bar: the three installed-program panels one above the
    // other, and the help line beside them with the rest of the width.
    m_statusBar = new QFrame(central);
    m_statusBar->setObjectName(QStringLiteral("pnlStatusBar"));
    static_cast<QFrame*>(m_statusBar)->setFrameShape(QFrame::StyledPanel);
    auto* statusRow = new QHBoxLayout(m_statusBar);
    statusRow->setContentsMargins(4, 3, 4, 3);
    statusRow->setSpacing(4);
    auto* panels = new QVBoxLayout;
    panels->setSpacing(2);
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(m_statusBar);
        panel->setObjectName(QStringLiteral("pnlInstalled%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(150);
        panel->setContentsMargins(2, 2, 2, 2);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panels->addWidget(panel);
        m_installed[static_cast<std::size_t>(i)] = panel;
        watchHelp(panel, kNoteGeneral);
    }
    statusRow->addLayout(panels, 0);
    // The help line scrolls only a text longer than any note, such as a
    // deep folder the installation search reports: it is as high as the
    // longest note needs at its width (fitHelpLine), so the client area and
    // the docked list do not jump as the mouse moves from note to note.
    m_helpArea = new QScrollArea(m_statusBar);
    m_helpArea->setObjectName(QStringLiteral("helpArea"));
    m_helpArea->setFrameShape(QFrame::Panel);
    m_helpArea->setFrameShadow(QFrame::Sunken);
    m_helpArea->setWidgetResizable(true);
    m_helpArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_helpArea->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_help = new QLabel;
    m_help->setObjectName(QStringLiteral("lblHelp"));
    m_help->setTextFormat(Qt::PlainText);
    m_help->setWordWrap(true);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_help->setContentsMargins(2, 1, 2, 1);
    m_helpArea->setWidget(m_help);
    statusRow->addSpacing(2);
    statusRow->addWidget(m_helpArea, 1);
    outer->addWidget(m_statusBar);
    setCentralWidget(central);
    // At its smallest the window still shows the whole ribbon beside the logo.
    setMinimumSize(minimumSize().expandedTo(central->minimumSizeHint()));

    watchHelp(m_header, kNoteGeneral);
    watchHelp(m_tools, kNoteGeneral);
    watchHelp(m_statusBar, kNoteGeneral);
    watchHelp(m_helpArea, kNoteGeneral);
    watchHelp(m_helpArea->viewport(), kNoteGeneral);
    watchHelp(m_help, kNoteGeneral);
    watchHelp(m_mdi->viewport(), kNoteGeneral);

    // The material pop-up menu.
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("mnuPopup"));
    for (int i = 0; i < 3; ++i) {
        QAction* a = m_popup->addAction(ToQString(m_logic.popupCaption(i)));
        connect(a, &QAction::triggered, this, [this, i] { m_logic.PopupClick(i); });
        m_popupActions[static_cast<std::size_t>(i)] = a;
    }

    m_logic.ribbon().setViewUpdate([this] { syncRibbon(); });
    syncRibbon();
}

void frmMainMDI::buildSetupPage() {
    SetupPageServices services;
    services.boxes = &m_app.boxes();
    services.settings = &m_app.settings();
    services.cursor = &m_app.cursor();
    services.feedback.helpNote = [this](const std::string& text, bool bold) { HelpNote(text, bold); };
    services.feedback.pumpEvents = [this] { pumpEvents(); };
    services.showInstalledProgs = [this] { ShowInstalledProgs(); };
    services.switchPage = [this](int page, bool open) { m_app.forms().SwitchPage(page, open); };
    m_setup = std::make_unique<frm1Setup>(std::move(services));
    m_setupWindow = new frm1SetupWindow(*m_setup);
    m_setupWindow->addToArea(m_mdi);
    m_setupPage = std::make_unique<SetupPage>(*m_setup);
    m_app.forms().setPage(kPageSetup, m_setupPage.get());
}

void frmMainMDI::watchHelp(QWidget* widget, int index) {
    // Moving from a child back onto its parent brings the parent no Enter:
    // only its mouse moves tell that the mouse is over it again.
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_helpIndex.emplace_back(widget, index);
}

std::optional<int> frmMainMDI::noteOf(const QObject* widget) const {
    for (const auto& [object, index] : m_helpIndex)
        if (object == widget) return index;
    return std::nullopt;
}

void frmMainMDI::fitHelpLine() {
    // The width the notes wrap to whether or not a scroll bar shows.
    const int width = m_helpArea->width() - 2 * m_helpArea->frameWidth();
    if (width <= 0) return;
    QLabel probe;
    QFont font = m_help->font();
    font.setBold(false);  // as the notes show
    probe.setFont(font);
    probe.setWordWrap(true);
    probe.setContentsMargins(m_help->contentsMargins());
    int tallest = 0;
    std::vector<std::string> notes{HelpNoteProductLine()};
    for (int i = kNoteEnd; i <= kWorkPageCount; ++i) notes.push_back(HelpNoteText(i));
    for (const std::string& note : notes) {
        probe.setText(lineText(note));
        tallest = std::max(tallest, probe.heightForWidth(width));
    }
    int panels = 0;
    for (const QLabel* panel : m_installed) panels += panel->sizeHint().height() + 2;
    const int height = std::max(tallest + 2 * m_helpArea->frameWidth(), panels - 2);
    if (m_helpArea->height() != height) m_helpArea->setFixedHeight(height);
}

bool frmMainMDI::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_helpArea && event->type() == QEvent::Resize) fitHelpLine();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)) {
        // A move the child under the mouse ignores (an enabled ribbon button
        // does) travels on to its parent: the note is always that of the
        // innermost watched widget under the mouse, not of the one told last.
        const QPointF at = event->type() == QEvent::Enter ? static_cast<QEnterEvent*>(event)->position()
                                                          : static_cast<QMouseEvent*>(event)->position();
        QWidget* under = widget->childAt(at.toPoint());
        while (under && under != widget && !noteOf(under)) under = under->parentWidget();
        if (const auto index = noteOf(under ? under : widget)) ShowHelpNote(*index);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMDI::syncRibbon() {
    const ToolRibbon& ribbon = m_logic.ribbon();
    for (int p = 1; p <= kWorkPageCount; ++p) {
        QToolButton* b = m_ribTools[static_cast<std::size_t>(p)];
        const QSignalBlocker block(b);
        b->setChecked(ribbon.isDown(p));
        b->setEnabled(ribbon.isEnabled(p));
    }
}

void frmMainMDI::Display() {
    if (!m_loaded) {
        m_loaded = true;
        formLoad();
        return;
    }
    show();
}

void frmMainMDI::formLoad() {
    SetWindowIcons(this, QStringLiteral("AAA"), true);
    show();
    CSApplication().ThisFormPosnGet(m_placement, true, false);
    m_logic.EnableTools(FirstLoad());
    LoadSetup();
    // A hint that falls due while a page is still being made (its load pumps
    // the window events) waits until the page is shown and drawn.
    m_tmrNewMsg.setHeldWhile([this] { return m_pumpDepth > 0; });
    m_app.hints().UseThisTimer(&m_tmrNewMsg);
    SetHelpFile(CSApplication().Path());
    paintBackground(m_header, kHeaderColour);
    paintBackground(m_tools, kHeaderColour);
    m_mdi->setBackColour(ToQColor(kClientColour));
    setWindowTitle(ToQString(MainWindowCaption(CSApplication().Version())));
}

void frmMainMDI::LoadSetup() {
    if (FirstLoad()) {
        m_logic.ribbon().setDown(kPageSetup, true);  // opens the Setup page
    } else {
        ShowInstalledProgs();
    }
}

void frmMainMDI::LoadList() { m_list->Display(); }

void frmMainMDI::HelpNote(const std::string& szHelp, bool bBold) {
    QFont font = m_help->font();
    font.setBold(bBold);
    m_help->setFont(font);
    m_help->setText(lineText(szHelp));
    m_helpArea->verticalScrollBar()->setValue(0);
    m_help->repaint();
    pumpEvents();
}

void frmMainMDI::pumpEvents() {
    // A close that arrives while the operation pumps is refused (closeEvent).
    ++m_pumpDepth;
    PumpWindowEvents();
    --m_pumpDepth;
}

void frmMainMDI::ShowHelpNote(int index) { m_notes.ShowHelpNote(index); }

void frmMainMDI::ShowInstalledProgs() {
    const bool found[3] = {FoundVQ(), FoundLQP(), FoundLQTol()};
    for (int i = 0; i < 3; ++i) {
        const PanelLook look = InstalledPanelLook(i, found[i]);
        QLabel* panel = m_installed[static_cast<std::size_t>(i)];
        paintBackground(panel, look.back);
        panel->setText(ToQString(look.caption));
    }
}

void frmMainMDI::PrepForPopup(int nGlass, const std::string& szGlass) {
    m_logic.PrepForPopup(nGlass, szGlass);
    for (int i = 0; i < 3; ++i) {
        QAction* a = m_popupActions[static_cast<std::size_t>(i)];
        a->setText(ToQString(m_logic.popupCaption(i)));
        a->setEnabled(m_logic.popupItemEnabled(i));
    }
}

void frmMainMDI::showPopup(const QPoint& globalPos) { m_popup->popup(globalPos); }

void frmMainMDI::UpdateWallPaper() { m_logic.UpdateWallPaper(); }

void frmMainMDI::PaintWallpaper(int picture, Colour nextBackColour) {
    if (picture < 1 || picture > wallpaperCount()) return;
    const QImage& image = m_wallpapers[static_cast<std::size_t>(picture - 1)];
    const QSize area = m_mdi->viewport()->size();
    QPixmap canvas(area.isEmpty() ? QSize(1, 1) : area);
    canvas.fill(m_mdi->backColour());
    {
        QPainter p(&canvas);
        const int x = static_cast<int>(std::nearbyint((area.width() - image.width()) / 2.0));
        const int y = static_cast<int>(std::nearbyint((area.height() - image.height()) / 2.0));
        p.drawImage(x, y, image);
    }
    m_mdi->setCanvas(canvas);
    m_mdi->setBackColour(ToQColor(nextBackColour));
}

void frmMainMDI::restorePointer() { m_app.cursor().showDefault(); }

void frmMainMDI::closeEvent(QCloseEvent* event) {
    // Inside a long operation the program must not end under it.
    if (m_pumpDepth > 0 || SearchRunning()) {
        event->ignore();
        return;
    }
    CSApplication().ThisFormPosnSave(m_placement);
    m_mdi->closeAllSubWindows();
    event->accept();
}
