// The running program: the shared objects of start-up, the main window made
// on first use with the work pages of the program, and Main, the program's
// entry over QApplication.
#pragma once

#include <memory>

#include "platform/Clock.h"
#include "shell/AMain.h"
#include "platform/qt/QtBusyCursor.h"

class IBoxes;
class ISettings;
class frmMainMDI;

class KalvenorProgram : public IMainWindowStart {
public:
    // Boxes and settings must outlive the program.
    KalvenorProgram(IBoxes& boxes, ISettings& settings);
    ~KalvenorProgram() override;

    // The start-up sequence; the main window and the list are open after it.
    void start();

    AMain& app() { return m_app; }
    frmMainMDI* mainWindow() const { return m_main.get(); }

    void Display() override;
    void LoadList() override;

private:
    SystemClock m_clock;
    QtBusyCursor m_cursor;
    AMain m_app;
    std::unique_ptr<frmMainMDI> m_main;
};

// Runs the program until its main window closes.
int Main(int argc, char* argv[]);
