#include "manage/qt/CheckListDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/QtText.h"
#include "shell/qt/Artwork.h"

namespace {
constexpr int kListMinWidth = 420;
constexpr int kListMinHeight = 280;

// A click anywhere on an item, its text as well as its box, turns its check
// over, as in a check list box; keys stay as the list has them.
class CheckOnClickDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        if (event->type() != QEvent::MouseButtonRelease)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Qt::ItemFlags flags = index.flags();
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()) ||
            !(flags & Qt::ItemIsUserCheckable) || !(flags & Qt::ItemIsEnabled))
            return false;
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
};

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
    list->setItemDelegate(new CheckOnClickDelegate(list));
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

void CheckListDialog::runModal() {
    fitTheWidestItem();
    exec();
}

void CheckListDialog::fitTheWidestItem() {
    QListWidget* list = m_list.widget();
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const int most = shown ? shown->availableGeometry().width() * 2 / 3 : width();
    const int needed = list->sizeHintForColumn(0) + 2 * (list->frameWidth() + list->spacing()) +
                       list->verticalScrollBar()->sizeHint().width();
    const int grow = std::min(needed - list->width(), most - width());
    if (grow <= 0) return;
    // Wider about the same centre, where the page put it.
    move(x() - grow / 2, y());
    resize(width() + grow, height());
}

void CheckListDialog::closeModal() { done(QDialog::Accepted); }
