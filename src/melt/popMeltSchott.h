// The Schott melt sheet converter: a modal dialog that takes the nine numbers
// of a Schott melt data sheet (a mixture of indices and index differences),
// shows beside each the value of the melt's current formula, and turns them
// into seven wavelength/index pairs at the lines C, C', d, e, F, F' and g in
// the melt's MeltBlock.
//
// The nine sheet values live in rows 1..9 of column 3 of the MeltBlock's
// second table; 0 means not entered. The logic is here, the window behind
// IMeltSchottView, which calls the handlers below and Form_Unload when it
// closes, whatever closed it.
#pragma once

#include <array>
#include <string>

#include "model/GlassRecord.h"

class CNewMsg;
class IBoxes;
class IBusyCursor;
class INumberBox;
class IPlacedWindow;

inline constexpr int kSheetValues = 9;
inline constexpr int kSheetColumn = 3;  // of the MeltBlock's second table
inline constexpr int kSheetPairs = 7;
inline constexpr const char* kMeltSchottCaption = "Schott melt data";
inline constexpr const char* kSheetLabels[kSheetValues] = {"nd",      "ne",      "nF - nC",   "nd - nC", "nF - nd",
                                                           "nF - ne", "ng - nF", "nF' - nC'", "nF' - ne"};
// The two frames and the values (1-based) each holds, in order.
inline constexpr const char* kSheetFrameDCFg = "d, C, F && g wavelengths:";
inline constexpr const char* kSheetFrameECpFp = "e, C' && F' wavelengths:";
inline constexpr std::array<int, 5> kSheetFrameDCFgValues = {1, 3, 4, 5, 7};
inline constexpr std::array<int, 4> kSheetFrameECpFpValues = {2, 6, 8, 9};
inline constexpr const char* kSheetShowIndexCaption = "Show indicies";
inline constexpr const char* kSheetShowIndexTip = "shows index data";
inline constexpr const char* kSheetRangeText = "Index value outside valid range!";
inline constexpr const char* kSheetRisingText = "Index value is not increasing as wavelength gets shorter!";
inline constexpr const char* kSheetHintKey = "popMeltSchott";
inline constexpr float kSheetHintDelayMs = 250;

// The nine values from the record's formula (the parent's until a fit has
// run); a value whose lines the formula does not evaluate is 0.
std::array<double, kSheetValues> ComputeCatalogValues(const GlassRecord& glass);
// "(" value ")" with six decimals, or "" for 0.
std::string CatalogValueText(double value);
// Six decimals, or "" for 0.
std::string SheetValueText(double value);

// Every index within 1.1..2.2, then rising towards shorter wavelength (equal
// neighbours pass); only the first failure is told (exclamation).
bool CheckMeltPairs(const MeltBlock& block, IBoxes& boxes);
// The seven pairs from the sheet values of block. When they pass the check:
// with bShowTable the table of pairs is shown in a plain box, the pairs
// replace those of block (entries 8..20 cleared) and the result is True.
// Otherwise block is unchanged and the result False.
bool ConvertMeltSheet(MeltBlock& block, bool bShowTable, IBoxes& boxes);

class IMeltSchottView {
public:
    virtual ~IMeltSchottView() = default;
    // Text box i, 1..9.
    virtual INumberBox& valueBox(int i) = 0;
    virtual void setCatalogText(int i, const std::string& text) = 0;
    virtual void setOkEnabled(bool enabled) = 0;
    virtual void setShowIndexEnabled(bool enabled) = 0;
    virtual IPlacedWindow& placement() = 0;
    // Shows the dialog modal: returns when it has closed.
    virtual void showModal() = 0;
    // Closes the dialog; its closing ends in popMeltSchott::Form_Unload.
    virtual void closeWindow() = 0;
};

struct MeltSchottServices {
    IBoxes* boxes = nullptr;
    CNewMsg* hints = nullptr;
    IBusyCursor* cursor = nullptr;
};

class popMeltSchott {
public:
    explicit popMeltSchott(MeltSchottServices services);

    void setView(IMeltSchottView* view) { m_view = view; }

    // Opens the dialog on a copy of glass. True after OK, glass then holding
    // the seven pairs and the sheet values; otherwise glass is untouched.
    bool Display(GlassRecord& glass);

    void txtIndex_GotFocus(int i);
    // Enter in box i, or leaving it.
    void txtIndex_Commit(int i);
    void pctSchott_Click();
    void comShowIndex_Click();
    void comOK_Click();
    void comCancel_Click();
    void Form_Unload();

    const GlassRecord& record() const { return m_record; }
    double sheetValue(int i) const;
    bool accepted() const { return m_accepted; }

private:
    bool UpdateOKState();
    void ShowSheetValues();
    void ShowSheetValue(int i);
    void ShowCatalogValues();

    MeltSchottServices m_services;
    IMeltSchottView* m_view = nullptr;
    GlassRecord m_record;
    bool m_initialising = false;
    bool m_accepted = false;
    bool m_open = false;
};
