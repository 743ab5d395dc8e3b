// The design programs' custom material file "USTessaral.dat": read from the 3D
// design program's folder, merged with delivered materials, and rewritten in
// that folder and the tolerancer's, each time keeping the previous file as
// "USGlassBkup.dat". Files are found ignoring case (they come from Windows) and
// written whole through a temporary file, so a failed write leaves the old one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "manage/ExistingMaterials.h"
#include "model/GlassRecord.h"

class IBoxes;

inline constexpr const char* kDesignFileName = "USTessaral.dat";
inline constexpr const char* kDesignBackupName = "USGlassBkup.dat";

// The definition with zeros after it, and back into an otherwise blank record.
DesignGlassRecord ToDesignRecord(const GlassRecord& glass);
void FromDesignRecord(const DesignGlassRecord& record, GlassRecord& glass);

// The materials of folder's file, in file order, without entries whose name is
// blank or holds a NUL. No file gives an empty list; a file that exists but
// cannot be read gives nullopt (so that it is never overwritten by mistake).
std::optional<std::vector<GlassRecord>> ReadDesignFile(const std::string& folder);

// Each delivered material replaces (Overwrite) or leaves (Leave) the first
// entry of the list with the same name and source, or is appended.
void MergeDesignList(std::vector<GlassRecord>& list, std::span<const GlassRecord> glasses, ExistingMaterials mode);

// Backs up folder's file, with its permission bits, and writes the list in
// its place; an empty list leaves only the backup. Either file may be a link,
// written through; something other than a regular file in either place is
// left as it is. On failure the user is told which file and why, and False
// is returned.
bool WriteDesignFile(const std::string& folder, const std::vector<GlassRecord>& list, IBoxes& boxes);

// Update: the 3D folder's file merged with the delivered materials, written to
// the 3D folder and then to the tolerancer's folder when that is set and
// exists. Synchronise: the given materials alone, without reading the old file.
// Each stops at the first failure (already told); False then.
bool UpdateDesignFiles(const std::string& designFolder, const std::string& tolerancerFolder,
                       std::span<const GlassRecord> glasses, ExistingMaterials mode, IBoxes& boxes);
bool SynchroniseDesignFiles(const std::string& designFolder, const std::string& tolerancerFolder,
                            std::span<const GlassRecord> glasses, IBoxes& boxes);
