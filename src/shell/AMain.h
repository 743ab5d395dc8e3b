// Start-up: the objects the program shares for the whole run, and Main,
// which prepares them in order and opens the main window and the material
// list window. The windows come in through IMainWindowStart, so the order
// runs and is tested without a windowing platform.
#pragma once

#include <optional>
#include <string>

#include "model/GlassesList.h"
#include "shell/CNewMsg.h"
#include "shell/GlassEditors.h"
#include "shell/MainMDILogic.h"
#include "shell/ManageForms.h"

class IBoxes;
class IBusyCursor;
class IClock;
class ISettings;

// The main window as start-up sees it.
class IMainWindowStart {
public:
    virtual ~IMainWindowStart() = default;
    // Creates the main window on first use, runs its load and shows it.
    virtual void Display() = 0;
    // Opens the material list window.
    virtual void LoadList() = 0;
};

class AMain {
public:
    // Each must outlive the object.
    AMain(IBoxes& boxes, IClock& clock, ISettings& settings, IBusyCursor& cursor);

    // Program folder, sibling folders, standard wavelengths, catalogue and
    // supplied names, the collection, then the main window and the list.
    void Main(IMainWindowStart& mainWindow);

    // Set by Main: the program folder, ending in '/'.
    const std::string& ProgramFolder() const { return m_programFolder; }
    // Made by Main before the collection is loaded.
    GlassesList& store() { return *m_store; }
    ManageForms& forms() { return m_forms; }
    GlassEditors& editors() { return m_editors; }
    // The one-time hints, made first of all.
    CNewMsg& hints() { return m_hints; }
    IRandom& random() { return m_random; }
    IBoxes& boxes() { return m_boxes; }
    ISettings& settings() { return m_settings; }
    IBusyCursor& cursor() { return m_cursor; }
    // The clock that dates stored records and written files.
    IClock& clock() { return m_clock; }

private:
    IBoxes& m_boxes;
    IClock& m_clock;
    ISettings& m_settings;
    IBusyCursor& m_cursor;
    CNewMsg m_hints;
    std::string m_programFolder;
    std::optional<GlassesList> m_store;
    ManageForms m_forms;
    GlassEditors m_editors;
    SystemRandom m_random;
};
