#include "manage/qt/frmGlassesDelExtWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/qt/QtText.h"

frmGlassesDelExtWindow::frmGlassesDelExtWindow(frmGlassesDelExt& dialog, QWidget* parent)
    : CheckListDialog("frmGlassesDelExt", kGlassesDelExtCaption, parent), m_dialog(dialog) {
    auto* options = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(ToQString(kRemoveTargetCaptions[i]), this);
        b->setObjectName(QStringLiteral("optUpdateProg%1").arg(i));
        options->addWidget(b);
        // Only a change of target refills the list: a click on the target already
        // chosen keeps the user's checks.
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) m_dialog.optUpdateProg_Click(i);
        });
        m_options[static_cast<std::size_t>(i)] = b;
    }
    options->addStretch(1);
    build(options, kRemoveLabelAtOpening, kRemoveButtonCaption, kRemoveButtonTip);
    connect(actionButton(), &QPushButton::clicked, this, [this] { m_dialog.comDelSel_Click(); });
    connect(cancelButton(), &QPushButton::clicked, this, [this] { m_dialog.comCancel_Click(); });
    m_dialog.setView(this);
}

frmGlassesDelExtWindow::~frmGlassesDelExtWindow() { m_dialog.setView(nullptr); }

void frmGlassesDelExtWindow::setLabel(const std::string& text) { label()->setText(ToQString(text)); }

void frmGlassesDelExtWindow::selectOption(int index) {
    if (index < 0 || index > 1) return;
    const QSignalBlocker block(m_options[static_cast<std::size_t>(index)]);
    m_options[static_cast<std::size_t>(index)]->setChecked(true);
}
