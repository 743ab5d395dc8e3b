#include "manage/qt/CheckListDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"
#include "shell/qt/Artwork.h"

namespace {
constexpr int kListMinWidth = 420;
constexpr int kListMinHeight = 280;
}  // namespace

CheckListDialog::CheckListDialog(const std::string& name, const char* caption, QWidget* parent)
    : QDialog(parent), m_list(this), m_placement(this, name) {
    setObjectName(QString::fromStdString(name));
    setWindowTitle(ToQString(caption));
    setWindowIcon(ProgramIcon());
    setModal(true);
}

void CheckListDialog::build(QLayout* extra, const char* label, const char* action, const char* actionTip) {
    auto* outer = new QVBoxLayout(this);
    if (extra) outer->addLayout(extra);
    m_label = new QLabel(ToQString(label), this);
    m_label->setObjectName(QString::fromLatin1(extra ? "lblProg" : "lblGlasses"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    outer->addWidget(m_label);
    QListWidget* list = m_list.widget();
    list->setObjectName(QStringLiteral("lstGlasses"));
    list->setMinimumSize(kListMinWidth, kListMinHeight);
    list->setSpacing(1);
    outer->addWidget(list, 1);

    auto* buttons = new QHBoxLayout;
    m_action = new QPushButton(ToQString(action), this);
    m_action->setObjectName(QStringLiteral("comDelSel"));
    if (actionTip) m_action->setToolTip(ToQString(actionTip));
    m_cancel = new QPushButton(ToQString(kRemoveDialogCancelCaption), this);
    m_cancel->setObjectName(QStringLiteral("comCancel"));
    m_action->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(m_action);
    buttons->addWidget(m_cancel);
    outer->addLayout(buttons);
    adjustSize();
}

void CheckListDialog::runModal() { exec(); }

void CheckListDialog::closeModal() { done(QDialog::Accepted); }
