// What the Import page remembers between runs, in the settings section
// "B4Import": the file type of the last file chosen, and for each type the
// folder it was chosen in.
#pragma once

#include <string>

class ISettings;

inline constexpr const char* kImportSection = "B4Import";
inline constexpr const char* kImportLastTypeKey = "B4ImportLastType";
// The folder keys of the import types 1..5 (".GLZ", ".GLA", ".GLS", ".GLC", ".AGF").
inline constexpr const char* kImportFolderKeys[5] = {"B4ImpPathKalvNew_GLZ", "B4ImpPathOldLmvq_GLA",
                                                     "B4ImpPathOldVtrq_GLS", "B4ImpPathOslo_GLC",
                                                     "B4ImpPathZemax_AGF"};

// The type last stored, 1..5. Missing gives 1, and so does what is no whole
// number of 1..5 (0 included), so the open dialog always gets a filter it has.
int LastImportType(const ISettings& settings);
// The folder last used for the type; the program folder when none is stored.
std::string ImportFolder(const ISettings& settings, int importType, const std::string& programFolder);
// Keeps the type and, under the type's key, its folder. A type outside 1..5
// stores nothing.
void SaveImportChoice(ISettings& settings, int importType, const std::string& folder);
