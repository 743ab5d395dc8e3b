#include "editor/qt/frm3NewWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

#include "editor/qt/ControlBinding.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtText.h"

namespace {

// A table that asks for room for its columns, not for all its rows.
void fitTable(QtGrid& grid, int rows) {
    QTableWidget* t = grid.widget();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setHighlightSections(false);
    t->setMinimumHeight(t->horizontalHeader()->sizeHint().height() + rows * t->verticalHeader()->defaultSectionSize() +
                        2 * t->frameWidth() + 2);
}

}  // namespace

frm3NewWindow::frm3NewWindow(frm3New& form, QWidget* parent)
    : WorkPageWindow(parent), m_form(form), m_placement(this, "frm3New"), m_ssRefInd(this), m_ssTrans(this), m_ssOther(this) {
    setObjectName(QStringLiteral("frm3New"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabProperties"));
    m_tabs->addTab(buildMaterialTab(), QString());
    m_tabs->addTab(buildIndexTab(), QString());
    m_tabs->addTab(buildTransTab(), QString());
    m_tabs->addTab(buildDnDtTab(), QString());
    m_tabs->addTab(buildOtherTab(), QString());
    for (int t = 0; t < kEditorTabCount; ++t) m_tabs->setTabText(t, ToQString(kEditorTabCaptions[t]));
    // Where the client area is short of room the grids give up rows first.
    for (const QtGrid* grid : {&m_ssRefInd, &m_ssTrans, &m_ssOther})
        wantTableSize(grid->widget(), QSize(0, grid->widget()->minimumHeight()));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        m_form.tabProperties_Click(tab);
        controlsChanged();
    });

    // The status panels with the glass code beside them; a narrow page puts
    // the last two panels and the code on a second row, below the first panels.
    auto* status = new QHBoxLayout;
    status->setSpacing(4);
    QLabel* statusLabel = PlainLabel(QStringLiteral("Status:"), this);
    status->addWidget(statusLabel);
    for (int k = 0; k < kEditorTabCount; ++k) {
        auto* panel = PlainLabel(QString(), this);
        panel->setObjectName(QStringLiteral("pnlStatus%1").arg(k));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        panel->setAutoFillBackground(true);
        panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("General: NOT Ready")) + 12);
        status->addWidget(panel);
        m_pnlStatus[static_cast<std::size_t>(k)] = panel;
    }
    status->addStretch(1);
    m_glassCodeCaption = PlainLabel(QStringLiteral("Glass code:"), this);
    status->addWidget(m_glassCodeCaption);
    m_lblGlassCode = PlainLabel(QString(), this);
    m_lblGlassCode->setObjectName(QStringLiteral("lblGlassCode"));
    m_lblGlassCode->setMinimumWidth(m_lblGlassCode->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    status->addWidget(m_lblGlassCode);
    m_statusRows = {status, new QHBoxLayout};
    m_statusRows[1]->setSpacing(4);
    m_statusRows[1]->addSpacing(statusLabel->sizeHint().width() + status->spacing());
    m_statusRows[1]->addStretch(1);

    // The tools along the bottom, Close at the right edge.
    auto* tools = new QHBoxLayout;
    m_comAdd = makeButton(this);
    m_comAdd->setObjectName(QStringLiteral("comAdd"));
    m_comClipPaste = makeButton(this);
    m_comClipPaste->setObjectName(QStringLiteral("comClipPaste"));
    m_comClear = makeButton(this);
    m_comClear->setObjectName(QStringLiteral("comClear"));
    m_comWaveSelRefInd = makeButton(this);
    m_comWaveSelRefInd->setObjectName(QStringLiteral("comWaveSelRefInd"));
    m_comMelt = makeButton(this);
    m_comMelt->setObjectName(QStringLiteral("comMelt"));
    m_comOK = makeButton(this);
    m_comOK->setObjectName(QStringLiteral("comOK"));
    for (QPushButton* b : {m_comAdd, m_comClipPaste, m_comClear, m_comWaveSelRefInd, m_comMelt}) tools->addWidget(b);
    tools->addStretch(1);
    tools->addWidget(m_comOK);
    connect(m_comAdd, &QPushButton::clicked, this, [this] { m_form.comAdd_Click(); controlsChanged(); });
    connect(m_comClipPaste, &QPushButton::clicked, this, [this] { m_form.comClipPaste_Click(); controlsChanged(); });
    connect(m_comClear, &QPushButton::clicked, this, [this] { m_form.comClear_Click(); controlsChanged(); });
    connect(m_comWaveSelRefInd, &QPushButton::clicked, this, [this] { m_form.comWaveSelRefInd_Click(); controlsChanged(); });
    connect(m_comMelt, &QPushButton::clicked, this, [this] { m_form.comMelt_Click(); });
    connect(m_comOK, &QPushButton::clicked, this, [this] { m_form.comOK_Click(); });

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_tabs, 1);
    outer->addLayout(status);
    outer->addLayout(m_statusRows[1]);
    outer->addLayout(tools);

    // Ctrl+V in a point grid pastes the way the Paste button does.
    m_ssRefInd.widget()->installEventFilter(this);
    m_ssTrans.widget()->installEventFilter(this);
    m_form.setView(this);
    controlsChanged();
    adjustSize();
}

frm3NewWindow::~frm3NewWindow() {
    m_ssRefInd.widget()->removeEventFilter(this);
    m_ssTrans.widget()->removeEventFilter(this);
    m_form.setView(nullptr);
}

QPushButton* frm3NewWindow::makeButton(QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setAutoDefault(false);
    return b;
}

QWidget* frm3NewWindow::buildMaterialTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_txtGenGlass = new QLineEdit(page);
    m_txtGenGlass->setObjectName(QStringLiteral("txtGenGlass"));
    m_txtGenSource = new QLineEdit(page);
    m_txtGenSource->setObjectName(QStringLiteral("txtGenSource"));
    for (QLineEdit* box : {m_txtGenGlass, m_txtGenSource}) {
        box->setMaxLength(30);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 22);
        box->installEventFilter(this);
    }
    connect(m_txtGenGlass, &QLineEdit::editingFinished, this, [this] { commitText(m_txtGenGlass, true); });
    connect(m_txtGenSource, &QLineEdit::editingFinished, this, [this] { commitText(m_txtGenSource, false); });
    form->addRow(PlainLabel(QStringLiteral("Name [required]"), page), m_txtGenGlass);
    form->addRow(PlainLabel(QStringLiteral("Source [required]"), page), m_txtGenSource);
    m_lblGlassSource = PlainLabel(QString(), page);
    m_lblGlassSource->setObjectName(QStringLiteral("lblGlassSource"));
    QFont bold = m_lblGlassSource->font();
    bold.setBold(true);
    m_lblGlassSource->setFont(bold);
    m_lblGlassSource->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(), m_lblGlassSource);
    m_lblGenNew = PlainLabel(QString(), page);
    m_lblGenNew->setObjectName(QStringLiteral("lblGenNew"));
    m_lblGenNew->setWordWrap(true);
    form->addRow(QString(), m_lblGenNew);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch(1);
    return page;
}

QWidget* frm3NewWindow::buildIndexTab() {
    auto* page = new QWidget(this);
    m_ssRefInd.widget()->setParent(page);
    m_ssRefInd.widget()->setObjectName(QStringLiteral("ssRefInd"));
    fitTable(m_ssRefInd, 12);

    auto* side = new QVBoxLayout;
    m_cmbIndexDataType = new QComboBox(page);
    m_cmbIndexDataType->setObjectName(QStringLiteral("cmbIndexDataType"));
    m_cmbIndexPolyType = new QComboBox(page);
    m_cmbIndexPolyType->setObjectName(QStringLiteral("cmbIndexPolyType"));
    side->addWidget(PlainLabel(QStringLiteral("Data type:"), page));
    side->addWidget(m_cmbIndexDataType);
    side->addWidget(PlainLabel(QStringLiteral("Polynomial type:"), page));
    side->addWidget(m_cmbIndexPolyType);
    side->addSpacing(8);
    m_comIndexFit = makeButton(page);
    m_comIndexFit->setObjectName(QStringLiteral("comIndexFit"));
    m_comIndexShow = makeButton(page);
    m_comIndexShow->setObjectName(QStringLiteral("comIndexShow"));
    m_comIndexSort = makeButton(page);
    m_comIndexSort->setObjectName(QStringLiteral("comIndexSort"));
    for (QPushButton* b : {m_comIndexFit, m_comIndexShow, m_comIndexSort}) side->addWidget(b);
    m_lblIndexMinDataPoints = PlainLabel(QString(), page);
    m_lblIndexMinDataPoints->setObjectName(QStringLiteral("lblIndexMinDataPoints"));
    side->addWidget(m_lblIndexMinDataPoints);
    side->addStretch(1);
    connect(m_cmbIndexDataType, &QComboBox::activated, this, [this](int i) {
        m_form.cmbIndexDataType_Click(i);
        controlsChanged();
    });
    connect(m_cmbIndexPolyType, &QComboBox::activated, this, [this](int i) {
        m_form.cmbIndexPolyType_Click(i);
        controlsChanged();
    });
    connect(m_comIndexFit, &QPushButton::clicked, this, [this] { m_form.comIndexFit_Click(); controlsChanged(); });
    connect(m_comIndexShow, &QPushButton::clicked, this, [this] { m_form.comIndexShow_Click(); });
    connect(m_comIndexSort, &QPushButton::clicked, this, [this] { m_form.comIndexSort_Click(); controlsChanged(); });

    m_lblError = PlainLabel(QString(), page);
    m_lblError->setObjectName(QStringLiteral("lblError"));
    auto* row = new QHBoxLayout;
    row->addWidget(m_ssRefInd.widget(), 1);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row, 1);
    layout->addWidget(m_lblError);
    return page;
}

QWidget* frm3NewWindow::buildTransTab() {
    auto* page = new QWidget(this);
    m_ssTrans.widget()->setParent(page);
    m_ssTrans.widget()->setObjectName(QStringLiteral("ssTrans"));
    fitTable(m_ssTrans, 12);
    auto* side = new QVBoxLayout;
    m_cmbTransType = new QComboBox(page);
    m_cmbTransType->setObjectName(QStringLiteral("cmbTransType"));
    m_cmbTransDisp = new QComboBox(page);
    m_cmbTransDisp->setObjectName(QStringLiteral("cmbTransDisp"));
    m_txtTransGlassWidth = new QLineEdit(page);
    m_txtTransGlassWidth->setObjectName(QStringLiteral("txtTransGlassWidth"));
    m_comTransSort = makeButton(page);
    m_comTransSort->setObjectName(QStringLiteral("comTransSort"));
    side->addWidget(PlainLabel(QStringLiteral("Specify by:"), page));
    side->addWidget(m_cmbTransType);
    side->addWidget(PlainLabel(QStringLiteral("Display as:"), page));
    side->addWidget(m_cmbTransDisp);
    side->addWidget(PlainLabel(QStringLiteral("Material width:"), page));
    side->addWidget(m_txtTransGlassWidth);
    side->addSpacing(8);
    side->addWidget(m_comTransSort);
    side->addStretch(1);
    m_txtTransGlassWidth->installEventFilter(this);
    connect(m_cmbTransType, &QComboBox::activated, this, [this](int i) {
        m_form.cmbTransType_Click(i);
        controlsChanged();
    });
    connect(m_cmbTransDisp, &QComboBox::activated, this, [this](int i) {
        m_form.cmbTransDisp_Click(i);
        controlsChanged();
    });
    connect(m_txtTransGlassWidth, &QLineEdit::editingFinished, this, [this] {
        m_form.txtTransGlassWidth_Commit(FromQString(m_txtTransGlassWidth->text()));
        ApplyText(m_txtTransGlassWidth, m_form.controls().txtTransGlassWidth, true);
        controlsChanged();
    });
    connect(m_comTransSort, &QPushButton::clicked, this, [this] { m_form.comTransSort_Click(); controlsChanged(); });
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_ssTrans.widget(), 1);
    layout->addLayout(side);
    return page;
}

QWidget* frm3NewWindow::buildDnDtTab() {
    auto* page = new QWidget(this);
    m_lstThermal = new QListWidget(page);
    m_lstThermal->setObjectName(QStringLiteral("lstThermal"));
    m_lstThermal->setFixedSize(m_lstThermal->fontMetrics().horizontalAdvance(QStringLiteral("Schott Sellmeier equation")) + 40,
                               (m_lstThermal->fontMetrics().height() + 4) * 3 + 2 * m_lstThermal->frameWidth() + 4);
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < m_txtTherm.size(); ++i) {
        m_lblTherm[i] = PlainLabel(QString(), page);
        m_lblTherm[i]->setObjectName(QStringLiteral("lblTherm%1").arg(i));
        m_txtTherm[i] = new QLineEdit(page);
        m_txtTherm[i]->setObjectName(QStringLiteral("txtTherm%1").arg(i));
        m_txtTherm[i]->setMaximumWidth(m_txtTherm[i]->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16);
        m_txtTherm[i]->installEventFilter(this);
        grid->addWidget(m_lblTherm[i], static_cast<int>(i), 0, Qt::AlignRight);
        grid->addWidget(m_txtTherm[i], static_cast<int>(i), 1);
        QLineEdit* box = m_txtTherm[i];
        const int index = static_cast<int>(i);
        connect(box, &QLineEdit::editingFinished, this, [this, box, index] {
            m_form.txtTherm_Commit(index, FromQString(box->text()));
            ApplyText(box, m_form.controls().txtTherm[static_cast<std::size_t>(index)], true);
            controlsChanged();
        });
    }
    connect(m_lstThermal, &QListWidget::currentRowChanged, this, [this](int row) {
        m_form.lstThermal_Click(row);
        controlsChanged();
    });
    grid->setColumnStretch(2, 1);
    m_lblDnDtLinear = PlainLabel(QString(), page);
    m_lblDnDtLinear->setObjectName(QStringLiteral("lblDnDtLinear"));
    // The boxes stay where they are when the labels of unused ones, or the
    // note on the simple value, are hidden.
    std::vector<QLabel*> keepRoom(m_lblTherm.begin(), m_lblTherm.end());
    keepRoom.push_back(m_lblDnDtLinear);
    for (QLabel* label : keepRoom) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
    }
    grid->setColumnMinimumWidth(0, page->fontMetrics().horizontalAdvance(QStringLiteral("lambda TK")) + 6);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PlainLabel(QStringLiteral("Change of refractive index with temperature:"), page));
    layout->addWidget(m_lstThermal);
    layout->addLayout(grid);
    layout->addWidget(m_lblDnDtLinear);
    layout->addStretch(1);
    return page;
}

QWidget* frm3NewWindow::buildOtherTab() {
    auto* page = new QWidget(this);
    m_ssOther.widget()->setParent(page);
    m_ssOther.widget()->setObjectName(QStringLiteral("ssOther"));
    fitTable(m_ssOther, 12);
    m_ssOther.widget()->horizontalHeader()->setStretchLastSection(true);  // the notes take the room left
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_ssOther.widget());
    return page;
}

void frm3NewWindow::commitText(QLineEdit* box, bool isName) {
    const std::string typed = FromQString(box->text());
    if (isName) m_form.txtGenGlass_Commit(typed);
    else m_form.txtGenSource_Commit(typed);
    const frm3NewControls& c = m_form.controls();
    ApplyText(m_txtGenGlass, c.txtGenGlass, true);
    ApplyText(m_txtGenSource, c.txtGenSource, true);
    controlsChanged();
}

void frm3NewWindow::controlsChanged() {
    const frm3NewControls& c = m_form.controls();
    setWindowTitle(ToQString(c.caption));
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(c.tab);
    }
    ApplyButton(m_comAdd, c.comAdd);
    ApplyButton(m_comClipPaste, c.comClipPaste);
    ApplyButton(m_comClear, c.comClear);
    ApplyButton(m_comWaveSelRefInd, c.comWaveSelRefInd);
    ApplyButton(m_comMelt, c.comMelt);
    ApplyButton(m_comOK, c.comOK);
    for (std::size_t k = 0; k < m_pnlStatus.size(); ++k) ApplyStatusPanel(m_pnlStatus[k], c.pnlStatus[k]);
    ApplyLabel(m_lblGlassCode, c.lblGlassCode);

    ApplyText(m_txtGenGlass, c.txtGenGlass, false);
    ApplyText(m_txtGenSource, c.txtGenSource, false);
    ApplyLabel(m_lblGlassSource, c.lblGlassSource);
    ApplyLabel(m_lblGenNew, c.lblGenNew);

    ApplyCombo(m_cmbIndexDataType, c.cmbIndexDataType);
    ApplyCombo(m_cmbIndexPolyType, c.cmbIndexPolyType);
    ApplyButton(m_comIndexFit, c.comIndexFit);
    ApplyButton(m_comIndexShow, c.comIndexShow);
    ApplyButton(m_comIndexSort, c.comIndexSort);
    ApplyLabel(m_lblIndexMinDataPoints, c.lblIndexMinDataPoints);
    ApplyLabel(m_lblError, c.lblError);

    ApplyCombo(m_cmbTransType, c.cmbTransType);
    ApplyCombo(m_cmbTransDisp, c.cmbTransDisp);
    ApplyText(m_txtTransGlassWidth, c.txtTransGlassWidth, false);
    ApplyButton(m_comTransSort, c.comTransSort);

    ApplyList(m_lstThermal, c.lstThermal);
    for (std::size_t i = 0; i < m_txtTherm.size(); ++i) {
        ApplyText(m_txtTherm[i], c.txtTherm[i], false);
        ApplyLabel(m_lblTherm[i], c.lblTherm[i]);
    }
    ApplyLabel(m_lblDnDtLinear, c.lblDnDtLinear);
}

void frm3NewWindow::arrangeNarrow(bool narrow) {
    QBoxLayout* from = m_statusRows[narrow ? 0 : 1];
    QBoxLayout* to = m_statusRows[narrow ? 1 : 0];
    QWidget* const moved[] = {m_pnlStatus[3], m_pnlStatus[4], m_glassCodeCaption, m_lblGlassCode};
    for (QWidget* w : moved) from->removeWidget(w);
    // Into the first row after the third panel and at its end; into the
    // second after its indent and at its end.
    const int at = narrow ? 1 : 4;
    to->insertWidget(at, m_pnlStatus[3]);
    to->insertWidget(at + 1, m_pnlStatus[4]);
    to->addWidget(m_glassCodeCaption);
    to->addWidget(m_lblGlassCode);
}

void frm3NewWindow::showWindow(bool bringToFront) {
    showPage(false);
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (bringToFront && frame && frame->mdiArea()) frame->mdiArea()->setActiveSubWindow(frame);
}

bool frm3NewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // A box locked meanwhile (a review opens with the focus in the name) keeps no selection.
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, [box] {
                if (box->isEnabled()) box->selectAll();
            });
    } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
               (watched == m_ssRefInd.widget() || watched == m_ssTrans.widget())) {
        m_form.comClipPaste_Click();
        controlsChanged();
        return true;
    }
    return WorkPageWindow::eventFilter(watched, event);
}
