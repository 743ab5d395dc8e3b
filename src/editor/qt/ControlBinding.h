// How the editor windows show the control states their logic keeps: buttons,
// labels, text boxes, lists and combo boxes, and the section status panels.
// The writes raise no signal, so a window never takes its own write for the
// user's action.
#pragma once

#include <QString>

#include "editor/frm3New.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

void ApplyButton(QAbstractButton* button, const ControlState& state);
void ApplyLabel(QLabel* label, const ControlState& state);
// A text the logic has not changed since it was last shown is left as the
// user is typing it, unless force.
void ApplyText(QLineEdit* box, const ControlState& state, bool force);
void ApplyCombo(QComboBox* box, const ComboState& state);
void ApplyList(QListWidget* box, const ComboState& state);
// The panel's text on its back colour, in black.
void ApplyStatusPanel(QLabel* panel, const StatusPanelState& state);
QLabel* PlainLabel(const QString& text, QWidget* parent);
