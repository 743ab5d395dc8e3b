#include "model/GlassesList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <span>

#include "model/ByteIO.h"
#include "platform/Clock.h"
#include "model/FileUtil.h"
#include "model/GlassDataInternalOld.h"
#include "platform/Boxes.h"

namespace {

constexpr const char* kCrLf = "\r\n";

bool hasNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

std::string keyPart(std::string_view text) { return UpperCase1252(TrimBlanks(text)); }

std::string definitionKey(const GlassDefinition& d) {
    return MakeGlassKey(std::string_view(d.name.bytes.data(), d.name.size()),
                        std::string_view(d.source.bytes.data(), d.source.size()));
}

std::string errnoText(int err) { return std::strerror(err); }

// Reads the file in chunks and hands each whole record to each(); a tail
// shorter than a record is ignored. False with why on a file-system error.
// expect(n) learns beforehand how many records the file holds now.
template <class Each, class Expect>
bool forEachRecord(const std::string& path, std::size_t recordBytes, Each each, Expect expect, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        why = errnoText(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) expect(static_cast<std::size_t>(info.st_size) / recordBytes);
    constexpr std::size_t kChunkRecords = 64;
    std::vector<std::uint8_t> buffer(recordBytes * kChunkRecords);
    std::size_t used = 0;
    bool atEnd = false;
    while (!atEnd) {
        const ssize_t n = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            why = errnoText(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) atEnd = true;
        used += static_cast<std::size_t>(n);
        if (used < buffer.size() && !atEnd) continue;  // fill the chunk first
        const std::size_t whole = used / recordBytes;
        for (std::size_t i = 0; i < whole; ++i) each(buffer.data() + i * recordBytes);
        const std::size_t rest = used - whole * recordBytes;
        std::memmove(buffer.data(), buffer.data() + whole * recordBytes, rest);
        used = rest;
    }
    ::close(fd);
    return true;
}

// The reason part of a FileUtil error "path: reason".
std::string reasonOf(const std::string& error, const std::string& path) {
    const std::string prefix = path + ": ";
    return error.compare(0, prefix.size(), prefix) == 0 ? error.substr(prefix.size()) : error;
}

// Keeps the current file as the backup. A hard link shares the old bytes
// without copying them; the rename that follows gives the collection file a
// new inode, so the backup keeps the old contents. Where the file system has
// no links, a byte copy does the same.
bool keepBackup(const std::string& file, const std::string& backup, std::string& failedFile, std::string& why) {
    const std::string temp = backup + ".tmp~";
    ::unlink(temp.c_str());
    if (::link(file.c_str(), temp.c_str()) == 0) {
        if (::rename(temp.c_str(), backup.c_str()) == 0) return true;
        failedFile = backup;
        why = errnoText(errno);
        ::unlink(temp.c_str());
        return false;
    }
    std::string error;
    if (CopyFileBytes(file, backup, &error)) return true;
    failedFile = error.rfind(file + ": ", 0) == 0 ? file : backup;
    why = reasonOf(error, failedFile);
    return false;
}

template <class Names>
void loadNameList(const std::string& designFolder, const char* fileName, std::size_t recordBytes,
                  GlassKeySet& keys, Names readNames) {
    ClearGlassKeys(keys);
    // An unset folder must not turn into a bare name looked up in the current folder.
    if (designFolder.empty()) return;
    const std::optional<std::string> path = FindFileIgnoreCase(designFolder, fileName);
    if (!path) return;
    std::string why;
    GlassDefinition definition;
    forEachRecord(
        *path, recordBytes,
        [&](const std::uint8_t* in) {
            readNames(in, definition);
            AddGlassKey(definition, keys);
        },
        [&](std::size_t n) { keys.reserve(n); }, why);
}

}  // namespace

void InitCatalogNameRecord(CatalogNameRecord& rec) { rec = CatalogNameRecord{}; }

void InitDesignFileRecord(DesignGlassRecord& rec) {
    rec = DesignGlassRecord{};
    rec.definition.name.clear();
    rec.definition.source.clear();
}

void ReadCatalogNameRecord(const std::uint8_t* in, CatalogNameRecord& rec) {
    ByteReader r(in);
    r.field(rec.name);
    r.field(rec.value);
    r.field(rec.source);
    r.field(rec.rest);
}

std::string MakeGlassKey(std::string_view name, std::string_view source) {
    return keyPart(name) + "|" + keyPart(source);
}

bool IsValidGlassIdent(const GlassRecord& glass) {
    const std::string name = glass.definition.name.str();
    const std::string source = glass.definition.source.str();
    return !name.empty() && !source.empty() && !hasNul(name) && !hasNul(source);
}

bool IsValidText(std::string_view text) { return !text.empty() && !hasNul(text); }

bool SameGlassIdent(const GlassRecord& glassA, const GlassRecord& glassB) {
    return keyPart(glassA.definition.name.str()) == keyPart(glassB.definition.name.str()) &&
           keyPart(glassA.definition.source.str()) == keyPart(glassB.definition.source.str());
}

void AddGlassKey(const GlassDefinition& definition, GlassKeySet& keySet) {
    if (definition.name.isBlank()) return;
    if (hasNul(definition.name.raw())) return;
    keySet.insert(definitionKey(definition));
}

bool GlassKeyExists(const GlassDefinition& definition, const GlassKeySet& keySet) {
    return keySet.contains(definitionKey(definition));
}

void ClearGlassKeys(GlassKeySet& keySet) { keySet.clear(); }

GlassesList::GlassesList(IBoxes& boxes, IClock& clock, const std::string& programFolder)
    : m_boxes(boxes), m_clock(clock), m_programFolder(WithTrailingSeparator(programFolder)) {}

bool GlassesList::GetGlass(int nIndex, GlassRecord& glass) const {
    if (nIndex < 1 || nIndex > Count()) return false;
    glass = m_glasses[static_cast<std::size_t>(nIndex - 1)];
    return true;
}

std::vector<GlassRecord> GlassesList::GetGlasses() const { return m_glasses; }

void GlassesList::SetGlasses(const std::vector<GlassRecord>& glasses) {
    if (&glasses != &m_glasses) m_glasses = glasses;
    ClearGlassKeys(m_userKeys);
    for (const GlassRecord& g : m_glasses) AddGlassKey(g.definition, m_userKeys);
}

bool GlassesList::admitNewKey(const GlassRecord& glass) {
    return IsValidGlassIdent(glass) && m_userKeys.insert(definitionKey(glass.definition)).second;
}

bool GlassesList::AddGlass(const GlassRecord& glass, bool bReplace) {
    if (!IsValidGlassIdent(glass)) return false;
    if (GlassKeyExists(glass.definition, m_userKeys)) {
        if (!bReplace) return false;
        const auto same = std::find_if(m_glasses.begin(), m_glasses.end(),
                                       [&](const GlassRecord& g) { return SameGlassIdent(g, glass); });
        if (same == m_glasses.end()) return false;
        *same = glass;
        return true;
    }
    AddGlassKey(glass.definition, m_userKeys);
    m_glasses.push_back(glass);
    return true;
}

bool GlassesList::AddGlassStamped(GlassRecord& glass, bool bReplace) {
    glass.lastStored = m_clock.now();
    return AddGlass(glass, bReplace);
}

bool GlassesList::IsCustomGlass(const GlassRecord& glass) const {
    return GlassKeyExists(glass.definition, m_userKeys);
}

bool GlassesList::IsCatalogOrSuppliedGlass(const GlassRecord& glass) const {
    return GlassKeyExists(glass.definition, m_catalogKeys) || GlassKeyExists(glass.definition, m_suppliedKeys);
}

bool GlassesList::CheckNameAllowed(const GlassRecord& glass, bool bAsk, std::string& msg) const {
    const std::string identity = glass.definition.name.str() + " - " + glass.definition.source.str();
    if (GlassKeyExists(glass.definition, m_catalogKeys)) {
        msg = identity + " is already in the list of catalog materials, and cannot be overwritten!";
        return false;
    }
    if (GlassKeyExists(glass.definition, m_suppliedKeys)) {
        msg = identity + " is already in the " + "Harvenne" +
              " supplied list of generic materials, and cannot be overwritten!";
        return false;
    }
    if (bAsk && GlassKeyExists(glass.definition, m_userKeys)) {
        msg = identity + " is already in your list of custom materials." + kCrLf + kCrLf +
              "Do you want to overwrite it?";
        return false;
    }
    return true;
}

void GlassesList::RefreshListWindow() const {
    if (m_refresh) m_refresh();
}

void GlassesList::clearCollection() {
    m_glasses.clear();
    ClearGlassKeys(m_userKeys);
}

void GlassesList::showLoadFailure(const std::string& path, const std::string& why) const {
    m_boxes.show(kBoxExclamation, std::string("Your materials could not be loaded.") + kCrLf + kCrLf + "File: " +
                                      path + kCrLf + "Reason: " + why + kCrLf + kCrLf +
                                      "The list of materials is empty for now; no file was changed or deleted." +
                                      kCrLf + "Nothing is saved until the program is started again with the file readable.");
}

bool GlassesList::ReadRecordFile(const std::string& path, std::size_t recordBytes,
                                 void (*convert)(const std::uint8_t* in, GlassRecord& glass)) {
    std::string why;
    // Each record is read straight into its place and taken back when the
    // store refuses it, which is AddGlass(record, false) without a copy.
    const bool read = forEachRecord(
        path, recordBytes,
        [&](const std::uint8_t* in) {
            GlassRecord& glass = m_glasses.emplace_back();
            convert(in, glass);
            if (!admitNewKey(glass)) m_glasses.pop_back();
        },
        [&](std::size_t n) {
            m_glasses.reserve(m_glasses.size() + n);
            m_userKeys.reserve(m_userKeys.size() + n);
        },
        why);
    if (read) return true;
    clearCollection();
    m_unreadFile = path;
    m_unreadWhy = why;
    showLoadFailure(path, why);
    return false;
}

bool GlassesList::ReadCollectionFile() {
    return ReadRecordFile(m_programFolder + kCollectionFileName, kGlassRecordBytes, ReadGlassRecord);
}

void GlassesList::LoadUserGlasses() {
    clearCollection();
    m_unreadFile.clear();
    m_unreadWhy.clear();
    if (FileExists(m_programFolder + kCollectionFileName)) {
        ReadCollectionFile();
        return;
    }
    // At most one older file is converted, the newest first.
    if (ConvertV2File(*this)) return;
    if (ConvertV1File(*this)) return;
    ConvertOldestFile(*this);
}

bool GlassesList::WriteCollectionFile(std::string& failedFile, std::string& why) {
    const std::string file = m_programFolder + kCollectionFileName;
    const std::string backup = m_programFolder + kCollectionBackupName;
    const bool hadFile = FileExists(file);
    if (m_glasses.empty()) {
        // The backup takes the old file: copy and delete in one step.
        if (hadFile && ::rename(file.c_str(), backup.c_str()) != 0) {
            failedFile = backup;
            why = errnoText(errno);
            return false;
        }
        return true;
    }

    // Packed a few records at a time, so a large collection needs no second
    // copy of itself in memory.
    constexpr std::size_t kPieceRecords = 64;
    std::vector<std::uint8_t> piece(kPieceRecords * kGlassRecordBytes);
    std::size_t next = 0;
    const auto nextPiece = [&]() -> std::span<const std::uint8_t> {
        const std::size_t n = std::min(kPieceRecords, m_glasses.size() - next);
        for (std::size_t i = 0; i < n; ++i) WriteGlassRecord(m_glasses[next + i], piece.data() + i * kGlassRecordBytes);
        next += n;
        return {piece.data(), n * kGlassRecordBytes};
    };

    // New file complete and on disk first, then the backup, then the swap: a
    // failure at any step leaves the old file in place.
    const std::string fresh = file + ".new";
    std::string error;
    if (!WriteFileAtomicInPieces(fresh, nextPiece, &error)) {
        failedFile = file;
        why = reasonOf(error, fresh);
        return false;
    }
    if (hadFile && !keepBackup(file, backup, failedFile, why)) {
        ::unlink(fresh.c_str());
        return false;
    }
    if (::rename(fresh.c_str(), file.c_str()) != 0) {
        failedFile = file;
        why = errnoText(errno);
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

bool GlassesList::SaveUserGlasses() {
    std::string failedFile, why;
    if (!m_unreadFile.empty()) {
        failedFile = m_unreadFile;
        why = "it could not be read when the program started (" + m_unreadWhy +
              "); saving now would lose the materials it holds";
    } else if (WriteCollectionFile(failedFile, why)) {
        return true;
    }
    m_boxes.show(kBoxExclamation, std::string("Your materials could not be saved.") + kCrLf + kCrLf + "File: " +
                                      failedFile + kCrLf + "Reason: " + why + kCrLf + kCrLf +
                                      "Any earlier collection file was left as it was.");
    return false;
}

void GlassesList::LoadCatalogNames(const std::string& designFolder) {
    loadNameList(designFolder, kCatalogNamesFileName, kCatalogNameRecordBytes, m_catalogKeys,
                 [](const std::uint8_t* in, GlassDefinition& definition) {
                     CatalogNameRecord rec;
                     ReadCatalogNameRecord(in, rec);
                     definition.name = rec.name;
                     definition.source = rec.source;
                 });
}

void GlassesList::LoadSuppliedNames(const std::string& designFolder) {
    loadNameList(designFolder, kSuppliedNamesFileName, kDesignGlassRecordBytes, m_suppliedKeys,
                 [](const std::uint8_t* in, GlassDefinition& definition) { ReadGlassDefinition(in, definition); });
}
