#include "shell/AMain.h"

#include "model/TransCalcs.h"
#include "shell/Bas1Setup.h"
#include "platform/BusyCursor.h"
#include "shell/CSApplication.h"

AMain::AMain(IBoxes& boxes, IClock& clock, ISettings& settings, IBusyCursor& cursor)
    : m_boxes(boxes), m_clock(clock), m_settings(settings), m_cursor(cursor), m_hints(boxes, settings), m_forms(boxes, [] { return FoundVQ(); }) {}

void AMain::Main(IMainWindowStart& mainWindow) {
    m_programFolder = CSApplication().Path();
    m_store.emplace(m_boxes, m_clock, m_programFolder);
    m_cursor.showHourglass();
    LoadSetupPaths(m_settings);
    InitStandardWavelengths();
    m_store->LoadCatalogNames(GetPathLQP());
    m_store->LoadSuppliedNames(GetPathLQP());
    m_store->LoadUserGlasses();
    mainWindow.Display();
    mainWindow.LoadList();
    m_cursor.showDefault();
}
