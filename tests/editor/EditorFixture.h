// The editor without a window: its grids in memory, a caller that records
// being disabled, and a store on a temporary program folder whose design
// program supplies one catalogue and one generic material.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/frm3New.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"
#include "platform/MemoryGrid.h"
#include "platform/PlacedWindow.h"
#include "shell/GlassEditors.h"
#include "shell/ManageForms.h"
#include "support/FakeCaller.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

class FakeEditorView : public I3NewView {
public:
    explicit FakeEditorView(frm3New& form) : m_form(form) {}
    IGrid& ssRefInd() override { return index; }
    IGrid& ssTrans() override { return trans; }
    IGrid& ssOther() override { return other; }
    IPlacedWindow& placement() override { return placed; }
    void showWindow(bool bringToFront) override {
        shown = true;
        inFront = bringToFront;
    }
    void closeWindow() override {
        shown = false;
        m_form.Form_Unload();
    }
    void controlsChanged() override { ++refreshes; }

    class Placed : public IPlacedWindow {
    public:
        std::string name() const override { return "frm3New"; }
        TwipRect normalGeometry() const override { return geometry; }
        TwipSize screenSize() const override { return {15000, 11000}; }
        TwipSize centreArea() const override { return {12000, 9000}; }
        void moveTo(double l, double t) override { geometry.left = l, geometry.top = t; }
        void moveAndSize(const TwipRect& g) override { geometry = g; }
        TwipRect geometry{0, 0, 8000, 6000};
    };

    MemoryGrid index, trans, other;
    Placed placed;
    bool shown = false;
    bool inFront = false;
    int refreshes = 0;

private:
    frm3New& m_form;
};

// A page that records being opened and closed, for the switcher.
class EditorTest : public ::testing::Test {
protected:
    EditorTest();

    const frm3NewControls& controls() const { return form.controls(); }
    const GlassRecord& glass() const { return form.record(); }
    // The panel texts, in tab order.
    std::vector<std::string> panels() const;

    // A complete material of the collection: a Sellmeier formula with its
    // points (the glass of the demo collection), every section ready.
    static GlassRecord storedGlass(const std::string& name, const std::string& source);
    // Stores glass as the program would, file included.
    void keep(const GlassRecord& glass);
    // The records of the collection file.
    std::vector<GlassRecord> fileRecords() const;

    TestFolder folder;
    FixedClock clock;
    ScriptedBoxes boxes;
    GlassesList store;
    ManageForms forms;
    GlassEditors editors;
    RecordingBusyCursor cursor;
    MemoryClipboard clipboard;
    frm3New form;
    FakeEditorView view;
    FakeCaller caller;
    int manageUpdates = 0;
    int listRefreshes = 0;
};

// Points of a formula at wavelengths (nm), written as the user would type
// them: "wave TAB index" per line, the index to seven decimals.
std::string PointsText(const GlassDefinition& formula, const std::vector<float>& waves, bool withWeight = false);
GlassDefinition FormulaOf(std::int16_t type, std::initializer_list<double> coefficients);
GlassDefinition Nbk7Sellmeier();
// n wavelengths from lo to hi nm.
std::vector<float> Wavelengths(int n, float lo, float hi);
