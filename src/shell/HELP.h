// The application's help file. Its setting starts as the name "Kalvo.HLP";
// while the main window loads, SetHelpFile looks in the program folder for
// the help file in the form the platform uses (the compiled HTML form
// "Kalvo.chm" on Linux, see OSVersion.h), ignoring the case of its name, and
// when it is there the setting becomes its full path. The help key (F1)
// opens it with the desktop's viewer; without a help file a box says so.
#pragma once

#include <string>

class IBoxes;
class IUrlOpener;

// The application's help file setting: a name, or the full path once found.
std::string AppHelpFile();
// As at the program's start: the setting "Kalvo.HLP" and nothing found.
void ResetHelpFile();

// Looks for the help file in szFolder; bWinHelpOS chooses the old form (the
// setting's own name) or the compiled HTML form (its name up to the first
// "." followed by ".chm"). Nothing changes when the file is not there.
void SetHelpFile(const std::string& szFolder, bool bWinHelpOS);
// The same, with IsWinHelpOS of the running system.
void SetHelpFile(const std::string& szFolder);

// The help key: opens the help file found by SetHelpFile with viewer. When
// there is none (or it has gone since), or the viewer cannot be launched, a
// box tells the user which file and where.
void ShowHelpFile(IUrlOpener& viewer, IBoxes& boxes);

// "file://" and the absolute path, with every byte but the unreserved ones
// and "/" percent-encoded.
std::string FileUrl(const std::string& path);
