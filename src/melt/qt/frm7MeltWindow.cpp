#include "melt/qt/frm7MeltWindow.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/popEditParamWave.h"
#include "editor/qt/ControlBinding.h"
#include "melt/popMeltParent.h"
#include "melt/popMeltSchott.h"
#include "melt/qt/popMeltParentWindow.h"
#include "melt/qt/popMeltSchottWindow.h"
#include "platform/qt/QtText.h"
#include "shell/AMain.h"

namespace {

// comMeltSchott's picture: a melt data sheet in miniature.
QIcon meltSheetIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF sheet(5, 2, 22, 28);
    p.fillRect(sheet.translated(1.5, 1.5), QColor(0, 0, 0, 60));
    p.fillRect(sheet, Qt::white);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(sheet);
    p.fillRect(QRectF(sheet.left() + 0.5, sheet.top() + 0.5, sheet.width() - 0.5, 6), QColor(0x1f, 0x3a, 0x68));
    for (int i = 0; i < 5; ++i) {
        const qreal y = sheet.top() + 10 + i * 4;
        p.fillRect(QRectF(sheet.left() + 3, y, 6, 2), QColor(0x40, 0x40, 0x40));
        p.fillRect(QRectF(sheet.left() + 11, y, 8, 2), QColor(0x9c, 0xb4, 0xd8));
    }
    return QIcon(pixmap);
}

QLabel* sunkenPanel(QWidget* parent, const char* name) {
    QLabel* panel = PlainLabel(QString(), parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    panel->setAlignment(Qt::AlignCenter);
    return panel;
}

}  // namespace

frm7MeltWindow::frm7MeltWindow(frm7Melt& page, QWidget* parent)
    : WorkPageWindow(parent), m_page(page), m_placement(this, "frm7Melt"), m_ssRefInd(this) {
    setObjectName(QStringLiteral("frm7Melt"));

    // The parent and the melt's name.
    m_comParent = makeButton(this, "comParent");
    m_lblMeltName = PlainLabel(QString(), this);
    m_lblMeltName->setObjectName(QStringLiteral("lblMeltName"));
    QFont bold = m_lblMeltName->font();
    bold.setBold(true);
    m_lblMeltName->setFont(bold);
    m_lblMeltName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* top = new QHBoxLayout;
    top->addWidget(m_comParent);
    top->addSpacing(8);
    top->addWidget(m_lblMeltName, 1);

    // The code, the formula and the Index section.
    m_txtMeltCode = new QLineEdit(this);
    m_txtMeltCode->setObjectName(QStringLiteral("txtMeltCode"));
    m_txtMeltCode->setFixedWidth(m_txtMeltCode->fontMetrics().horizontalAdvance(QStringLiteral("Enter melt code!")) + 16);
    m_txtMeltCode->installEventFilter(this);
    connect(m_txtMeltCode, &QLineEdit::editingFinished, this, [this] { commitCode(); });
    auto* lblGen = PlainLabel(QStringLiteral("Melt code [required]"), this);
    lblGen->setObjectName(QStringLiteral("lblGen"));
    lblGen->setBuddy(m_txtMeltCode);
    m_pnlPolyType = sunkenPanel(this, "pnlPolyType");
    m_pnlPolyType->setMinimumWidth(m_pnlPolyType->fontMetrics().horizontalAdvance(QStringLiteral("Sellmeier Plus")) + 16);
    m_lblGlassCode = PlainLabel(QString(), this);
    m_lblGlassCode->setObjectName(QStringLiteral("lblGlassCode"));
    m_lblGlassCode->setMinimumWidth(m_lblGlassCode->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    m_pnlStatus = sunkenPanel(this, "pnlStatus");
    m_pnlStatus->setMinimumWidth(m_pnlStatus->fontMetrics().horizontalAdvance(QStringLiteral("Index: NOT Ready")) + 16);
    auto* state = new QHBoxLayout;
    state->addWidget(lblGen);
    state->addWidget(m_txtMeltCode);
    state->addSpacing(16);
    state->addWidget(PlainLabel(QStringLiteral("Polynomial type:"), this));
    state->addWidget(m_pnlPolyType);
    state->addStretch(1);
    m_glassCodeCaption = PlainLabel(QStringLiteral("Glass code:"), this);
    state->addWidget(m_glassCodeCaption);
    state->addWidget(m_lblGlassCode);
    state->addWidget(m_pnlStatus);
    // A narrow page shows the glass code and the status on a row of their own.
    m_stateRows = {state, new QHBoxLayout};
    m_stateRows[1]->addStretch(1);

    m_pnlMelt = buildMeltPanel();

    m_comAdd = makeButton(this, "comAdd");
    m_comOK = makeButton(this, "comOK");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_comAdd);
    bottom->addStretch(1);
    bottom->addWidget(m_comOK);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(state);
    outer->addLayout(m_stateRows[1]);
    outer->addWidget(m_pnlMelt, 1);
    outer->addLayout(bottom);

    connect(m_comParent, &QPushButton::clicked, this, [this] { m_page.comParent_Click(); });
    connect(m_comAdd, &QPushButton::clicked, this, [this] { m_page.comAdd_Click(); });
    connect(m_comOK, &QPushButton::clicked, this, [this] { m_page.comOK_Click(); });

    m_page.setView(this);
    controlsChanged();
    adjustSize();
}

frm7MeltWindow::~frm7MeltWindow() {
    m_ssRefInd.widget()->removeEventFilter(this);
    m_page.setView(nullptr);
}

QPushButton* frm7MeltWindow::makeButton(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QWidget* frm7MeltWindow::buildMeltPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlMelt"));
    // The window keeps its size while there is no parent to show the pairs of.
    QSizePolicy keep = panel->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(keep);

    QTableWidget* table = m_ssRefInd.widget();
    table->setParent(panel);
    table->setObjectName(QStringLiteral("ssRefInd"));
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
    // Ctrl+V in the grid pastes the way the Paste button does.
    table->installEventFilter(this);

    m_comClipPaste = makeButton(panel, "comClipPaste");
    m_comClear = makeButton(panel, "comClear");
    m_comWaveSelRefInd = makeButton(panel, "comWaveSelRefInd");
    m_comMeltSchott = new QToolButton(panel);
    m_comMeltSchott->setObjectName(QStringLiteral("comMeltSchott"));
    m_comMeltSchott->setIcon(meltSheetIcon());
    m_comMeltSchott->setIconSize(QSize(32, 32));
    m_comMeltSchott->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_comIndexSort = makeButton(panel, "comIndexSort");
    m_comIndexFit = makeButton(panel, "comIndexFit");
    m_comShowDispConsts = makeButton(panel, "comShowDispConsts");
    m_comShowIndex = makeButton(panel, "comShowIndex");

    m_fraWaveBand = new QGroupBox(panel);
    m_fraWaveBand->setObjectName(QStringLiteral("fraWaveBand"));
    m_lstWaveBand = new QListWidget(m_fraWaveBand);
    m_lstWaveBand->setObjectName(QStringLiteral("lstWaveBand"));
    m_lstWaveBand->setToolTip(QStringLiteral("Click list to place waveband data in main table"));
    m_comWaveBand = makeButton(m_fraWaveBand, "comWaveBand");
    // Room for the built-in bands and a few of the user's; the list scrolls beyond.
    m_lstWaveBand->setFixedHeight(m_lstWaveBand->fontMetrics().height() * 7 + 2 * m_lstWaveBand->frameWidth() + 4);
    auto* bandLayout = new QVBoxLayout(m_fraWaveBand);
    bandLayout->addWidget(m_lstWaveBand);
    bandLayout->addWidget(m_comWaveBand, 0, Qt::AlignRight);

    auto* toolColumn = new QWidget(panel);
    toolColumn->setFixedWidth(toolColumn->fontMetrics().horizontalAdvance(QStringLiteral("Make current wavelenghts")) + 24);
    auto* tools = new QVBoxLayout(toolColumn);
    tools->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {m_comClipPaste, m_comClear, m_comWaveSelRefInd}) tools->addWidget(b);
    tools->addWidget(m_comMeltSchott, 0, Qt::AlignHCenter);
    tools->addSpacing(8);
    for (QPushButton* b : {m_comIndexSort, m_comIndexFit, m_comShowDispConsts, m_comShowIndex}) tools->addWidget(b);
    tools->addStretch(1);
    tools->addWidget(m_fraWaveBand);

    m_lblError = PlainLabel(QString(), panel);
    m_lblError->setObjectName(QStringLiteral("lblError"));
    auto* left = new QVBoxLayout;
    left->addWidget(table, 1);
    left->addWidget(m_lblError);

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    layout->addWidget(toolColumn);

    connect(m_comClipPaste, &QPushButton::clicked, this, [this] { m_page.comClipPaste_Click(); });
    connect(m_comClear, &QPushButton::clicked, this, [this] { m_page.comClear_Click(); });
    connect(m_comWaveSelRefInd, &QPushButton::clicked, this, [this] { m_page.comWaveSelRefInd_Click(); });
    connect(m_comMeltSchott, &QToolButton::clicked, this, [this] { m_page.comMeltSchott_Click(); });
    connect(m_comIndexSort, &QPushButton::clicked, this, [this] { m_page.comIndexSort_Click(); });
    connect(m_comIndexFit, &QPushButton::clicked, this, [this] { m_page.comIndexFit_Click(); });
    connect(m_comShowDispConsts, &QPushButton::clicked, this, [this] { m_page.comShowDispConsts_Click(); });
    connect(m_comShowIndex, &QPushButton::clicked, this, [this] { m_page.comShowIndex_Click(); });
    // A click, or Enter on the line chosen with the keys.
    for (auto signal : {&QListWidget::itemClicked, &QListWidget::itemActivated})
        connect(m_lstWaveBand, signal, this,
                [this](QListWidgetItem* item) { m_page.lstWaveBand_Click(m_lstWaveBand->row(item)); });
    connect(m_comWaveBand, &QPushButton::clicked, this, [this] { m_page.comWaveBand_Click(); });
    return panel;
}

void frm7MeltWindow::commitCode() {
    m_page.txtMeltCode_Commit(FromQString(m_txtMeltCode->text()));
    // The box shows the code the record holds, whatever was typed.
    ApplyText(m_txtMeltCode, m_page.controls().txtMeltCode, true);
}

void frm7MeltWindow::controlsChanged() {
    const frm7MeltControls& c = m_page.controls();
    setWindowTitle(ToQString(c.caption));
    ApplyButton(m_comParent, c.comParent);
    ApplyText(m_txtMeltCode, c.txtMeltCode, false);
    ApplyLabel(m_lblMeltName, c.lblMeltName);
    ApplyLabel(m_pnlPolyType, c.pnlPolyType);
    ApplyLabel(m_lblGlassCode, c.lblGlassCode);
    ApplyStatusPanel(m_pnlStatus, c.pnlStatus);
    ApplyLabel(m_lblError, c.lblError);
    const bool panelShownOrHidden = m_pnlMelt->isHidden() == c.pnlMelt.visible;
    if (panelShownOrHidden) m_pnlMelt->setVisible(c.pnlMelt.visible);
    ApplyButton(m_comClipPaste, c.comClipPaste);
    ApplyButton(m_comClear, c.comClear);
    ApplyButton(m_comWaveSelRefInd, c.comWaveSelRefInd);
    ApplyButton(m_comMeltSchott, c.comMeltSchott);
    ApplyButton(m_comIndexSort, c.comIndexSort);
    ApplyButton(m_comIndexFit, c.comIndexFit);
    ApplyButton(m_comShowDispConsts, c.comShowDispConsts);
    ApplyButton(m_comShowIndex, c.comShowIndex);
    m_fraWaveBand->setTitle(ToQString(c.fraWaveBand.text));
    m_fraWaveBand->setEnabled(c.fraWaveBand.enabled);
    m_fraWaveBand->setVisible(c.fraWaveBand.visible);
    ApplyList(m_lstWaveBand, c.lstWaveBand);
    ApplyButton(m_comWaveBand, c.comWaveBand);
    ApplyButton(m_comAdd, c.comAdd);
    ApplyButton(m_comOK, c.comOK);
    if (panelShownOrHidden) fitWindow();  // with the panel's controls as they now show
}

void frm7MeltWindow::arrangeNarrow(bool narrow) {
    QBoxLayout* from = m_stateRows[narrow ? 0 : 1];
    QBoxLayout* to = m_stateRows[narrow ? 1 : 0];
    QWidget* const moved[] = {m_glassCodeCaption, m_lblGlassCode, m_pnlStatus};
    for (QWidget* w : moved) {
        from->removeWidget(w);
        to->addWidget(w);  // both rows end in them, after a stretch
    }
}

void frm7MeltWindow::fitWindow() {
    // Room for every column, the fit's too, and every row: while the area has
    // room, showing the fit's differences never makes the grid scroll.
    QTableWidget* t = m_ssRefInd.widget();
    int width = t->verticalHeader()->sizeHint().width() + 2 * t->frameWidth() + 2;
    for (int c = 1; c <= m_ssRefInd.maxCols(); ++c) width += m_ssRefInd.pixelsFor(m_ssRefInd.colWidth(c));
    wantTableSize(t, QSize(width, t->horizontalHeader()->sizeHint().height() +
                                      m_ssRefInd.maxRows() * t->verticalHeader()->defaultSectionSize() +
                                      2 * t->frameWidth() + 4));
    fitToArea();
}

void frm7MeltWindow::showWindow(bool bringToFront) {
    fitWindow();
    showPage(false);
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (bringToFront && frame && frame->mdiArea()) frame->mdiArea()->setActiveSubWindow(frame);
}

bool frm7MeltWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == m_txtMeltCode) {
        QTimer::singleShot(0, m_txtMeltCode, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::KeyPress && watched == m_ssRefInd.widget() &&
               static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        m_page.comClipPaste_Click();
        return true;
    }
    return WorkPageWindow::eventFilter(watched, event);
}

MeltWorkPage::MeltWorkPage(AMain& app, QMdiArea* area, IClipboard& clipboard, IWavePicker* picker) {
    QWidget* main = area->window();
    MeltParentServices parentServices;
    parentServices.boxes = &app.boxes();
    parentServices.settings = &app.settings();
    parentServices.cursor = &app.cursor();
    m_parentPicker = std::make_unique<popMeltParent>(std::move(parentServices));
    m_parentWindow = std::make_unique<popMeltParentWindow>(*m_parentPicker, main);
    m_sheet = std::make_unique<popMeltSchott>(MeltSchottServices{&app.boxes(), &app.hints(), &app.cursor()});
    m_sheetWindow = std::make_unique<popMeltSchottWindow>(*m_sheet, main);

    MeltMakerServices services;
    services.store = &app.store();
    services.forms = &app.forms();
    services.editors = &app.editors();
    services.boxes = &app.boxes();
    services.cursor = &app.cursor();
    services.clipboard = &clipboard;
    services.hints = &app.hints();
    services.programFolder = [&app] { return app.ProgramFolder(); };
    m_page = std::make_unique<frm7Melt>(std::move(services));
    m_page->setParentPicker([this](GlassRecord& glass) { return m_parentPicker->Display(glass); });
    m_page->setMeltSheet([this](GlassRecord& glass) { return m_sheet->Display(glass); });
    if (picker)
        m_page->setWavelengthPicker([picker](int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab) {
            return picker->Display(nWaves, sWave, sWaves, nTab);
        });
    m_window = new frm7MeltWindow(*m_page);
    m_frame = m_window->addToArea(area);
}

MeltWorkPage::~MeltWorkPage() {
    // The windows go before the page logic they refer to.
    if (m_frame) delete m_frame.data();
    else delete m_window;
    m_sheetWindow.reset();
    m_parentWindow.reset();
}
