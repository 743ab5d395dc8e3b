// The material list window's logic: the grid that lists the collection, one
// row per material in the collection's order (row r is record r), and the
// right click that offers the main window's pop-up menu while no work page
// is open. The window (qt/frmGlassesList) shows the grid.
#pragma once

#include <functional>
#include <string>

class GlassesList;
class IGrid;
class ManageForms;

inline constexpr unsigned kMeltRowColour = 0x80FFFF;   // light yellow
inline constexpr unsigned kPlainRowColour = 0xFFFFFF;

// Fills the list's grid from the store: name and source of every record in
// order, locked; melt glasses on light yellow.
void FillListTable(const GlassesList& store, IGrid& grid);

class GlassesListLogic {
public:
    // The grid's right click is handled from here on.
    GlassesListLogic(GlassesList& store, ManageForms& forms, IGrid& grid);

    // The main window's PrepForPopup followed by opening its menu.
    void setPopup(std::function<void(int nGlass, const std::string& szGlass)> popup) { m_popup = std::move(popup); }

    // The window's load: the grid's columns, headings and colours, then the rows.
    void Form_Load();
    void UpdateTable();
    // True when the pop-up menu was offered.
    bool RightClick(int col, int row);

private:
    GlassesList& m_store;
    ManageForms& m_forms;
    IGrid& m_grid;
    std::function<void(int, const std::string&)> m_popup;
};
