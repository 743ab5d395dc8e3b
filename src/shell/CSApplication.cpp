#include "shell/CSApplication.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/FileUtil.h"
#include "platform/Boxes.h"
#include "shell/INICode.h"

namespace fs = std::filesystem;

namespace {

double roundEven(double v) { return std::nearbyint(v); }  // default rounding mode: ties to even

std::string executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string sectionFor(const IPlacedWindow& frm) { return std::string(kFormPosSection) + "_" + frm.name(); }

// The text of a Single twip value, plain decimal so that reading it as a whole
// number gives the number back.
std::string singleText(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(v), std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

bool nonEmpty(const char* s) { return s && *s; }

}  // namespace

TwipRect PlaceWindow(const std::optional<SavedPlacement>& saved, TwipSize present, TwipSize screen, bool bMainForm) {
    TwipRect r;
    if (!saved) {
        r.width = roundEven(present.width);
        r.height = roundEven(present.height);
        r.left = roundEven((screen.width - r.width) / 2);
        r.top = roundEven((screen.height - r.height) / 2);
        return r;
    }
    r.top = static_cast<double>(saved->top);
    r.left = static_cast<double>(saved->left);
    r.height = static_cast<double>(saved->height);
    r.width = static_cast<double>(saved->width);
    if (r.top < 0) r.top = 0;
    if (r.left < 0) r.left = 0;
    const double f = bMainForm ? 0.9 : 0.5;
    if (screen.height < r.height) r.height = roundEven(screen.height * f);
    if (screen.width < r.width) r.width = roundEven(screen.width * f);
    if (bMainForm) {
        if (r.height < 1) r.height = roundEven(screen.height / 2);
        if (r.width < 1) r.width = roundEven(screen.width / 2);
    }
    if (r.top + r.height > screen.height) r.top = screen.height - r.height;
    if (r.left + r.width > screen.width) r.left = screen.width - r.width;
    return r;
}

std::string ResolveProgramFolder(const char* kalvenorHome, const std::string& exeFolder, bool exeFolderWritable,
                                 const char* dataHome, const char* home) {
    std::error_code ec;
    if (nonEmpty(kalvenorHome)) {
        const fs::path p = fs::absolute(kalvenorHome, ec);
        return WithTrailingSeparator(ec ? std::string(kalvenorHome) : p.string());
    }
    if (!exeFolder.empty() && exeFolderWritable) return WithTrailingSeparator(exeFolder);
    fs::path base;
    if (nonEmpty(dataHome)) base = dataHome;
    else if (nonEmpty(home)) base = fs::path(home) / ".local" / "share";
    else base = fs::temp_directory_path(ec);
    return WithTrailingSeparator((base / kAppTitle).string());
}

bool CSApplication::ThisFormPosnSave(const IPlacedWindow& frm) const {
    const std::string section = sectionFor(frm);
    const TwipRect g = frm.normalGeometry();
    const std::string file = IniFilePath();
    bool ok = WriteProfileString(file, section, "fTop", singleText(g.top));
    ok = WriteProfileString(file, section, "fLeft", singleText(g.left)) && ok;
    ok = WriteProfileString(file, section, "fWidth", singleText(g.height)) && ok;
    ok = WriteProfileString(file, section, "fHeight", singleText(g.width)) && ok;
    return ok;
}

bool CSApplication::ThisFormPosnGet(IPlacedWindow& frm, bool bMainForm, bool bPosnOnly) const {
    const std::string section = sectionFor(frm);
    std::optional<SavedPlacement> saved;
    if (!ReadIniString(section, "fTop").empty()) {
        saved = SavedPlacement{ReadIniInt(section, "fTop"), ReadIniInt(section, "fLeft"),
                               ReadIniInt(section, "fWidth"), ReadIniInt(section, "fHeight")};
    }
    const TwipRect present = frm.normalGeometry();
    const TwipRect r = PlaceWindow(saved, {present.width, present.height}, frm.screenSize(), bMainForm);
    if (bPosnOnly) frm.moveTo(r.left, r.top);
    else frm.moveAndSize(r);
    return true;
}

std::string CSApplication::Copyright() const { return "Copyright (c) Harvenne"; }

std::string CSApplication::Comment() const { return "Kalvenor for Lumivar & VitrarchQX"; }

std::string CSApplication::HelpFile() const { return JoinPath(Path(), kHelpFileName); }

std::string CSApplication::Path() const {
    const std::string exe = executableFolder();
    const bool writable = !exe.empty() && ::access(exe.c_str(), W_OK) == 0;
    const std::string folder =
        ResolveProgramFolder(std::getenv("KALVENOR_HOME"), exe, writable, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

std::string CSApplication::Title() const { return kAppTitle; }

std::string CSApplication::TitleVer() const {
    return Title() + " " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string CSApplication::TitleVerShort() const {
    return Title() + " " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

std::string CSApplication::Version() const {
    return "Version: " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::vector<MeltWaveBand> GetMeltWaveBands() { return GetMeltWaveBands(CSApplication().Path()); }

bool SaveMeltWaveBands(const std::vector<MeltWaveBand>& bands, std::string* error) {
    return SaveMeltWaveBands(bands, CSApplication().Path(), error);
}
