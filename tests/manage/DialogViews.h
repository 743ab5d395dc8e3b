// The remove dialogs' windows for tests of their logic: while a dialog is
// shown the user does what the test says.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "manage/frmGlassesDelExt.h"
#include "platform/CheckList.h"
#include "support/FakePlacedWindow.h"

template <class Base>
class FakeDialogView : public Base {
public:
    ICheckList& lstGlasses() override { return list; }
    IPlacedWindow& placement() override { return placed; }
    void showModal() override {
        ++opened;
        open = true;
        if (user) user();
        open = false;  // a dialog the user did not close is closed by its close box
    }
    void closeWindow() override {
        EXPECT_TRUE(open);
        open = false;
        ++closes;
    }

    MemoryCheckList list;
    FakePlacedWindow placed;
    std::function<void()> user;
    bool open = false;
    int opened = 0;
    int closes = 0;
};

class FakeExtView : public FakeDialogView<IGlassesDelExtView> {
public:
    void setLabel(const std::string& text) override { label = text; }
    void selectOption(int index) override { option = index; }
    std::string label;
    int option = -1;
};
