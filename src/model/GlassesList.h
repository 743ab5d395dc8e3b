// The user's collection of materials for the whole run: the records in the
// order they were added, the key sets that tell user, catalogue and supplied
// identities apart, the collection file with its backup, and the design
// program's two name lists.
//
// The program owns one GlassesList; every window works on copies of its
// records and hands changes back through AddGlassStamped or SetGlasses, then
// has the file rewritten (SaveUserGlasses) and the list window redrawn
// (RefreshListWindow). The store never saves on its own.
//
// Records are numbered 1..Count() as the windows and the list's rows number
// them. Where a whole collection is passed as a std::vector, element i is
// record i + 1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/GlassRecord.h"
#include "platform/LargeMemory.h"

class IBoxes;
class IClock;

// A set of GlassKey texts, no duplicates.
using GlassKeySet = std::unordered_set<std::string>;

// File names in the program folder (written by this program: exact case).
inline constexpr const char* kCollectionFileName = "UserDefineGlassesV3.DAT";
inline constexpr const char* kCollectionBackupName = "UserDefineGlassesBkup.DAT";
// A damaged file's copy is its name and this ("UserDefineGlassesV3.DAT.damaged"),
// then ".2", ".3" ... when that name is taken.
inline constexpr const char* kDamagedCopySuffix = ".damaged";
// In the 3D design program's folder (written on Windows: found ignoring case).
inline constexpr const char* kCatalogNamesFileName = "STTessaralExA.dat";
inline constexpr const char* kSuppliedNamesFileName = "SPTessaral.dat";

// The catalogue name list's record; only name and source mean anything here.
struct CatalogNameRecord {
    FixedText<30> name;
    std::int16_t value = 0;
    FixedText<30> source;
    std::array<std::uint8_t, 433> rest{};  // not interpreted

    bool operator==(const CatalogNameRecord&) const = default;
};
constexpr std::size_t kCatalogNameRecordBytes = 495;

// All zeros, name and source blank.
void InitCatalogNameRecord(CatalogNameRecord& rec);
void InitDesignFileRecord(DesignGlassRecord& rec);
// `in` must hold kCatalogNameRecordBytes.
void ReadCatalogNameRecord(const std::uint8_t* in, CatalogNameRecord& rec);

// Identity rules. "NUL" is the byte 0.
// Upper-cased trimmed name, "|", upper-cased trimmed source.
std::string MakeGlassKey(std::string_view name, std::string_view source);
// Trimmed name and trimmed source both non-empty and free of NUL.
bool IsValidGlassIdent(const GlassRecord& glass);
// Non-empty and free of NUL.
bool IsValidText(std::string_view text);
// Names equal and sources equal, upper-cased and trimmed.
bool SameGlassIdent(const GlassRecord& glassA, const GlassRecord& glassB);

// Key-set operations, one body for all three sets. AddGlassKey puts the key
// of the definition into the set unless the trimmed name is empty or the name
// field holds a NUL; a key already there is no error.
void AddGlassKey(const GlassDefinition& definition, GlassKeySet& keySet);
bool GlassKeyExists(const GlassDefinition& definition, const GlassKeySet& keySet);
void ClearGlassKeys(GlassKeySet& keySet);

class GlassesList {
public:
    // programFolder: the folder of the collection file (a trailing '/' is added
    // when missing). Boxes and clock must outlive the store.
    GlassesList(IBoxes& boxes, IClock& clock, const std::string& programFolder);

    const std::string& ProgramFolder() const { return m_programFolder; }

    // The collection.
    int Count() const { return static_cast<int>(m_glasses.size()); }
    // Record nIndex (1..Count()) into glass; False and glass untouched outside.
    bool GetGlass(int nIndex, GlassRecord& glass) const;
    // A copy of every record (empty when the count is 0).
    std::vector<GlassRecord> GetGlasses() const;
    // Read-only view of the records without copying them, for the list's
    // filler; do not hold it across a change of the store.
    std::span<const GlassRecord> Records() const { return m_glasses; }
    // The collection becomes a copy of glasses; the user keys are rebuilt.
    void SetGlasses(const std::vector<GlassRecord>& glasses);

    // False with nothing changed for an invalid identity, or for a known key
    // without bReplace. With bReplace a known key overwrites the first record
    // of the same identity in its place; a new key is appended.
    bool AddGlass(const GlassRecord& glass, bool bReplace);
    // Stamps glass (the caller's record, even when refused) with the current
    // date, then AddGlass.
    bool AddGlassStamped(GlassRecord& glass, bool bReplace);

    bool IsCustomGlass(const GlassRecord& glass) const;
    bool IsCatalogOrSuppliedGlass(const GlassRecord& glass) const;
    // Whether the user may store glass under its name and source; on False msg
    // holds the text to show. With bAsk an existing custom material is refused
    // with the overwrite question (the caller asks it and, on Yes, stores with
    // bReplace); without bAsk it passes.
    bool CheckNameAllowed(const GlassRecord& glass, bool bAsk, std::string& msg) const;

    const GlassKeySet& UserKeys() const { return m_userKeys; }
    const GlassKeySet& CatalogKeys() const { return m_catalogKeys; }
    const GlassKeySet& SuppliedKeys() const { return m_suppliedKeys; }

    // The list window registers how it redraws itself.
    void SetRefreshCallback(std::function<void()> callback) { m_refresh = std::move(callback); }
    void RefreshListWindow() const;

    // The collection file. Load fills the store from UserDefineGlassesV3.DAT,
    // or converts the newest older file when it is missing. A file that cannot
    // be read, or something other than a file in its place (a folder, a FIFO),
    // leaves the store empty, deletes nothing and tells the user. A damaged
    // file (records that fail GlassRecordFault, a last record cut short, or
    // no bytes at all) gives its sound records; a copy of the file as it was
    // is kept beside it (kDamagedCopySuffix, with a number when that name is
    // taken; a copy kept at an earlier start is used again) and the user is
    // told once what was found and where the copy is.
    void LoadUserGlasses();
    // Writes the collection file crash-safely, keeping the previous one as the
    // backup unless it holds no whole record and the backup does; an empty
    // collection removes the file (the backup stays; a link goes, not the
    // file it leads to). A file or backup that is a link is written through
    // it; the backup never becomes a link to the file. On False the user has
    // been told which file failed and why, and the old file is still there.
    // After a load that could not read its file, or kept no copy of a damaged
    // one, nothing is written until the next successful load: a save would
    // replace materials the store never held. What is not a regular file is
    // never replaced. Records are written sound (MakeGlassRecordSound), so the
    // next load takes every one of them.
    bool SaveUserGlasses();

    // The design program's name lists, from designFolder (its folder as the
    // Setup page keeps it). An empty folder or a missing file leaves the set
    // empty without a word; a read error keeps the keys read before it.
    void LoadCatalogNames(const std::string& designFolder);
    void LoadSuppliedNames(const std::string& designFolder);

    // Reads a file of fixed records of recordBytes each, converts each whole
    // record into a GlassRecord and adds it by AddGlass(record, false). A
    // damaged file is handled as LoadUserGlasses tells. On a file-system
    // error, or when no copy of a damaged file could be kept, the user is told
    // and the result is False (the store emptied after an error). Shared by
    // the collection file and the converters of the older files.
    bool ReadRecordFile(const std::string& path, std::size_t recordBytes,
                        void (*convert)(const std::uint8_t* in, GlassRecord& glass));

private:
    struct FileDamage;

    bool ReadCollectionFile();
    // False with the file that failed and the reason.
    bool WriteCollectionFile(std::string& failedFile, std::string& why);
    // For a valid identity whose key is new: adds the key, True.
    bool admitNewKey(const GlassRecord& glass);
    void clearCollection();
    // Empties the store, stops saving and tells the user why path was not read.
    void refuseFile(const std::string& path, const std::string& why);
    bool reportDamage(const std::string& path, std::size_t recordBytes, const FileDamage& damage);

    IBoxes& m_boxes;
    IClock& m_clock;
    std::string m_programFolder;
    std::vector<GlassRecord, LargeBlockAllocator<GlassRecord>> m_glasses;
    GlassKeySet m_userKeys;
    GlassKeySet m_catalogKeys;
    GlassKeySet m_suppliedKeys;
    std::function<void()> m_refresh;
    // The file a save must not replace since the last load, and why; empty
    // after a good load.
    std::string m_blockedFile;
    std::string m_blockedWhy;
};
