#include "editor/qt/popEditParamWaveWindow.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"

popEditParamWaveWindow::popEditParamWaveWindow(popEditParamWave& page, QWidget* parent)
    : QDialog(parent), m_page(page), m_placement(this, "popEditParamWave"), m_grids{QtGrid(this), QtGrid(this), QtGrid(this)} {
    setObjectName(QStringLiteral("popEditParamWave"));
    setWindowTitle(ToQString(kWavePickCaption));
    if (parent) setWindowIcon(parent->window()->windowIcon());

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabWaveSel"));
    const char* gridNames[kWavePickTabs] = {"ssWavesFraun", "ssWavesLaser", "ssWavesCustom"};
    for (int t = 0; t < kWavePickTabs; ++t) {
        QtGrid& g = qtGrid(t);
        g.setSelectRows(true);
        QTableWidget* table = g.widget();
        table->setObjectName(QString::fromLatin1(gridNames[t]));
        // The wavelengths are padded with blanks to line up: a fixed pitch keeps them so.
        table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        table->horizontalHeader()->setStretchLastSection(true);
        table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_tabs->addTab(table, ToQString(kWavePickTabCaptions[t]));
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) { m_page.tabWaveSel_Click(tab); });

    // The buddy makes the label read "&&" as one "&".
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblWave"));
    m_label->setBuddy(m_tabs);

    m_multi = new QCheckBox(ToQString(kWavePickMultiCaption), this);
    m_multi->setObjectName(QStringLiteral("chkMultiWaves"));
    m_ok = new QPushButton(ToQString(kWavePickOkCaption), this);
    m_ok->setObjectName(QStringLiteral("comOK"));
    m_cancel = new QPushButton(ToQString(kWavePickCancelCaption), this);
    m_cancel->setObjectName(QStringLiteral("comCancel"));
    // A press on a grid picks; Enter must not press a button for the user.
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_multi, &QCheckBox::toggled, this, [this](bool on) { m_page.chkMultiWaves_Click(on); });
    connect(m_ok, &QPushButton::clicked, this, [this] { m_page.comOK_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_page.comCancel_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_multi);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_label);
    outer->addWidget(m_tabs, 1);
    outer->addLayout(buttons);
    resize(420, 600);  // all the spectral lines without scrolling
}

popEditParamWave::ViewMaker popEditParamWaveWindow::Maker(QWidget* parent) {
    return [parent](popEditParamWave& page) -> std::unique_ptr<IWaveSelectView> {
        return std::make_unique<popEditParamWaveWindow>(page, parent);
    };
}

void popEditParamWaveWindow::showTab(int tab) {
    const QSignalBlocker quiet(m_tabs);
    m_tabs->setCurrentIndex(tab);
}

int popEditParamWaveWindow::shownTab() const { return m_tabs->currentIndex(); }

void popEditParamWaveWindow::setWaveLabel(const std::string& text) { m_label->setText(ToQString(text)); }

void popEditParamWaveWindow::setMultiChecked(bool checked) {
    const QSignalBlocker quiet(m_multi);
    m_multi->setChecked(checked);
}

void popEditParamWaveWindow::setOkEnabled(bool enabled) { m_ok->setEnabled(enabled); }

void popEditParamWaveWindow::showModal() { exec(); }

void popEditParamWaveWindow::closeWindow() { done(QDialog::Accepted); }
