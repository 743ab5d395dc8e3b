// The mouse pointer: the hourglass while the program works, else the default.
// Not counted: one call to showDefault ends any number of showHourglass.
#pragma once

class IBusyCursor {
public:
    virtual ~IBusyCursor() = default;
    virtual void showHourglass() = 0;
    virtual void showDefault() = 0;
};

// Keeps the pointer's state for tests.
class RecordingBusyCursor : public IBusyCursor {
public:
    void showHourglass() override {
        busy = true;
        ++hourglassCount;
    }
    void showDefault() override { busy = false; }
    bool busy = false;
    int hourglassCount = 0;
};
