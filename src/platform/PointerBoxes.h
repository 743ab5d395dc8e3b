// Boxes shown during a long operation: each with the normal pointer over the
// hourglass, which the operation sets again when it goes on.
#pragma once

#include "platform/Boxes.h"
#include "platform/BusyCursor.h"

class PointerBoxes : public IBoxes {
public:
    PointerBoxes(IBoxes& boxes, IBusyCursor* cursor) : m_boxes(boxes), m_cursor(cursor) {}
    int show(int style, const std::string& text, const std::string& title) override {
        if (m_cursor) m_cursor->showDefault();
        return m_boxes.show(style, text, title);
    }
    std::string input(const std::string& prompt, const std::string& title, const std::string& defaultText) override {
        if (m_cursor) m_cursor->showDefault();
        return m_boxes.input(prompt, title, defaultText);
    }

private:
    IBoxes& m_boxes;
    IBusyCursor* m_cursor;
};
