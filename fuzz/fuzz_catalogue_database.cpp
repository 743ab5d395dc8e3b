// The catalogue database opened from a damaged file. The first byte picks the
// file: the input itself, or a good database of both tables with foreign and
// own rows damaged at the places the input names (offset, byte), perhaps cut
// short; it also picks the existing-materials mode. The database is opened,
// read as the callers read it (columns, rows, the search by ID and criteria,
// the next free ID), written inside a transaction that is rolled back, and an
// export is tried. Beyond not crashing: a failed export and every rolled back
// transaction leave the file exactly as it was, and no journal is left beside it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "manage/CatalogueDatabase.h"
#include "manage/CatalogueOutput.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

GlassRecord fuzzGlass(const char* name, const char* source) {
    GlassRecord glass;
    InitGlassRecord(glass);
    glass.definition.name.set(name);
    glass.definition.source.set(source);
    glass.definition.catalogNumber = kOwnCatalogNumber;
    glass.definition.formulaType = 2;  // Sellmeier, the demo's N-BK7
    glass.definition.coefficients = {1.03961212, 0.00600069867, 0.231792344, 0.0200179144, 1.01046945, 103.560653};
    glass.definition.lowerWavelength = 300;
    glass.definition.upperWavelength = 2500;
    return glass;
}

// A good database: two foreign rows and own rows in both tables.
Bytes makeTemplate() {
    const std::string folder = FreshFolder("template");
    const std::string path = folder + kCatalogueFileName;
    check(CreateCatalogueDatabase(path));
    CatalogueDatabase db;
    check(db.open(folder) && db.beginTrans());
    for (std::int64_t id : {1, 2})
        check(db.addRow(kGlassDataTable, {{"GlassID", id}, {"s1", std::int64_t{1}}, {"GlassName", std::string("F") + char('0' + id)},
                                          {"Source", std::string("MAKER")}, {"nd", 1.5}}));
    check(AddGlassRow(db, 3, fuzzGlass("OWN ONE", "LAB")) && AddGlassRow(db, 4, fuzzGlass("OWN TWO", "LAB")));
    std::vector<DbValue> archived(CatalogueColumns().size());
    archived[0] = std::int64_t{5};
    archived[1] = std::int64_t{kOwnCatalogNumber};
    archived[2] = std::string("ARCHIVED");
    check(db.addRowByPosition(kArchiveTable, archived) && db.commitTrans());
    db.close();
    return ReadBytes(path);
}

const Bytes& templateBytes() {
    static const Bytes bytes = makeTemplate();
    return bytes;
}

Bytes damaged(const std::uint8_t* data, std::size_t size, bool cut) {
    Bytes bytes = templateBytes();
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        const std::size_t at = (data[i] | (data[i + 1] << 8)) % bytes.size();
        bytes[at] = data[i + 2];
    }
    if (cut && size >= 2) bytes.resize((data[0] | (data[1] << 8)) % bytes.size());
    return bytes;
}

bool unchanged(const std::string& file, const Bytes& bytes) {
    std::error_code ec;
    return ReadBytes(file) == bytes && !std::filesystem::exists(file + "-journal", ec) &&
           !std::filesystem::exists(file + "-wal", ec);
}

// What the pages read of the database, and a batch that is rolled back.
void readAndRollBack(CatalogueDatabase& db) {
    for (const char* table : {kGlassDataTable, kArchiveTable}) {
        std::vector<std::string> names;
        DbRowSet rows;
        bool found = false, exists = false;
        db.columns(table, names);
        db.findRows(table, {}, rows);
        db.findRows(table, OwnRowCriteria(), rows);
        db.seekID(table, 3, rows, found);
        RowExists(db, table, OwnCopyCriteria(fuzzGlass("OWN ONE", "LAB")), exists);
    }
    std::int64_t id = 0;
    if (!db.beginTrans()) return;
    if (NextGlassID(db, id) && RemoveOwnRows(db)) AddGlassRow(db, id, fuzzGlass("NEW", "LAB"));
    db.rollback();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t how = data[0];
    const Bytes bytes = (how & 1) ? damaged(data + 1, size - 1, how & 2) : Bytes(data + 1, data + size);
    const std::string folder = FreshFolder("catalogue");
    const std::string file = folder + kCatalogueFileName;
    WriteBytes(file, bytes.data(), bytes.size());

    {
        CatalogueDatabase db;
        if (db.open(folder)) readAndRollBack(db);
    }
    check(unchanged(file, bytes));

    SilentBoxes boxes;
    const GlassRecord glasses[] = {fuzzGlass("OWN ONE", "LAB"), fuzzGlass("NEW", "LAB")};
    const ExistingMaterials mode = (how & 4) ? kLeaveExisting : kOverwriteExisting;
    if (!ExportToCatalogue(folder, glasses, mode, boxes)) check(unchanged(file, bytes));
    return 0;
}
