// The Manage page's delete dialog: a check list of the page's materials, the
// selected rows checked, from which the checked materials are deleted. The
// page's array is replaced through its SetGlasses; the page then stores and
// saves the collection.
//
// Use from the Manage page: one frmGlassesDel for the whole run, built with
// the page's SetGlasses, and its window (manage/qt/frmGlassesDelWindow) bound
// to it; comDelete calls Display with the page's array and the selected rows.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/GlassRecord.h"

class ICheckList;
class IPlacedWindow;

inline constexpr const char* kGlassesDelCaption = "Materials to delete";
inline constexpr const char* kGlassesDelLabel = "Select materials to be deleted from the Kalvenor database:";
inline constexpr const char* kGlassesDelDeleteCaption = "&Delete";
inline constexpr const char* kRemoveDialogCancelCaption = "&Cancel";

// A material's item in the remove dialogs: trimmed name "/" trimmed source.
std::string GlassItemText(const std::string& name, const std::string& source);

// What the dialogs need of their windows.
class IRemoveDialogView {
public:
    virtual ~IRemoveDialogView() = default;
    virtual ICheckList& lstGlasses() = 0;
    virtual IPlacedWindow& placement() = 0;
    // Shows the dialog modally; returns when it has closed.
    virtual void showModal() = 0;
    virtual void closeWindow() = 0;
};

class frmGlassesDel {
public:
    // The Manage page's SetGlasses: receives the records that were kept.
    using SetGlassesFn = std::function<void(const std::vector<GlassRecord>& glasses)>;
    explicit frmGlassesDel(SetGlassesFn setGlasses);

    void setView(IRemoveDialogView* view) { m_view = view; }

    // Shows the page's materials (its array, counted from 1) with rows
    // first..last checked, modally. True when materials were deleted: the
    // page's SetGlasses has then received the kept ones, in their order.
    bool Display(std::span<const GlassRecord> glasses, int first, int last);

    void comDelSel_Click();
    void comCancel_Click();

    bool result() const { return m_result; }

private:
    void formLoad();

    SetGlassesFn m_setGlasses;
    IRemoveDialogView* m_view = nullptr;
    bool m_result = false;
    std::vector<GlassRecord> m_glasses;
    int m_first = 0;
    int m_last = 0;
};
