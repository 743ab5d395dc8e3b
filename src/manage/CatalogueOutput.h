// Materials written into the catalogue program's database as its own rows
// (s1 = 8), and taken out again: the column mapping of one material, the
// allocation of GlassIDs, and the batches, each in one transaction that is
// rolled back whole on any failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "manage/CatalogueDatabase.h"
#include "manage/ExistingMaterials.h"
#include "model/GlassRecord.h"

class IBoxes;

inline constexpr const char* kRolledBackText = "Database has been returned to original state!";

// Opens the catalogue folder's database; on failure tells the user
// ("Unable to open database in path:") and returns False.
bool OpenCatalogueDatabase(CatalogueDatabase& db, const std::string& catalogueFolder, IBoxes& boxes);

// Told after each material of a batch has been handled: done of total.
using OutputProgress = std::function<void(std::size_t done, std::size_t total)>;

// Adds the materials to "GlassData", honouring mode for materials the database
// already holds as own rows. True when committed; on failure the database is
// as before and the user is told.
bool ExportToCatalogue(const std::string& catalogueFolder, std::span<const GlassRecord> glasses,
                       ExistingMaterials mode, IBoxes& boxes, const OutputProgress& progress = {});

// Removes every own row of both tables and adds the materials, all in one
// transaction: either the database holds exactly the materials as own rows,
// or it is as before and the user is told.
bool SynchroniseCatalogue(const std::string& catalogueFolder, std::span<const GlassRecord> glasses,
                          ExistingMaterials mode, IBoxes& boxes, const OutputProgress& progress = {});

// The steps, on an open database inside the caller's transaction. Each returns
// False on an engine failure (db.lastError() tells it).
bool RemoveOwnRows(CatalogueDatabase& db);
// The largest GlassID of both tables plus one (1 for empty tables); a largest
// of 32767 or more, whatever its number, gives 32768: none is free.
bool NextGlassID(CatalogueDatabase& db, std::int64_t& id);
// Overwrite: deletes earlier own copies (in "GlassData", else in "Archive") and
// add is True. Leave: add is True only when neither table holds an own copy.
bool ResolveExistingCopies(CatalogueDatabase& db, const GlassRecord& glass, ExistingMaterials mode, bool& add);
bool AddGlassRow(CatalogueDatabase& db, std::int64_t id, const GlassRecord& glass);
bool DeleteMatchingRows(CatalogueDatabase& db, const std::string& table, const DbCriteria& criteria, bool& deleted);
bool RowExists(CatalogueDatabase& db, const std::string& table, const DbCriteria& criteria, bool& exists);

// The criteria of an own row, and of an own copy of a material.
DbCriteria OwnRowCriteria();
DbCriteria OwnCopyCriteria(const GlassRecord& glass);

// The columns of one new row. False (error set) when a numeric property text
// is not a number.
bool WriteGlassRow(std::vector<DbField>& row, std::int64_t id, const GlassRecord& glass, DbError& error);
// The nine dispersion columns, from the formula evaluated afresh.
void WriteDispersionColumns(std::vector<DbField>& row, const GlassRecord& glass);

// The value rounded to that many decimals, as a single (exact for single inputs).
float RoundTo(double value, int decimals);
// "Sch", "Sel", "Scx", "Cau", or "" for any other formula type.
std::string PolytypeCode(std::int16_t formulaType);
// Trimmed text: empty gives Null; a numeric column gets a single, a text
// column the text. False (value untouched) when a numeric column's text is not a number.
bool PropertyValue(const std::string& text, bool numeric, DbValue& value);
