// A list whose items each carry a check box, as the remove dialogs show their
// materials: the program fills it and checks items, the user checks and
// unchecks them, and the program reads what is checked.
#pragma once

#include <string>
#include <vector>

class ICheckList {
public:
    virtual ~ICheckList() = default;
    virtual void clear() = 0;
    // Adds an unchecked item at the end; returns its index (0-based).
    virtual int addItem(const std::string& text) = 0;
    virtual int count() const = 0;
    virtual std::string text(int index) const = 0;
    virtual bool checked(int index) const = 0;
    virtual void setChecked(int index, bool checked) = 0;
};

// A check list held in memory, for page logic run without windows; the test
// checks items as the user would with setChecked.
class MemoryCheckList : public ICheckList {
public:
    void clear() override { m_items.clear(); }
    int addItem(const std::string& text) override {
        m_items.push_back({text, false});
        return count() - 1;
    }
    int count() const override { return static_cast<int>(m_items.size()); }
    std::string text(int index) const override { return valid(index) ? at(index).text : std::string(); }
    bool checked(int index) const override { return valid(index) && at(index).checked; }
    void setChecked(int index, bool checked) override {
        if (valid(index)) m_items[static_cast<std::size_t>(index)].checked = checked;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& i : m_items) out.push_back(i.text);
        return out;
    }
    std::vector<int> checkedIndexes() const {
        std::vector<int> out;
        for (int i = 0; i < count(); ++i)
            if (checked(i)) out.push_back(i);
        return out;
    }

private:
    struct Item {
        std::string text;
        bool checked = false;
    };
    bool valid(int index) const { return index >= 0 && index < count(); }
    const Item& at(int index) const { return m_items[static_cast<std::size_t>(index)]; }

    std::vector<Item> m_items;
};
