#include "editor/qt/ControlBinding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "platform/qt/QtColour.h"
#include "platform/qt/QtText.h"

namespace {

const char* const kAppliedText = "appliedText";

}  // namespace

void ApplyButton(QAbstractButton* button, const ControlState& state) {
    button->setText(ToQString(state.text));
    button->setToolTip(ToQString(state.toolTip));
    button->setEnabled(state.enabled);
    button->setVisible(state.visible);
}

void ApplyLabel(QLabel* label, const ControlState& state) {
    label->setText(ToQString(state.text));
    label->setEnabled(state.enabled);
    label->setVisible(state.visible);
}

void ApplyText(QLineEdit* box, const ControlState& state, bool force) {
    const QString text = ToQString(state.text);
    if (force || box->property(kAppliedText).toString() != text || !box->property(kAppliedText).isValid()) {
        const QSignalBlocker block(box);
        box->setText(text);
        box->setProperty(kAppliedText, text);
    }
    box->setEnabled(state.enabled);
    box->setVisible(state.visible);
}

void ApplyCombo(QComboBox* box, const ComboState& state) {
    const QSignalBlocker block(box);
    const MemoryListControl& list = state.list;
    bool same = box->count() == list.count();
    for (int i = 0; same && i < list.count(); ++i) same = box->itemText(i) == ToQString(list.text(i));
    if (!same) {
        box->clear();
        for (int i = 0; i < list.count(); ++i) box->addItem(ToQString(list.text(i)), list.itemData(i));
    }
    box->setCurrentIndex(list.currentIndex());
    box->setEnabled(state.enabled);
}

void ApplyList(QListWidget* box, const ComboState& state) {
    const QSignalBlocker block(box);
    const MemoryListControl& list = state.list;
    bool same = box->count() == list.count();
    for (int i = 0; same && i < list.count(); ++i) same = box->item(i)->text() == ToQString(list.text(i));
    if (!same) {
        box->clear();
        for (int i = 0; i < list.count(); ++i) box->addItem(ToQString(list.text(i)));
    }
    box->setCurrentRow(list.currentIndex());
    box->setEnabled(state.enabled);
}

void ApplyStatusPanel(QLabel* panel, const StatusPanelState& state) {
    panel->setText(ToQString(state.text));
    QPalette pal = panel->palette();
    const QColor back = ToQColor(state.back, pal);
    QWidget* owner = panel->parentWidget() ? panel->parentWidget() : panel;
    pal.setColor(QPalette::Window, back.isValid() ? back : owner->palette().color(QPalette::Window));
    pal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(pal);
}

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}
