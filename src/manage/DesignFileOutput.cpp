#include "manage/DesignFileOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "platform/Boxes.h"

namespace {

std::string designFilePath(const std::string& folder) {
    if (auto found = FindFileIgnoreCase(folder, kDesignFileName)) return *found;
    return JoinPath(folder, kDesignFileName);
}

std::string backupFilePath(const std::string& folder) {
    if (auto found = FindFileIgnoreCase(folder, kDesignBackupName)) return *found;
    return JoinPath(folder, kDesignBackupName);
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

bool tell(IBoxes& boxes, const std::string& what, const std::string& detail) {
    boxes.show(kBoxExclamation, what + "\r\n" + detail);
    return false;
}

// Something other than a file where the file or its backup goes: never
// replaced by one.
bool refuse(IBoxes& boxes, const std::string& path, const std::string& why) {
    boxes.show(kBoxExclamation, "The design programs' material file could not be written.\r\n\r\nFile: " + path +
                                    "\r\nReason: " + why + "\r\n\r\nAny earlier material file was left as it was.");
    return false;
}

}  // namespace

DesignGlassRecord ToDesignRecord(const GlassRecord& glass) {
    DesignGlassRecord record;
    record.definition = glass.definition;
    return record;
}

void FromDesignRecord(const DesignGlassRecord& record, GlassRecord& glass) {
    InitGlassRecord(glass);
    glass.definition = record.definition;
}

std::optional<std::vector<GlassRecord>> ReadDesignFile(const std::string& folder) {
    std::vector<GlassRecord> list;
    const auto path = FindFileIgnoreCase(folder, kDesignFileName);
    if (!path) return list;
    const auto bytes = ReadWholeFile(*path);
    if (!bytes) return std::nullopt;
    // A short last record is read over a blank one, as far as it goes.
    DesignGlassRecord blankRecord;
    InitDesignFileRecord(blankRecord);
    std::vector<std::uint8_t> blank(kDesignGlassRecordBytes);
    WriteDesignGlassRecord(blankRecord, blank.data());
    for (std::size_t at = 0; at < bytes->size(); at += kDesignGlassRecordBytes) {
        std::vector<std::uint8_t> raw = blank;
        const std::size_t n = std::min(kDesignGlassRecordBytes, bytes->size() - at);
        std::memcpy(raw.data(), bytes->data() + at, n);
        DesignGlassRecord record;
        ReadDesignGlassRecord(raw.data(), record);
        const std::string name = record.definition.name.str();
        if (name.empty() || name.find('\0') != std::string::npos) continue;
        record.definition.name.set(name);
        GlassRecord glass;
        FromDesignRecord(record, glass);
        list.push_back(glass);
    }
    return list;
}

void MergeDesignList(std::vector<GlassRecord>& list, std::span<const GlassRecord> glasses, ExistingMaterials mode) {
    const std::size_t n = list.size();
    for (const auto& glass : glasses) {
        std::size_t j = 0;
        while (j < n && !SameGlassIdent(list[j], glass)) ++j;
        if (j == n) list.push_back(glass);
        else if (mode == kOverwriteExisting) list[j] = glass;
    }
}

bool WriteDesignFile(const std::string& folder, const std::vector<GlassRecord>& list, IBoxes& boxes) {
    if (folder.empty()) return tell(boxes, "Unable to write file:", std::string(kDesignFileName) + ": no folder is set");
    const auto existing = FindFileIgnoreCase(folder, kDesignFileName);
    const std::string path = designFilePath(folder);
    const std::string backup = backupFilePath(folder);
    for (const std::string& place : {path, backup})
        if (const std::optional<std::string> odd = NotARegularFile(place)) return refuse(boxes, place, *odd);
    std::string error;
    if (existing && !CopyFileBytes(*existing, backup, &error))
        return tell(boxes, "Unable to write file:", error);
    if (list.empty()) {
        // The previous file lives on as the backup only.
        if (existing && std::remove(existing->c_str()) != 0)
            return tell(boxes, "Unable to delete file:", *existing + ": " + std::strerror(errno));
        return true;
    }
    std::vector<std::uint8_t> bytes(list.size() * kDesignGlassRecordBytes);
    for (std::size_t i = 0; i < list.size(); ++i)
        WriteDesignGlassRecord(ToDesignRecord(list[i]), bytes.data() + i * kDesignGlassRecordBytes);
    if (!WriteFileAtomic(path, bytes, &error)) return tell(boxes, "Unable to write file:", error);
    return true;
}

namespace {

bool writeBoth(const std::string& designFolder, const std::string& tolerancerFolder,
               const std::vector<GlassRecord>& list, IBoxes& boxes) {
    if (!WriteDesignFile(designFolder, list, boxes)) return false;
    // A tolerancer sharing the 3D folder already has its file; writing it again
    // would put the new file into the backup.
    if (tolerancerFolder.empty() || !FolderExists(tolerancerFolder) || sameFolder(designFolder, tolerancerFolder))
        return true;
    return WriteDesignFile(tolerancerFolder, list, boxes);
}

}  // namespace

bool UpdateDesignFiles(const std::string& designFolder, const std::string& tolerancerFolder,
                       std::span<const GlassRecord> glasses, ExistingMaterials mode, IBoxes& boxes) {
    auto list = ReadDesignFile(designFolder);
    if (!list) return tell(boxes, "Unable to read file:", designFilePath(designFolder));
    MergeDesignList(*list, glasses, mode);
    return writeBoth(designFolder, tolerancerFolder, *list, boxes);
}

bool SynchroniseDesignFiles(const std::string& designFolder, const std::string& tolerancerFolder,
                            std::span<const GlassRecord> glasses, IBoxes& boxes) {
    return writeBoth(designFolder, tolerancerFolder, std::vector<GlassRecord>(glasses.begin(), glasses.end()), boxes);
}
