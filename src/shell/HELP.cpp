#include "shell/HELP.h"

#include <filesystem>
#include <system_error>

#include "model/FileUtil.h"
#include "platform/Boxes.h"
#include "platform/Text1252.h"
#include "platform/UrlOpener.h"
#include "shell/CSApplication.h"
#include "shell/OSVersion.h"

namespace {

struct HelpState {
    std::string setting = kHelpFileName;
    std::string found;       // full path, once found
    std::string lookedFor;   // the name the last search wanted
    std::string lookedIn;    // and its folder
};

HelpState& state() {
    static HelpState s;
    return s;
}

// The part after the last separator; the setting may already be a full path.
std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string extensionOf(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

// A file name or path as the boxes show it.
std::string shown(const std::string& path) { return Text1252FromUtf8(path, BrokenUtf8::KeepByte); }

}  // namespace

std::string AppHelpFile() { return state().setting; }

void ResetHelpFile() { state() = HelpState{}; }

void SetHelpFile(const std::string& szFolder, bool bWinHelpOS) {
    HelpState& s = state();
    std::string name = fileNameOf(s.setting);
    if (!bWinHelpOS) name = name.substr(0, name.find('.')) + ".chm";
    const std::string folder = WithTrailingSeparator(szFolder);
    s.lookedFor = name;
    s.lookedIn = folder;
    // File names on Linux keep their case: the path kept is the one on disk,
    // so that the viewer can open it.
    if (const auto full = FindFileIgnoreCase(folder, name)) {
        s.found = *full;
        s.setting = *full;
    }
}

void SetHelpFile(const std::string& szFolder) { SetHelpFile(szFolder, IsWinHelpOS()); }

void ShowHelpFile(IUrlOpener& viewer, IBoxes& boxes) {
    const HelpState& s = state();
    if (s.found.empty() || !FileExists(s.found)) {
        const std::string name = s.lookedFor.empty() ? fileNameOf(s.setting) : s.lookedFor;
        std::string text = "No help is available: the help file " + shown(name) + " is not in the program folder";
        if (!s.lookedIn.empty()) text += ":\r\n" + shown(s.lookedIn);
        boxes.show(kBoxInformation, text);
        return;
    }
    if (!viewer.open(FileUrl(s.found))) {
        boxes.show(kBoxExclamation, "Sorry: cannot show the help file at this time:\r\n" + shown(s.found) +
                                        "\r\nIs a viewer for " + shown(extensionOf(s.found)) + " files installed?");
    }
}

std::string FileUrl(const std::string& path) {
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(path, ec).string();
    if (ec) absolute = path;
    static const char* const kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : absolute) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '.' || c == '_' || c == '~' || c == '/';
        if (keep) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}
