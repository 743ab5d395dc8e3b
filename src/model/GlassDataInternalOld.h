// The three older collection files and their conversion to the current
// record. Each file is read, its records converted and added to the store,
// the current file written, and only then the old file deleted.
//
// Old records are read field by field at their own offsets; whatever an old
// layout does not hold stays zero (texts included), as the files always had it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/GlassRecord.h"

class GlassesList;

inline constexpr const char* kCollectionV2FileName = "UserDefineGlassesV2.DAT";
inline constexpr const char* kCollectionV1FileName = "UserDefineGlasses.DAT";
inline constexpr const char* kCollectionOldestFileName = "UserDefGlasses.DAT";

constexpr std::size_t kGlassRecordV2Bytes = 12604;
constexpr std::size_t kGlassRecordV1Bytes = 12098;
constexpr std::size_t kGlassRecordOldestBytes = 12070;
constexpr std::size_t kMeltBlockV2Bytes = 506;

// False only when the file is not in the store's program folder. True when it
// was converted, and also when it could not be read or the current file could
// not be written: the user has then been told and the old file is kept.
bool ConvertV2File(GlassesList& store);
bool ConvertV1File(GlassesList& store);
bool ConvertOldestFile(GlassesList& store);

// One old record (its size in bytes at `in`) into glass.
void ConvertV2Record(const std::uint8_t* in, GlassRecord& glass);
void ConvertV1Record(const std::uint8_t* in, GlassRecord& glass);
void ConvertOldestRecord(const std::uint8_t* in, GlassRecord& glass);
// The old melt block (kMeltBlockV2Bytes at `in`): singles widened to doubles;
// the old second count is not taken, the new one is 0.
void ConvertMeltBlockV2(const std::uint8_t* in, MeltBlock& melt);
