// Where the three sibling programs are installed: the catalogue program
// (Vitrarch), the 3D design program (Lumivar3D) and the tolerancer; the
// first-run flag; their registry values; and the search for them.
//
// The sibling programs are Windows programs, on Linux installed in Wine
// prefixes. Their executables are matched ignoring case. A search starts in
// the folder above the program folder and then in each drive root
// (InstallationSearchRoots). It follows no symbolic link, skips /proc, /sys,
// /dev and /run, visits no folder twice, lists files of a folder before its
// sub-folders and sub-folders in name order (ignoring case), and uses the
// first installation it meets.
//
// Folders are kept with exactly one trailing '/', so that folder & file name
// is always a path inside the folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

class ISettings;

enum SiblingProgram : int { kProgramVQ = 0, kProgramLQP = 1, kProgramLQTol = 2 };
inline constexpr int kSiblingCount = 3;

struct SiblingProgramInfo {
    const char* executable;
    const char* registryValue;
    const char* firstRunMessage;
    const char* scanMessage;
    const char* browseLabel;
    const char* browseTitle;
};

const SiblingProgramInfo& SiblingInfo(int program);

inline constexpr const char* kSetupSection = "B1SetupPathsQX";
inline constexpr const char* kFirstLoadValue = "FirstLoad1QX";
inline constexpr const char* kSearchingAllMessage =
    "Searching for installations of VitrarchQX, Lumivar3D & LumivarTolerancer";
inline constexpr const char* kLookingInPrefix =
    "First time search for Lumivar3D, DazirireraVI and VitrarchQX.  Looking in: ";

// The help line: text and whether it is bold. The main window's version
// repaints the line at once and lets pending window events run.
using HelpNoteFn = std::function<void(const std::string& text, bool bold)>;

// What a search tells the window while it runs. pumpEvents, when given, is
// called every few tens of milliseconds so the window stays painted.
struct SearchFeedback {
    HelpNoteFn helpNote;
    std::function<void()> pumpEvents;
};

// Module state, as at the program's start: first run, no folders, nothing found.
void ResetSetupPaths();

bool FirstLoad();
void SetFirstLoad(bool value);

// Reads "FirstLoad1QX" (missing: first run); when it is not the first run,
// applies the three stored folders with their set operations.
void LoadSetupPaths(const ISettings& settings);
// Writes the folder of each program that is found; the others are not written.
void SaveSetupPaths(ISettings& settings);
// Ends the first run for good: FirstLoad false and "FirstLoad1QX" = "0".
void ClearFirstLoad(ISettings& settings);

std::string GetPathVQ();
std::string GetPathLQP();
std::string GetPathLQTol();
// When the folder holds the program's executable: keeps the folder, sets the
// found flag and gives True; otherwise clears the found flag, keeps the
// folder it had and gives False.
bool SetPathVQ(const std::string& folder);
bool SetPathLQP(const std::string& folder);
bool SetPathLQTol(const std::string& folder);
bool FoundVQ();
bool FoundLQP();
bool FoundLQTol();

// The same, by program.
std::string GetPath(int program);
bool SetPath(int program, const std::string& folder);
bool Found(int program);

// True while a search runs; the main window must not close meanwhile.
bool SearchRunning();

// The first-run search of all three programs: for each, from the program's
// parent folder and then from each drive root, until found; a find is
// applied with the program's set operation.
void SearchInstallations(const std::vector<std::string>& driveRoots, const SearchFeedback& feedback);

// The search for the programs not found (Scan): writes the folder found, or
// "", into their out texts only; found flags and folders stay as they are.
void SearchMissingInstallations(const std::vector<std::string>& driveRoots, std::string& szPathVQ,
                                std::string& szPathLQP, std::string& szPathLQTol, const SearchFeedback& feedback);

// Collects in results every folder under folder holding a file called name
// (ignoring case), each with its trailing '/', depth first, files of a folder
// before its sub-folders; with stop, ends at the first. files and folders
// count what was found and listed. The help line shows each folder of the
// first three levels. Folders that cannot be listed are passed over.
void FindFiles(std::string& folder, const std::string& name, int& files, int& folders,
               std::vector<std::string>& results, bool stop, int depth, const SearchFeedback& feedback);

// Folders a search never enters.
bool IsSkippedSystemFolder(const std::string& folder);

// True when folder holds a file called name (ignoring case); any error: False.
bool FileInFolder(const std::string& folder, const std::string& name);

// The folder above the program folder, with its '/'; "" at the root.
std::string ProgramParentFolder();
std::string ParentFolder(const std::string& folder);

// The text up to its first character code 0.
std::string StripNulls(const std::string& text);

// The drive roots of the search after the parent folder: the drive_c folder
// of each Wine prefix that exists ($WINEPREFIX, then ~/.wine, each once), then
// the root of the file system that holds the program folder.
std::vector<std::string> InstallationSearchRoots(const std::string& programFolder);
std::vector<std::string> WineDriveRoots(const char* winePrefix, const char* home);
// The mount point of the file system holding folder ("/" when unknown).
std::string FileSystemRoot(const std::string& folder);
