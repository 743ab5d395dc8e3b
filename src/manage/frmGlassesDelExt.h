// The Manage page's remove dialog: takes user materials out of the sibling
// programs, either out of the design programs' custom material file (the 3D
// design program's file, rewritten in its folder and the tolerancer's) or out
// of the catalogue database's own rows (s1 = 8) of "GlassData" and "Archive".
//
// Use from the Manage page: one frmGlassesDelExt for the whole run and its
// window (manage/qt/frmGlassesDelExtWindow) bound to it; comExtRemove calls
// Display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "manage/frmGlassesDel.h"
#include "model/GlassRecord.h"

class CatalogueDatabase;
class IBoxes;

inline constexpr const char* kGlassesDelExtCaption = "Materials to remove";
enum RemoveTarget : int { kRemoveFromDesignFiles = 0, kRemoveFromCatalogue = 1 };
inline constexpr const char* kRemoveTargetCaptions[2] = {"Lumivar3D/DazirireraVI", "VitrarchQX"};
// lblProg as the dialog opens, and after each target is chosen.
inline constexpr const char* kRemoveLabelAtOpening = "Select materials to remove from external program database";
inline constexpr const char* kRemoveTargetLabels[2] = {"Select materials to remove from Lumivar3D/Tol databases",
                                                       "Select materials to remove from VitrarchQX database"};
inline constexpr const char* kRemoveButtonCaption = "&Remove";
inline constexpr const char* kRemoveButtonTip = "Remove selected glasses now";
inline constexpr const char* kRemoveCatalogueFailure = "Error while removing user glasses from database.";
inline constexpr const char* kReadCatalogueFailure = "Error while reading user glasses from database.";

class IGlassesDelExtView : public IRemoveDialogView {
public:
    virtual void setLabel(const std::string& text) = 0;  // lblProg
    // Selects the target's option button, without raising its click.
    virtual void selectOption(int index) = 0;
};

class frmGlassesDelExt {
public:
    explicit frmGlassesDelExt(IBoxes& boxes);

    void setView(IGlassesDelExtView* view) { m_view = view; }

    // Opens modally on the design file's materials; returns when it has closed.
    void Display();

    void optUpdateProg_Click(int index);
    void comDelSel_Click();
    void comCancel_Click();

    // True when the last Remove took materials out.
    bool result() const { return m_result; }
    int mode() const { return m_mode; }

private:
    void formLoad();
    void fillFileList();
    void fillCatalogueList();
    bool RemoveChecked();
    bool removeFromDesignFiles();
    bool RemoveFromCatalogue();
    struct CatalogueItem {
        bool archived = false;  // listed from "Archive", else from "GlassData"
        std::int64_t id = 0;
    };
    bool DeleteOwnRowByID(CatalogueDatabase& db, const CatalogueItem& item);

    IBoxes& m_boxes;
    IGlassesDelExtView* m_view = nullptr;
    bool m_initialising = false;
    bool m_result = false;
    int m_mode = kRemoveFromDesignFiles;
    std::vector<GlassRecord> m_records;   // the design file's entries, one per item
    std::vector<CatalogueItem> m_catalogueItems;  // the catalogue rows, one per item
};
