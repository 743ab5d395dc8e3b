// The settings file over arbitrary files: the first two bytes pick a section
// and a key (names that differ only in case among them), the third a value,
// the rest is the file. Beyond not crashing: every value read is a whole
// trimmed text within its limits, a main window placed from the file lands
// whole on the screen, and a write of the value reads back as written while
// every other entry of the file reads as before.
#include <stdlib.h>

#include <climits>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "FuzzSupport.h"
#include "platform/Text1252.h"
#include "shell/CSApplication.h"
#include "shell/INICode.h"

namespace {

const char* const kSections[] = {"FormPosNonChild_frmMainMDI", "formposnonchild_FRMMAINMDI", "FormPosNonChild_frm1Setup",
                                 "B1"};
const char* const kKeys[] = {"fTop", "FTOP", "fLeft", "fWidth", "fHeight", "x"};

constexpr TwipSize kScreen{19200, 14400};

class PlacedWindow : public IPlacedWindow {
public:
    std::string name() const override { return "frmMainMDI"; }
    TwipRect normalGeometry() const override { return geometry; }
    TwipSize screenSize() const override { return kScreen; }
    TwipSize centreArea() const override { return kScreen; }
    void moveTo(double left, double top) override {
        geometry.left = left;
        geometry.top = top;
    }
    void moveAndSize(const TwipRect& g) override { geometry = g; }

    TwipRect geometry{0, 0, 9000, 7000};
};

using Entries = std::map<std::pair<std::string, std::string>, std::optional<std::string>>;

Entries readAll(const std::string& file) {
    Entries entries;
    for (const char* section : kSections)
        for (const char* key : kKeys) entries[{section, key}] = GetProfileString(file, section, key);
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The settings file of the program folder is the one in the run's folder.
    ::setenv("KALVENOR_HOME", FuzzFolder().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::string section = kSections[data[0] % std::size(kSections)];
    const std::string key = kKeys[data[1] % std::size(kKeys)];
    // A value as the program writes them: the text of a whole number of twips.
    const std::string value = std::to_string((static_cast<int>(data[2]) - 128) * 397);
    const std::string file = IniFilePath();
    WriteBytes(file, data + 3, size - 3);

    const Entries before = readAll(file);
    for (const auto& [name, text] : before) {
        const long n = GetProfileInt(file, name.first, name.second, 0);
        check(n >= INT_MIN && n <= INT_MAX);
        const std::string read = ReadIniString(name.first, name.second);
        check(read.size() <= 199 && read == TrimBlanks(read) && read.find('\0') == std::string::npos);
        check(text.has_value() || read.empty());
    }

    PlacedWindow window;
    CSApplication().ThisFormPosnGet(window, true, false);
    const TwipRect& g = window.geometry;
    check(g.top >= 0 && g.left >= 0 && g.height >= 1 && g.width >= 1);
    check(g.top + g.height <= kScreen.height && g.left + g.width <= kScreen.width);

    check(WriteProfileString(file, section, key, value));
    check(GetProfileString(file, section, key) == value);
    const Entries after = readAll(file);
    for (const auto& [name, text] : before) {
        if (EqualsIgnoreCase(name.first, section) && EqualsIgnoreCase(name.second, key)) continue;
        check(after.at(name) == text);
    }
    return 0;
}
