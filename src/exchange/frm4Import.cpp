#include "exchange/frm4Import.h"

#include <algorithm>

#include "exchange/Bas4Import.h"
#include "exchange/MaterialRows.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "model/Verification.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Grid.h"
#include "platform/PointerBoxes.h"
#include "platform/Settings.h"
#include "platform/Text1252.h"
#include "shell/CNewMsg.h"
#include "shell/CSWindow.h"
#include "shell/ManageForms.h"

namespace {

// Character widths of the six columns; names want the most room.
constexpr double kColWidths[kImportCols] = {20, 14, 18, 17, 14, 18};
// Materials named one by one in a message; the rest are counted.
constexpr std::size_t kNamesListed = 12;
// Progress steps of a long add, each repainting the windows.
constexpr int kAddSteps = 50;

// A file name in a message: the file system's UTF-8 as the boxes' code page.
std::string shownFileName(const std::string& name) { return Text1252FromUtf8(name, BrokenUtf8::KeepByte); }

// Name and source as the add messages list them.
std::string identText(const GlassRecord& g) {
    const auto part = [](std::string text, const char* none) {
        std::replace(text.begin(), text.end(), '\0', ' ');
        text = CellText(text);
        return text.empty() ? std::string(none) : text;
    };
    return part(g.definition.name.str(), "(no name)") + "/" + part(g.definition.source.str(), "(no source)");
}

// The identities an add message lists, joined by ", "; past most the rest
// are counted.
std::string listedIdents(const std::vector<std::string>& idents, std::size_t most) {
    std::string out;
    const std::size_t shown = std::min(idents.size(), most);
    for (std::size_t i = 0; i < shown; ++i) out += (i > 0 ? ", " : "") + idents[i];
    if (idents.size() > shown) out += " and " + std::to_string(idents.size() - shown) + " more";
    return out;
}

// The materials a read met and left out, with where and why.
std::string skippedReport(const std::vector<SkippedMaterial>& skipped, const std::string& fileTitle) {
    std::vector<std::string> lines;
    for (const SkippedMaterial& s : skipped) {
        const std::string name = CellText(s.name);
        lines.push_back((name.empty() ? std::string("(no name)") : name) + ", line " + std::to_string(s.line) + ": " +
                        s.reason);
    }
    const std::string count = skipped.size() == 1 ? "1 material" : std::to_string(skipped.size()) + " materials";
    return count + " in " + fileTitle + " could not be imported:\r\n\r\n" + ListedLines(lines, kNamesListed);
}

}  // namespace

std::string RefitNotice() {
    return std::string("Sept 2004 - enhanced glass import for Oslo & Zemax files. ") + "\r\n" + "\r\n" +
           "These files may contain glasses whose refractive index polynomial" + " " +
           "is not currently supported by Lumivar or Vitrarch." + "\r\n" + "\r\n" +
           "Now, kalvenor will try to refit these to one of the supported " +
           "polynomials.  The average error in the refit is shown in the right most column";
}

std::string RefitLabelText(int refitCount) {
    if (refitCount <= 0) return {};
    if (refitCount == 1)
        return "1 glass has been refited to an index polynomial used in Lumivar.  The average error is in the last "
               "column.";
    return std::to_string(refitCount) +
           " glasses have been refited to index polynomial[s] used in Lumivar.  The average error is in the last "
           "column.";
}

frm4Import::frm4Import(ImportPageServices services)
    : m_services(std::move(services)), m_dialog(*m_services.boxes) {}

void frm4Import::setView(IImportView* view) {
    if (m_view) {
        m_view->ssGlasses().events().clicked = nullptr;
        m_view->ssGlasses().events().doubleClicked = nullptr;
    }
    m_view = view;
    if (!m_view) return;
    GridEvents& events = m_view->ssGlasses().events();
    events.clicked = [this](int col, int row) { ssGlasses_Click(col, row); };
    events.doubleClicked = [this](int col, int row) { ssGlasses_DblClick(col, row); };
}

int frm4Import::Display(bool bModal) {
    if (m_open || !m_view) return m_result;
    if (m_services.cursor) m_services.cursor->showHourglass();
    m_result = 0;
    m_imported.clear();
    m_selectedRow = 0;
    m_open = true;
    // The form's load.
    CSWindow().Center(m_view->placement());
    IGrid& grid = m_view->ssGlasses();
    grid.clearSelection();
    grid.setMaxCols(kImportCols);
    for (int c = 1; c <= kImportCols; ++c) {
        grid.setText(c, 0, kImportHeadings[c - 1]);
        grid.setColWidth(c, kColWidths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, kImportCols), CellType::staticText());
    FillGrid();
    m_view->setCaption(kImportCaption);
    m_dialog.SetDialog(m_view->fileDialog());
    if (m_services.cursor) m_services.cursor->showDefault();
    m_view->showWindow(bModal);
    return m_result;
}

void frm4Import::ForceUnload() {
    if (m_open && m_view) m_view->closeWindow();
}

void frm4Import::comOK_Click() { ForceUnload(); }

void frm4Import::Form_Unload() {
    if (!m_open) return;  // a page already closed ignores a second close
    m_open = false;
    m_imported.clear();
    m_selectedRow = 0;
    if (m_services.switchPage) m_services.switchPage(kPageImport, false);
}

void frm4Import::setEnabled(bool enabled) {
    if (m_view) m_view->setEnabled(enabled);
}

void frm4Import::bringToFront() {
    if (m_view) m_view->bringToFront();
}

void frm4Import::comImport_Click() {
    if (!m_view) return;
    ISettings& settings = *m_services.settings;
    int type = LastImportType(settings);
    std::string folder = ImportFolder(settings, type, m_services.store->ProgramFolder());
    std::string title;
    if (!m_dialog.FileRead(kImportFilter, type, "GLZ", kImportDialogTitle, folder, title)) return;
    m_importType = type;
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    // The name as chosen finds the file; trimmed, it names it to the user.
    readFile(path + title, TrimBlanks(title));
    SaveImportChoice(settings, m_importType, folder);
    if (m_view) m_view->setCaption(std::string(kImportCaption) + ": " + shownFileName(TrimBlanks(title)));
}

void frm4Import::readFile(const std::string& path, const std::string& fileTitle) {
    IBoxes& boxes = *m_services.boxes;
    m_imported.clear();
    m_selectedRow = 0;
    m_view->ssGlasses().clearSelection();
    if (m_services.cursor) m_services.cursor->showHourglass();
    PointerBoxes readerBoxes(boxes, m_services.cursor);  // the GLZ reader's own message
    const auto reader = MakeMaterialReader(m_importType, readerBoxes);
    const bool ok = reader && reader->ImportFile(path, m_imported);
    const std::string errorText = m_imported.errorText;
    if (!ok) m_imported.clear();
    FillGrid();
    if (m_services.cursor) m_services.cursor->showDefault();

    const std::string title = shownFileName(fileTitle);
    if (!ok) {
        std::string message = "Failure in file read " + title + "!";
        if (m_importType == kImportGLA || m_importType == kImportGLS)
            message = "Unable to import any glasses from file " + title + "!";
        else if (m_importType == kImportAGF && !errorText.empty())
            message = errorText;
        boxes.show(kBoxInformation, message);
        return;
    }
    if (m_imported.count() == 0) {
        std::string message = "Unable to import any glasses from file " + title + "!";
        if (!m_imported.skipped.empty()) message += "\r\n\r\n" + skippedReport(m_imported.skipped, title);
        boxes.show(kBoxInformation, message);
    } else if (!m_imported.skipped.empty()) {
        boxes.show(kBoxInformation, skippedReport(m_imported.skipped, title));
    }
    if ((m_importType == kImportGLC || m_importType == kImportAGF) && m_imported.refitCount >= 1 &&
        m_services.hints)
        m_services.hints->Display(RefitNotice(), kRefitHintKey, true, 250, kRefitHintTitle);
}

void frm4Import::FillGrid() {
    if (!m_view) return;
    IGrid& grid = m_view->ssGlasses();
    const int rows = m_imported.count();
    m_view->setRefitLabel(RefitLabelText(m_imported.refitCount));
    std::string block;
    std::string suffix;  // of the last refitted row
    for (int i = 0; i < rows; ++i) {
        const GlassRecord& g = m_imported.glasses[static_cast<std::size_t>(i)];
        double first = 0, second = 0;
        ShownIndexRange(g, true, first, second);
        const float fitError = static_cast<std::size_t>(i) < m_imported.fitErrors.size()
                                   ? m_imported.fitErrors[static_cast<std::size_t>(i)]
                                   : 0.0f;
        std::string refit = "not refitted ";
        if (fitError != 0) {
            if (g.definition.formulaType == kSchott) suffix = "-Schott";
            else if (g.definition.formulaType == kSellmeier) suffix = "-Sellmeier";
            refit = Format(fitError, "0.000000") + suffix;
        }
        block += CellText(g.definition.name.str()) + "\t" + CellText(g.definition.source.str()) + "\t" +
                 WavebandText(g.definition) + "\t" + Format(first, "0.0000") + " - " + Format(second, "0.0000") +
                 "\t" + SetReadyCell(g).text + "\t" + refit + "\r\n";
    }
    grid.setRedraw(false);
    grid.setMaxRows(rows);
    if (rows > 0) {
        grid.setBlockText(GridBlock::range(1, 1, kImportCols, rows), block);
        for (int r = 1; r <= rows; ++r)
            grid.setBackColour(GridBlock::cell(kImportStatusCol, r),
                               SetReadyCell(m_imported.glasses[static_cast<std::size_t>(r - 1)]).backColour);
        grid.setActiveCell(kImportRefitCol, std::clamp(grid.activeRow(), 1, rows));
    }
    grid.setColHidden(kImportRefitCol, m_imported.refitCount == 0);
    grid.setRedraw(true);
}

void frm4Import::ssGlasses_Click(int, int row) {
    if (row > 0 && row <= m_imported.count()) m_selectedRow = row;
}

void frm4Import::ssGlasses_DblClick(int col, int row) {
    if (row <= 0 || row > m_imported.count()) return;
    ssGlasses_Click(col, row);
    comReview_Click();
}

void frm4Import::comReview_Click() {
    if (m_selectedRow < 1 || m_selectedRow > m_imported.count() || !m_services.editors) return;
    m_services.editors->DisplayReview(*this, m_imported.glasses[static_cast<std::size_t>(m_selectedRow - 1)]);
}

void frm4Import::comRenameSource_Click() {
    if (m_imported.count() == 0) return;
    const std::string answer = m_services.boxes->input(kRenamePrompt, kAppTitle, "");
    if (TrimBlanks(answer).empty()) return;
    for (GlassRecord& g : m_imported.glasses) g.definition.source.set(answer);
    FillGrid();
}

void frm4Import::comAddAll_Click() { addRange(1, m_imported.count(), true); }

void frm4Import::comAddSel_Click() {
    const int count = m_imported.count();
    if (count == 0 || !m_view) {
        addRange(1, 0, false);
        return;
    }
    const IGrid& grid = m_view->ssGlasses();
    int first = grid.activeRow(), last = first;
    if (const auto block = grid.selectedBlock()) {
        first = block->first;
        last = block->last;
        if (first == -1) first = 1, last = count;  // whole columns: every row
    }
    if (first < 1 || first > count) return;
    addRange(first, std::clamp(last, first, count), false);
}

void frm4Import::addRange(int first, int last, bool bAll) {
    IBoxes& boxes = *m_services.boxes;
    if (m_imported.count() == 0) {
        if (boxes.show(kBoxQuestionYesNo, kNoImportQuestion) == kAnswerYes) comImport_Click();
        return;
    }
    GlassesList& store = *m_services.store;
    std::vector<std::string> catalogue, custom;
    for (int i = first; i <= last; ++i) {
        const GlassRecord& g = m_imported.glasses[static_cast<std::size_t>(i - 1)];
        const std::string ident = g.definition.name.str() + "/" + g.definition.source.str();
        if (store.IsCatalogOrSuppliedGlass(g)) catalogue.push_back(ident);
        else if (store.IsCustomGlass(g)) custom.push_back(ident);
    }
    if (!catalogue.empty()) {
        boxes.show(bAll ? kBoxExclamation : kBoxPlain,
                   "The following materials are catalog glasses and cannot be overwritten!\r\n\r\n" +
                       listedIdents(catalogue, kNamesListed) + "\r\n\r\nIf you really want to use this data, then rename the 'Source'.");
        return;
    }
    // The question names every material it would overwrite.
    if (!custom.empty() &&
        boxes.show(kBoxQuestionYesNo, "The following materials are already in your collection:\r\n\r\n" +
                                          listedIdents(custom, custom.size()) +
                                          "\r\n\r\nDo you want to overwrite the existing data?") != kAnswerYes)
        return;

    if (m_services.cursor) m_services.cursor->showHourglass();
    const int total = last - first + 1;
    const int step = std::max(1, total / kAddSteps);
    std::vector<std::string> refused;
    for (int i = first; i <= last; ++i) {
        GlassRecord& g = m_imported.glasses[static_cast<std::size_t>(i - 1)];
        if (!store.AddGlassStamped(g, true)) refused.push_back(identText(g));
        const int done = i - first + 1;
        if (m_services.helpNote && (done % step == 0 || done == total))
            m_services.helpNote("Adding materials to your collection: " + std::to_string(done) + " of " +
                                    std::to_string(total),
                                false);
    }
    if (m_services.helpNote) m_services.helpNote("", false);
    // The normal pointer for a box the save may show.
    if (m_services.cursor) m_services.cursor->showDefault();
    store.SaveUserGlasses();
    store.RefreshListWindow();
    if (!refused.empty()) {
        const std::string count = refused.size() == 1 ? "1 material was" : std::to_string(refused.size()) + " materials were";
        boxes.show(kBoxInformation, count + " not added to your collection, because a material needs a name and a "
                                            "source:\r\n\r\n" + ListedLines(refused, kNamesListed));
    }
}
