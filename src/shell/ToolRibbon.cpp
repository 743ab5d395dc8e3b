#include "shell/ToolRibbon.h"

ToolRibbon::ToolRibbon(int count)
    : m_down(static_cast<std::size_t>(count < 0 ? 1 : count + 1), false),
      m_enabled(static_cast<std::size_t>(count < 0 ? 1 : count + 1), true) {}

bool ToolRibbon::isDown(int index) const { return valid(index) && m_down[static_cast<std::size_t>(index)]; }

bool ToolRibbon::isEnabled(int index) const { return valid(index) && m_enabled[static_cast<std::size_t>(index)]; }

void ToolRibbon::setEnabled(int index, bool enabled) {
    if (!valid(index) || m_enabled[static_cast<std::size_t>(index)] == enabled) return;
    m_enabled[static_cast<std::size_t>(index)] = enabled;
    changed();
}

void ToolRibbon::click(int index) {
    if (!isEnabled(index)) return;
    setDown(index, !isDown(index));
}

void ToolRibbon::setDown(int index, bool down) {
    if (!valid(index) || isDown(index) == down) return;
    if (down) {
        putDown(index);
    } else {
        m_down[static_cast<std::size_t>(index)] = false;
    }
    changed();
    // The handler may set other buttons in turn; it sees the state as it is now.
    if (m_handler) m_handler(index, down);
}

void ToolRibbon::putDown(int index) {
    // The button that was down goes up without a report of its own.
    for (std::size_t i = 1; i < m_down.size(); ++i) m_down[i] = false;
    m_down[static_cast<std::size_t>(index)] = true;
}

void ToolRibbon::changed() {
    if (m_view) m_view();
}
