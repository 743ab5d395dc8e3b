#include "model/GlassesList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
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

std::string_view trimmed(std::string_view text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

std::string keyPart(std::string_view text) { return UpperCase1252(trimmed(text)); }

template <std::size_t N>
std::string_view fieldText(const FixedText<N>& field) {
    return std::string_view(field.bytes.data(), N);
}

std::string definitionKey(const GlassDefinition& d) { return MakeGlassKey(fieldText(d.name), fieldText(d.source)); }

std::string errnoText(int err) { return std::strerror(err); }

// Reads the file in chunks and hands each whole record to each(); tailBytes
// receives the length of a last record cut short. False with why on a
// file-system error or when path is no regular file (a FIFO is never waited
// on). expect(n) learns beforehand how many records the file holds now.
template <class Each, class Expect>
bool forEachRecord(const std::string& path, std::size_t recordBytes, Each each, Expect expect, std::string& why,
                   std::size_t& tailBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errnoText(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? "it is a folder, not a file" : "it is not a regular file";
        ::close(fd);
        return false;
    }
    if (info.st_size > 0) expect(static_cast<std::size_t>(info.st_size) / recordBytes);
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
    tailBytes = used;
    return true;
}

// Whether the file at path holds a whole collection record (False also when
// it cannot be looked at).
bool holdsARecord(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && info.st_size >= static_cast<off_t>(kGlassRecordBytes);
}

// The reason part of a FileUtil error "path: reason".
std::string reasonOf(const std::string& error, const std::string& path) {
    const std::string prefix = path + ": ";
    return error.compare(0, prefix.size(), prefix) == 0 ? error.substr(prefix.size()) : error;
}

// Keeps the current file as the backup. A hard link shares the old bytes
// without copying them; the rename that follows gives the collection file a
// new inode, so the backup keeps the old contents. Where the file system has
// no links, or the two are on different ones, a byte copy does the same.
// Either way the backup is a file, never a link to the collection file.
bool keepBackup(const std::string& file, const std::string& backup, std::string& failedFile, std::string& why) {
    // The second name is one of its own, so another copy of the program
    // keeping its backup at the same time takes nothing of this one.
    TemporaryFile temp;
    if (LinkUnderTemporaryName(file, backup, temp)) {
        if (temp.RenameOverTarget(&why)) return true;
        failedFile = backup;
        return false;
    }
    std::string error;
    if (CopyFileBytes(file, backup, &error)) return true;
    failedFile = error.rfind(file + ": ", 0) == 0 ? file : backup;
    why = reasonOf(error, failedFile);
    return false;
}

// True when path is a symbolic link that leads to the file other names.
bool linksTo(const std::string& path, const std::string& other) {
    struct stat entry {}, led {}, file {};
    return ::lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode) && ::stat(path.c_str(), &led) == 0 &&
           ::stat(other.c_str(), &file) == 0 && led.st_dev == file.st_dev && led.st_ino == file.st_ino;
}

// True when copy already keeps the file as it is: another name of it, or a
// regular file of the same bytes.
bool alreadyKept(const std::string& path, const std::string& copy) {
    struct stat file {}, kept {};
    if (::stat(path.c_str(), &file) != 0 || ::lstat(copy.c_str(), &kept) != 0 || !S_ISREG(kept.st_mode))
        return false;
    if (file.st_dev == kept.st_dev && file.st_ino == kept.st_ino) return true;
    if (file.st_size != kept.st_size) return false;
    const auto a = ReadFileBuffer(path), b = ReadFileBuffer(copy);
    return a && b && a->size == b->size && std::memcmp(a->bytes.get(), b->bytes.get(), a->size) == 0;
}

// Gives the file a second name beside it, path & kDamagedCopySuffix (then
// ".2", ".3" ... up to kMaxDamagedCopies), never over an existing entry; a
// copy kept at an earlier start is used again. The file is never written in
// place, so a link keeps its bytes as they are now.
constexpr int kMaxDamagedCopies = 99;

bool keepDamagedCopy(const std::string& path, std::string& copy, std::string& why) {
    why = "every name up to " + path + kDamagedCopySuffix + "." + std::to_string(kMaxDamagedCopies) + " is taken";
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        copy = path + kDamagedCopySuffix;
        if (n > 1) {
            copy += '.';
            copy += std::to_string(n);
        }
        if (alreadyKept(path, copy)) return true;
        // A link to the file itself, also when path is a link to it.
        if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, copy.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno == EEXIST) continue;
        // No links here: a byte copy, to a name that is free.
        struct stat entry {};
        if (::lstat(copy.c_str(), &entry) == 0) continue;
        std::string error;
        if (CopyFileBytes(path, copy, &error)) return true;
        why = error;
        return false;
    }
    return false;
}

// "1 record" / "3 records".
std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
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
    std::size_t tail = 0;
    GlassDefinition definition;
    forEachRecord(
        *path, recordBytes,
        [&](const std::uint8_t* in) {
            readNames(in, definition);
            AddGlassKey(definition, keys);
        },
        [&](std::size_t n) { keys.reserve(n); }, why, tail);
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
    // One string, upper-cased whole ("|" has no case): every material loaded
    // makes one key.
    const std::string_view n = trimmed(name), s = trimmed(source);
    std::string key;
    key.reserve(n.size() + 1 + s.size());
    key.append(n);
    key += '|';
    key.append(s);
    MakeUpperCase1252(key);
    return key;
}

bool IsValidGlassIdent(const GlassRecord& glass) {
    const std::string_view name = trimmed(fieldText(glass.definition.name));
    const std::string_view source = trimmed(fieldText(glass.definition.source));
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

std::vector<GlassRecord> GlassesList::GetGlasses() const { return {m_glasses.begin(), m_glasses.end()}; }

void GlassesList::SetGlasses(const std::vector<GlassRecord>& glasses) {
    m_glasses.assign(glasses.begin(), glasses.end());
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

void GlassesList::refuseFile(const std::string& path, const std::string& why) {
    clearCollection();
    m_blockedFile = path;
    m_blockedWhy = "it could not be read when the program started (" + why +
                   "); saving now would lose the materials it holds";
    m_boxes.show(kBoxExclamation, std::string("Your materials could not be loaded.") + kCrLf + kCrLf + "File: " +
                                      path + kCrLf + "Reason: " + why + kCrLf + kCrLf +
                                      "The list of materials is empty for now; no file was changed or deleted." +
                                      kCrLf + "Nothing is saved until the program is started again with the file readable.");
}

// What a load found wrong with a file.
struct GlassesList::FileDamage {
    std::size_t records = 0;       // whole records in the file
    std::size_t damaged = 0;       // of them, failing GlassRecordFault
    std::size_t firstDamaged = 0;  // 1-based
    std::string firstFault;
    std::size_t tailBytes = 0;     // of a last record cut short

    bool empty() const { return records == 0 && tailBytes == 0; }
    bool any() const { return damaged > 0 || tailBytes > 0 || empty(); }
};

bool GlassesList::reportDamage(const std::string& path, std::size_t recordBytes, const FileDamage& damage) {
    std::string found;
    if (damage.damaged > 0)
        found = counted(damage.damaged, "record", "records") + " of " + std::to_string(damage.records) +
                (damage.damaged == 1 ? " is" : " are") + " damaged (record " + std::to_string(damage.firstDamaged) +
                ": " + damage.firstFault + ")";
    if (damage.tailBytes > 0) {
        if (!found.empty()) found += "; ";
        found += "the file ends " + std::to_string(damage.tailBytes) + " bytes into a record of " +
                 std::to_string(recordBytes) + " bytes";
    }
    const bool empty = damage.empty();
    if (empty) found = "the file holds 0 bytes, not one record of " + std::to_string(recordBytes) + " bytes";
    const std::string loaded = empty ? std::string("No material was loaded from it.")
                                     : counted(m_glasses.size(), "material was", "materials were") +
                                           " loaded from its sound records.";
    std::string text = std::string(empty ? "Your collection file is empty." : "Your collection file is damaged.") +
                       kCrLf + kCrLf + "File: " + path + kCrLf + "Found: " + found + kCrLf + kCrLf + loaded + kCrLf;
    std::string copy, why;
    const bool kept = keepDamagedCopy(path, copy, why);
    if (kept) {
        text += std::string("The file as it was is kept as:") + kCrLf + copy;
    } else {
        m_blockedFile = path;
        m_blockedWhy = "it is damaged and no copy of it could be kept (" + why +
                       "); saving now would lose the records that could not be loaded";
        text += "No copy of the file as it was could be kept (" + why + ")." + kCrLf +
                "Nothing is saved until the program is started again.";
    }
    m_boxes.show(kBoxExclamation, text);
    return kept;
}

bool GlassesList::ReadRecordFile(const std::string& path, std::size_t recordBytes,
                                 void (*convert)(const std::uint8_t* in, GlassRecord& glass)) {
    std::string why;
    FileDamage damage;
    // Each record is read into one scratch record, which stays in the cache,
    // and copied to its place once the store takes it: AddGlass(record,
    // false) with the new memory written only once.
    auto glass = std::make_unique<GlassRecord>();
    const bool read = forEachRecord(
        path, recordBytes,
        [&](const std::uint8_t* in) {
            ++damage.records;
            convert(in, *glass);
            std::string fault = GlassRecordFault(*glass);
            if (!fault.empty()) {
                if (damage.damaged++ == 0) {
                    damage.firstDamaged = damage.records;
                    damage.firstFault = std::move(fault);
                }
            } else if (admitNewKey(*glass)) {
                m_glasses.push_back(*glass);
            }
        },
        [&](std::size_t n) {
            m_glasses.reserve(m_glasses.size() + n);
            m_userKeys.reserve(m_userKeys.size() + n);
        },
        why, damage.tailBytes);
    if (!read) {
        refuseFile(path, why);
        return false;
    }
    // An empty file is damaged too: one the program wrote holds a record.
    if (!damage.any()) return true;
    return reportDamage(path, recordBytes, damage);
}

bool GlassesList::ReadCollectionFile() {
    return ReadRecordFile(JoinPath(m_programFolder, kCollectionFileName), kGlassRecordBytes, ReadGlassRecord);
}

void GlassesList::LoadUserGlasses() {
    clearCollection();
    m_blockedFile.clear();
    m_blockedWhy.clear();
    const std::string file = JoinPath(m_programFolder, kCollectionFileName);
    // Something else in the file's place is neither read nor, by a
    // conversion, replaced.
    if (const std::optional<std::string> odd = NotARegularFile(file)) {
        refuseFile(file, *odd);
        return;
    }
    if (FileExists(file)) {
        ReadCollectionFile();
        return;
    }
    // At most one older file is converted, the newest first.
    if (ConvertV2File(*this)) return;
    if (ConvertV1File(*this)) return;
    ConvertOldestFile(*this);
}

bool GlassesList::WriteCollectionFile(std::string& failedFile, std::string& why) {
    const std::string file = JoinPath(m_programFolder, kCollectionFileName);
    const std::string backup = JoinPath(m_programFolder, kCollectionBackupName);
    const bool hadFile = FileExists(file);
    // A folder or a FIFO in either place is left alone.
    for (const std::string* path : {&file, &backup}) {
        if (path == &backup && !hadFile) break;
        if (std::optional<std::string> odd = NotARegularFile(*path)) {
            failedFile = *path;
            why = std::move(*odd);
            return false;
        }
    }
    // A backup that is a link to the collection file itself holds no copy of
    // its own and would follow the file: it goes, and the backup is made anew.
    if (hadFile && linksTo(backup, file)) ::unlink(backup.c_str());
    // A file of no whole record never pushes a backup that holds one out:
    // the backup is all that is left of those materials.
    const bool keepsBackup = hadFile && (holdsARecord(file) || !holdsARecord(backup));
    if (m_glasses.empty()) {
        if (!hadFile) return true;
        // The backup takes the old file, then its name goes: a link itself,
        // not the file it leads to.
        if (keepsBackup && !keepBackup(file, backup, failedFile, why)) return false;
        if (RemoveDurably(file, &why)) return true;
        failedFile = file;
        return false;
    }

    // Packed a few records at a time, so a large collection needs no second
    // copy of itself in memory.
    constexpr std::size_t kPieceRecords = 64;
    std::vector<std::uint8_t> piece(kPieceRecords * kGlassRecordBytes);
    std::size_t next = 0;
    const auto nextPiece = [&]() -> std::span<const std::uint8_t> {
        const std::size_t n = std::min(kPieceRecords, m_glasses.size() - next);
        for (std::size_t i = 0; i < n; ++i) {
            const GlassRecord& glass = m_glasses[next + i];
            std::uint8_t* out = piece.data() + i * kGlassRecordBytes;
            if (GlassRecordFault(glass).empty()) {
                WriteGlassRecord(glass, out);
            } else {
                GlassRecord sound = glass;
                MakeGlassRecordSound(sound);
                WriteGlassRecord(sound, out);
            }
        }
        next += n;
        return {piece.data(), n * kGlassRecordBytes};
    };

    // New file complete and on disk first, then the backup, then the swap: a
    // failure at any step leaves the old file in place and no new one beside it.
    TemporaryFile fresh;
    std::string error;
    if (!WriteTemporaryFile(file, nextPiece, fresh, &error)) {
        failedFile = file;
        why = reasonOf(error, file);
        return false;
    }
    if (keepsBackup && !keepBackup(file, backup, failedFile, why)) return false;
    if (!fresh.RenameOverTarget(&why)) {
        failedFile = file;
        return false;
    }
    return true;
}

bool GlassesList::SaveUserGlasses() {
    std::string failedFile, why;
    if (!m_blockedFile.empty()) {
        failedFile = m_blockedFile;
        why = m_blockedWhy;
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
