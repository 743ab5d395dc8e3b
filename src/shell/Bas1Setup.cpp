#include "model/FixedText.h"
#include "shell/Bas1Setup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>

#include "model/FileUtil.h"
#include "platform/NumberText.h"
#include "shell/CSApplication.h"
#include "platform/Settings.h"

namespace fs = std::filesystem;

namespace {

const SiblingProgramInfo kPrograms[kSiblingCount] = {
    {"VitrarchQX.EXE", "VitrarchQX", "Searching for Vitrarch installation", "Searching for VitrarchQX installation",
     "Vitrarch (", "Finding path to Vitrarch program"},
    {"Lumivar3D.EXE", "LumivarPlusQX", "Searching for Lumivar3D installation", "Searching for Lumivar3D installation",
     "Lumivar3D (", "Finding path to Lumivar3D program"},
    {"LumivarDazirireraVI.EXE", "LumivarTolQX", "Searching for LumivarTolerancer installation",
     "Searching for LumivarTolerancer installation", "Lumivar Tol (", "Finding path to Lumivar Tol program"},
};

struct SetupState {
    bool firstLoad = true;
    std::array<std::string, kSiblingCount> folders;
    std::array<bool, kSiblingCount> found{};
};

SetupState g_state;
int g_searching = 0;

struct SearchGuard {
    SearchGuard() { ++g_searching; }
    ~SearchGuard() { --g_searching; }
    SearchGuard(const SearchGuard&) = delete;
    SearchGuard& operator=(const SearchGuard&) = delete;
};

bool validProgram(int program) { return program >= 0 && program < kSiblingCount; }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Name order ignoring case, exact order between names that differ only in case.
bool nameBefore(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(lowerAscii(a[i])), y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::string withoutTrailingSeparators(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool parseFlag(const std::string& text, bool fallback) {
    double v = 0;
    if (ParseNumber(text, v)) return v != 0;
    if (EqualsIgnoreCase(text, "true")) return true;
    if (EqualsIgnoreCase(text, "false")) return false;
    return fallback;
}

// One search for a program: the parent folder, then the drive roots, until a
// folder is found. The folder found is handed to take, which says whether it
// ends the search.
template <class Take>
void searchProgram(int program, const std::vector<std::string>& driveRoots, const SearchFeedback& feedback, Take take) {
    std::vector<std::string> starts;
    starts.push_back(ProgramParentFolder());
    starts.insert(starts.end(), driveRoots.begin(), driveRoots.end());
    for (std::string start : starts) {
        if (start.empty()) continue;  // a program folder at the root has no parent to search
        int files = 0, folders = 0;
        std::vector<std::string> results;
        FindFiles(start, kPrograms[program].executable, files, folders, results, false, 0, feedback);
        if (!results.empty() && take(results.front())) return;
    }
}

}  // namespace

const SiblingProgramInfo& SiblingInfo(int program) { return kPrograms[validProgram(program) ? program : 0]; }

void ResetSetupPaths() { g_state = SetupState{}; }

bool FirstLoad() { return g_state.firstLoad; }

void SetFirstLoad(bool value) { g_state.firstLoad = value; }

void LoadSetupPaths(const ISettings& settings) {
    g_state.firstLoad = parseFlag(settings.getOr(kSetupSection, kFirstLoadValue, "-1"), true);
    if (g_state.firstLoad) return;
    for (int p = 0; p < kSiblingCount; ++p) SetPath(p, settings.getOr(kSetupSection, kPrograms[p].registryValue, ""));
}

void SaveSetupPaths(ISettings& settings) {
    for (int p = 0; p < kSiblingCount; ++p)
        if (g_state.found[static_cast<std::size_t>(p)])
            settings.set(kSetupSection, kPrograms[p].registryValue, g_state.folders[static_cast<std::size_t>(p)]);
}

void ClearFirstLoad(ISettings& settings) {
    g_state.firstLoad = false;
    settings.set(kSetupSection, kFirstLoadValue, "0");
}

std::string GetPath(int program) {
    return validProgram(program) ? g_state.folders[static_cast<std::size_t>(program)] : std::string();
}

bool SetPath(int program, const std::string& folder) {
    if (!validProgram(program)) return false;
    const auto i = static_cast<std::size_t>(program);
    if (FileInFolder(folder, kPrograms[program].executable)) {
        g_state.folders[i] = WithTrailingSeparator(folder);
        g_state.found[i] = true;
        return true;
    }
    g_state.found[i] = false;
    return false;
}

bool Found(int program) { return validProgram(program) && g_state.found[static_cast<std::size_t>(program)]; }

std::string GetPathVQ() { return GetPath(kProgramVQ); }
std::string GetPathLQP() { return GetPath(kProgramLQP); }
std::string GetPathLQTol() { return GetPath(kProgramLQTol); }
bool SetPathVQ(const std::string& folder) { return SetPath(kProgramVQ, folder); }
bool SetPathLQP(const std::string& folder) { return SetPath(kProgramLQP, folder); }
bool SetPathLQTol(const std::string& folder) { return SetPath(kProgramLQTol, folder); }
bool FoundVQ() { return Found(kProgramVQ); }
bool FoundLQP() { return Found(kProgramLQP); }
bool FoundLQTol() { return Found(kProgramLQTol); }

bool SearchRunning() { return g_searching > 0; }

void SearchInstallations(const std::vector<std::string>& driveRoots, const SearchFeedback& feedback) {
    SearchGuard guard;
    for (int p = 0; p < kSiblingCount; ++p) {
        if (feedback.helpNote) feedback.helpNote(kPrograms[p].firstRunMessage, true);
        searchProgram(p, driveRoots, feedback, [p](const std::string& folder) {
            SetPath(p, folder);
            return Found(p);
        });
    }
}

void SearchMissingInstallations(const std::vector<std::string>& driveRoots, std::string& szPathVQ,
                                std::string& szPathLQP, std::string& szPathLQTol, const SearchFeedback& feedback) {
    SearchGuard guard;
    std::string* out[kSiblingCount] = {&szPathVQ, &szPathLQP, &szPathLQTol};
    for (int p = 0; p < kSiblingCount; ++p) {
        if (Found(p)) continue;
        if (feedback.helpNote) feedback.helpNote(kPrograms[p].scanMessage, true);
        std::string found;
        searchProgram(p, driveRoots, feedback, [&found](const std::string& folder) {
            found = folder;
            return true;
        });
        *out[p] = found;
    }
}

void FindFiles(std::string& folder, const std::string& name, int& files, int& folders,
               std::vector<std::string>& results, bool stop, int depth, const SearchFeedback& feedback) {
    if (files >= 1 && stop) return;
    if (folder.empty()) return;
    folder = WithTrailingSeparator(folder);
    SearchGuard guard;

    using Clock = std::chrono::steady_clock;
    auto lastPump = Clock::now();
    std::set<std::pair<dev_t, ino_t>> visited;
    std::vector<std::pair<std::string, int>> pending{{folder, depth}};
    bool start = true;
    while (!pending.empty()) {
        const auto [dir, level] = std::move(pending.back());
        pending.pop_back();
        // The starting folder may be reached through a link; below it none is followed.
        struct stat st {};
        const int rc = start ? ::stat(dir.c_str(), &st) : ::lstat(dir.c_str(), &st);
        start = false;
        if (rc != 0 || !S_ISDIR(st.st_mode)) continue;
        if (!visited.insert({st.st_dev, st.st_ino}).second) continue;
        DIR* handle = ::opendir(dir.c_str());
        if (!handle) continue;
        std::vector<std::string> subFolders;
        int hits = 0;
        while (const dirent* e = ::readdir(handle)) {
            const std::string entry = StripNulls(e->d_name);
            if (entry.empty() || entry == "." || entry == "..") continue;
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN) {
                struct stat es {};
                if (::lstat(JoinPath(dir, entry).c_str(), &es) != 0) continue;
                type = S_ISDIR(es.st_mode) ? DT_DIR : (S_ISREG(es.st_mode) ? DT_REG : DT_LNK);
            }
            if (type == DT_DIR) subFolders.push_back(entry);
            else if (type == DT_REG && EqualsIgnoreCase(entry, name)) ++hits;
        }
        ::closedir(handle);
        std::sort(subFolders.begin(), subFolders.end(), nameBefore);
        folders += static_cast<int>(subFolders.size());
        if (level + 1 < 4 && feedback.helpNote) feedback.helpNote(kLookingInPrefix + dir, false);
        for (int i = 0; i < hits; ++i) {
            ++files;
            results.push_back(dir);
            if (stop) return;
        }
        if (feedback.pumpEvents && Clock::now() - lastPump > std::chrono::milliseconds(40)) {
            feedback.pumpEvents();
            lastPump = Clock::now();
        }
        for (auto it = subFolders.rbegin(); it != subFolders.rend(); ++it) {
            std::string child = JoinPath(dir, *it) + "/";
            if (!IsSkippedSystemFolder(child)) pending.emplace_back(std::move(child), level + 1);
        }
    }
}

bool IsSkippedSystemFolder(const std::string& folder) {
    const std::string f = withoutTrailingSeparators(folder);
    return f == "/proc" || f == "/sys" || f == "/dev" || f == "/run";
}

bool FileInFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty()) return false;
    return FindFileIgnoreCase(WithTrailingSeparator(folder), name).has_value();
}

std::string ParentFolder(const std::string& folder) {
    std::string f = folder;
    if (!f.empty() && f.back() == '/') f.pop_back();
    const std::size_t slash = f.rfind('/');
    if (slash == std::string::npos) return {};
    return f.substr(0, slash + 1);
}

std::string ProgramParentFolder() { return ParentFolder(CSApplication().Path()); }

std::string StripNulls(const std::string& text) { return text.substr(0, text.find('\0')); }

std::vector<std::string> WineDriveRoots(const char* winePrefix, const char* home) {
    std::vector<std::string> candidates;
    if (winePrefix && *winePrefix) candidates.push_back(WithTrailingSeparator(winePrefix) + "drive_c/");
    if (home && *home) candidates.push_back(WithTrailingSeparator(home) + ".wine/drive_c/");
    std::vector<std::string> roots;
    std::set<std::string> seen;
    for (const auto& c : candidates) {
        if (!FolderExists(c)) continue;
        std::error_code ec;
        const std::string real = fs::canonical(c, ec).string();
        if (seen.insert(ec ? c : real).second) roots.push_back(c);
    }
    return roots;
}

std::string FileSystemRoot(const std::string& folder) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(withoutTrailingSeparators(folder), ec);
    struct stat st {};
    if (ec || p.empty() || ::stat(p.c_str(), &st) != 0) return "/";
    const dev_t device = st.st_dev;
    while (p != p.root_path()) {
        const fs::path up = p.parent_path();
        if (::stat(up.c_str(), &st) != 0 || st.st_dev != device) break;
        p = up;
    }
    return WithTrailingSeparator(p.string());
}

std::vector<std::string> InstallationSearchRoots(const std::string& programFolder) {
    std::vector<std::string> roots = WineDriveRoots(std::getenv("WINEPREFIX"), std::getenv("HOME"));
    const std::string root = FileSystemRoot(programFolder);
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
    return roots;
}
