#include "exchange/Bas4Import.h"

#include <charconv>

#include "exchange/ImportReader.h"
#include "platform/Settings.h"
#include "platform/Text1252.h"

namespace {

bool knownType(int importType) { return importType >= kImportGLZ && importType <= kImportAGF; }

}  // namespace

int LastImportType(const ISettings& settings) {
    const std::string text = TrimBlanks(settings.getOr(kImportSection, kImportLastTypeKey, "1"));
    int type = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), type);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !knownType(type)) return kImportGLZ;
    return type;
}

std::string ImportFolder(const ISettings& settings, int importType, const std::string& programFolder) {
    if (!knownType(importType)) return programFolder;
    const auto folder = settings.get(kImportSection, kImportFolderKeys[importType - 1]);
    return folder && !folder->empty() ? *folder : programFolder;
}

void SaveImportChoice(ISettings& settings, int importType, const std::string& folder) {
    if (!knownType(importType)) return;
    settings.set(kImportSection, kImportLastTypeKey, std::to_string(importType));
    settings.set(kImportSection, kImportFolderKeys[importType - 1], folder);
}
