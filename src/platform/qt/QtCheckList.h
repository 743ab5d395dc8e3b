// The check list over a QListWidget whose items carry check boxes. The list
// belongs to its parent window.
#pragma once

#include <QPointer>
#include <QListWidget>

#include "platform/CheckList.h"

class QtCheckList : public ICheckList {
public:
    explicit QtCheckList(QWidget* parent = nullptr);
    ~QtCheckList() override;
    QtCheckList(const QtCheckList&) = delete;
    QtCheckList& operator=(const QtCheckList&) = delete;

    QListWidget* widget() const { return m_list; }

    void clear() override;
    int addItem(const std::string& text) override;
    int count() const override;
    std::string text(int index) const override;
    bool checked(int index) const override;
    void setChecked(int index, bool checked) override;

private:
    QListWidgetItem* item(int index) const;

    QPointer<QListWidget> m_list;
};
