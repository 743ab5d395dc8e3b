// What the two remove dialogs share: a modal dialog with a label, a check
// list of materials and two buttons, the first doing the work and Cancel.
// Each dialog adds its own controls above the list.
#pragma once

#include <QDialog>

#include "manage/frmGlassesDel.h"
#include "platform/qt/QtCheckList.h"
#include "platform/qt/QtPlacedWindow.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

class CheckListDialog : public QDialog {
    Q_OBJECT
public:
    CheckListDialog(const std::string& name, const char* caption, QWidget* parent);

    QListWidget* listWidget() const { return m_list.widget(); }
    QLabel* label() const { return m_label; }
    QPushButton* actionButton() const { return m_action; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    // Builds the controls; extra goes between the top and the label.
    void build(QLayout* extra, const char* label, const char* action, const char* actionTip);
    // Opens the dialog, widened to show the longest name whole (up to two
    // thirds of the screen).
    void runModal();
    void closeModal();

    QtCheckList m_list;
    QtPlacedWindow m_placement;

private:
    void fitTheWidestItem();

    QLabel* m_label = nullptr;
    QPushButton* m_action = nullptr;
    QPushButton* m_cancel = nullptr;
};
