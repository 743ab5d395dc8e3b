// Glasses read back out of the catalogue program's database for the melt
// pages: the rows of one maker, the parent of a stored melt, and one row
// turned into a material record.
//
// Every value of a query is bound (CatalogueDatabase criteria); a maker or a
// glass name with an apostrophe is only a text. The reader never throws: a
// Null, or a value of the wrong kind, ends as 0, 99 or empty text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "manage/CatalogueDatabase.h"
#include "model/GlassRecord.h"

class IBoxes;

inline constexpr const char* kDbAlreadyOpenText =
    "The database file 'TessaralExA.MDB' is already open.  Please close Vitrarch, and try again";
inline constexpr const char* kQueryErrorText = "There is an error in the database query";
inline constexpr const char* kNoMatchText = "no match";

// A record source: the rows of a table that match every criterion, in stored order.
struct CatalogueQuery {
    std::string table = kGlassDataTable;
    DbCriteria criteria;
};

// The rows of one maker in "GlassData".
CatalogueQuery GlassQuery(const std::string& maker);
DbCriteria MakerCriterion(const std::string& maker);
bool OpenRecordSet(CatalogueDatabase& db, const CatalogueQuery& query, DbRowSet& rows);

// Opens the catalogue folder's database for the melt pages; never creates
// it. A file in use and any other failure are told in a plain box.
bool OpenCatalogDatabase(CatalogueDatabase& db, const std::string& catalogueFolder, IBoxes& boxes);

// The melt maker's reload of a stored melt's parent: the first row of the
// maker source whose GlassName is name (both trimmed, case ignored), read into
// a blank record that carries name and source as its parent. On a failed open,
// a failed query ("There is an error in the database query") or no such row
// ("no match") the user is told, parent is untouched and the result False.
bool ReloadParent(const std::string& catalogueFolder, const std::string& name, const std::string& source,
                  GlassRecord& parent, IBoxes& boxes);

// Fills glass from row `row` of rs. Fields the reader does not write keep
// what the caller put there: Index ready flag, IndexDataType, the measured
// index points, the MeltBlock, the stored date and the transmission table
// positions past the row's points.
void ReadGlassRow(const DbRowSet& rs, std::size_t row, GlassRecord& glass);
void ReadDispersionRow(const DbRowSet& rs, std::size_t row, GlassRecord& glass);

// Null (or a value that is no number) gives 0; NullTo99 gives 99.0.
float NullToZero(const DbValue& value);
float NullTo99(const DbValue& value);
// Null gives ""; a number gives its plain text as a single ("7.1", "520", "7.1E-06").
std::string NullToText(const DbValue& value);
// "Sch" 1, "Sel" 2, "Scx" 3, "Cau" 4, anything else 0.
std::int16_t FormulaTypeFromPolytype(const std::string& text);
