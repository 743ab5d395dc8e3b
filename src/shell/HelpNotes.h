// The notes of the main window's help line: which text explains the element
// under the mouse, and the rule that keeps a moving mouse from repainting it.
#pragma once

#include <functional>
#include <string>

// Note indices: -1 the End button, 0 the main window's client area, panels,
// help line and the material list window, 1..7 the ribbon's page buttons.
inline constexpr int kNoteEnd = -1;
inline constexpr int kNoteGeneral = 0;

// The text for index while no work page is open; "" for an index without one.
std::string HelpNoteText(int index);
// The product line shown over everything while a work page is open.
std::string HelpNoteProductLine();

class HelpNotes {
public:
    // currentPage: the page switcher's CurrentPage. helpNote: the main
    // window's HelpNote (text, bold).
    HelpNotes(std::function<int()> currentPage, std::function<void(const std::string&, bool)> helpNote);

    // Shows the note of index unless it is the one shown last.
    void ShowHelpNote(int index);
    int lastShown() const { return m_lastShown; }

private:
    std::function<int()> m_currentPage;
    std::function<void(const std::string&, bool)> m_helpNote;
    int m_lastShown = 0;
};
