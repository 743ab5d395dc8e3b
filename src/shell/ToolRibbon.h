// The main window's tool ribbon as a group of page buttons: at most one is
// down. A click on a button that is up puts it down and raises the one that
// was down; a click on the button that is down raises it. The button the user
// clicked, and any button whose state the program sets, reports its change
// through the handler; a button raised because another went down reports
// nothing. The window's buttons only show this state.
#pragma once

#include <functional>
#include <vector>

class ToolRibbon {
public:
    // Buttons 1..count, all up and enabled.
    explicit ToolRibbon(int count);

    int count() const { return static_cast<int>(m_down.size()) - 1; }
    bool isDown(int index) const;
    bool isEnabled(int index) const;
    void setEnabled(int index, bool enabled);

    // The user clicked the button; a disabled button ignores it.
    void click(int index);
    // The program puts the button down or raises it; a change is reported.
    void setDown(int index, bool down);

    // (index, down) for every reported change.
    void setHandler(std::function<void(int index, bool down)> handler) { m_handler = std::move(handler); }
    // Told after every change of state, reported or not, so a view can follow.
    void setViewUpdate(std::function<void()> update) { m_view = std::move(update); }

private:
    bool valid(int index) const { return index >= 1 && index <= count(); }
    void putDown(int index);
    void changed();

    std::vector<bool> m_down;     // [0] unused
    std::vector<bool> m_enabled;  // [0] unused
    std::function<void(int, bool)> m_handler;
    std::function<void()> m_view;
};
