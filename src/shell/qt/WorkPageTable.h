// How the work pages reach the main window: a table from page number to a
// function that makes the page, handed to the window at start-up. The
// window makes the pages in the table's order once its own parts (ribbon,
// help line, Setup page, material list) are built, keeps what each maker
// gives back for as long as it lives, and knows the pages only as the page
// switcher's pages. A maker hands its page to the switcher (and an editor to
// the editors) itself; the window takes them back before it lets the pages go.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class AMain;
class IClipboard;
class QMdiArea;
class QWidget;

// What the main window gives the maker of a page.
struct WorkPageContext {
    AMain& app;
    QMdiArea* area;     // where the page's window opens
    QWidget* window;    // the main window: parent of the page's own dialogs
    IClipboard& clipboard;
    std::function<void(const std::string& text, bool bold)> helpNote;  // the help line, pumping events
};

// A page as its maker made it, with what it needs kept alive.
class MadeWorkPage {
public:
    virtual ~MadeWorkPage() = default;
};

using WorkPageMaker = std::function<std::unique_ptr<MadeWorkPage>(const WorkPageContext&)>;

struct WorkPageEntry {
    int page = 0;  // the ribbon's page number
    WorkPageMaker make;
};

// In the order the pages are made.
using WorkPageTable = std::vector<WorkPageEntry>;
