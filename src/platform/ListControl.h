// The list and combo box operations the core needs of a window, so that the
// helpers that fill them run and are tested without a windowing platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IListControl {
public:
    virtual ~IListControl() = default;
    virtual void clear() = 0;
    // Adds at the end; returns the new item's index (0-based).
    virtual int addItem(const std::string& text) = 0;
    virtual void setItemData(int index, std::int32_t data) = 0;
    virtual std::int32_t itemData(int index) const = 0;
    virtual int count() const = 0;
    virtual void select(int index) = 0;
    // -1 when nothing is selected.
    virtual int currentIndex() const = 0;
};

// A list held in memory, for page logic run without windows.
class MemoryListControl : public IListControl {
public:
    void clear() override {
        m_texts.clear();
        m_data.clear();
        m_current = -1;
    }
    int addItem(const std::string& text) override {
        m_texts.push_back(text);
        m_data.push_back(0);
        return static_cast<int>(m_texts.size()) - 1;
    }
    void setItemData(int index, std::int32_t data) override {
        if (valid(index)) m_data[static_cast<std::size_t>(index)] = data;
    }
    std::int32_t itemData(int index) const override {
        return valid(index) ? m_data[static_cast<std::size_t>(index)] : 0;
    }
    int count() const override { return static_cast<int>(m_texts.size()); }
    void select(int index) override {
        if (valid(index)) m_current = index;
    }
    int currentIndex() const override { return m_current; }

    const std::string& text(int index) const { return m_texts.at(static_cast<std::size_t>(index)); }

private:
    bool valid(int index) const { return index >= 0 && index < count(); }

    std::vector<std::string> m_texts;
    std::vector<std::int32_t> m_data;
    int m_current = -1;
};
