// The program folder, the application's title and version texts, and the
// saving and restoring of a window's position in "KalvQX.INI".
//
// The program folder: the folder named by the environment variable
// KALVENOR_HOME when it is set; otherwise the executable's folder when the
// program may write there; otherwise the per-user data folder
// ($XDG_DATA_HOME or ~/.local/share, then "KalvenorQX"), made when missing.
#pragma once

#include <optional>
#include <string>

#include "model/WaveNames.h"
#include "platform/PlacedWindow.h"

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

inline constexpr const char* kHelpFileName = "Kalvo.HLP";

// Each window's section of the settings file is this & "_" & its name.
inline constexpr const char* kFormPosSection = "FormPosNonChild";

// What the settings file holds for one window, as read ("fWidth" holds the
// height and "fHeight" the width; files already written rely on it).
struct SavedPlacement {
    long top = 0;
    long left = 0;
    long height = 0;
    long width = 0;
};

// Where a window goes: the saved placement kept on the screen (or, without
// one, the window's present size centred on the screen). Rounding is to the
// nearest whole twip, ties to even.
TwipRect PlaceWindow(const std::optional<SavedPlacement>& saved, TwipSize present, TwipSize screen, bool bMainForm);

// The program-folder rule with its inputs made explicit; the result ends in
// exactly one '/'. kalvenorHome and dataHome may be null or empty.
std::string ResolveProgramFolder(const char* kalvenorHome, const std::string& exeFolder, bool exeFolderWritable,
                                 const char* dataHome, const char* home);

class CSApplication {
public:
    // Writes frm's normal position and size to its section of the settings file.
    bool ThisFormPosnSave(const IPlacedWindow& frm) const;
    // Places frm from its section (moved only when bPosnOnly), or centres it.
    bool ThisFormPosnGet(IPlacedWindow& frm, bool bMainForm, bool bPosnOnly) const;

    std::string Copyright() const;
    std::string Comment() const;
    std::string HelpFile() const;  // Path() & the help file's name
    std::string Path() const;      // the program folder, ending in exactly one '/'
    std::string Title() const;
    std::string TitleVer() const;       // "KalvenorQX 1.0.0"
    std::string TitleVerShort() const;  // "KalvenorQX 1.0"
    std::string Version() const;        // "Version: 1.0.0"
};

// The melt wavebands in the program folder of this run.
std::vector<MeltWaveBand> GetMeltWaveBands();
bool SaveMeltWaveBands(const std::vector<MeltWaveBand>& bands, std::string* error = nullptr);
