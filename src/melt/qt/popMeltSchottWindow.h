// The Schott melt sheet converter's dialog: the picture of a melt sheet, the
// nine sheet values in two frames with the parent's values beside them, and
// "Show indicies", OK and Cancel. The logic is popMeltSchott.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "melt/popMeltSchott.h"
#include "platform/qt/QtPlacedWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;
class LineNumberBox;

class popMeltSchottWindow : public QDialog, public IMeltSchottView {
    Q_OBJECT
public:
    explicit popMeltSchottWindow(popMeltSchott& page, QWidget* parent = nullptr);
    ~popMeltSchottWindow() override;

    INumberBox& valueBox(int i) override;
    void setCatalogText(int i, const std::string& text) override;
    void setOkEnabled(bool enabled) override;
    void setShowIndexEnabled(bool enabled) override;
    IPlacedWindow& placement() override { return m_placement; }
    void showModal() override;
    void closeWindow() override;

    QLineEdit* valueEdit(int i) const { return m_edits[static_cast<std::size_t>(i - 1)]; }
    QLabel* catalogLabel(int i) const { return m_catalog[static_cast<std::size_t>(i - 1)]; }
    QWidget* picture() const { return m_picture; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* showIndexButton() const { return m_showIndex; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeFrame(const char* caption, const int* values, int count);

    popMeltSchott& m_page;
    QtPlacedWindow m_placement;
    std::array<QLineEdit*, kSheetValues> m_edits{};
    std::array<QLabel*, kSheetValues> m_catalog{};
    std::array<std::unique_ptr<LineNumberBox>, kSheetValues> m_boxes;
    QWidget* m_picture = nullptr;
    QPushButton* m_showIndex = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
