#include "manage/CatalogueOutput.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "model/GlassData.h"
#include "platform/NumberText.h"
#include "platform/Boxes.h"

namespace {

constexpr std::int64_t kLargestGlassID = 32767;

DbValue single(float v) { return static_cast<double>(v); }
DbValue integer(std::int64_t v) { return v; }
DbValue flag(std::int16_t v) { return std::int64_t{v != 0 ? -1 : 0}; }

bool tellRolledBack(CatalogueDatabase& db, const char* what, IBoxes& boxes) {
    const DbError e = db.lastError();
    db.rollback();
    boxes.show(kBoxExclamation, std::string(what) + "\r\n" + DbErrorLines(e) + "\r\n\r\n" + kRolledBackText);
    return false;
}

// The materials added with consecutive IDs from the next free one; a material
// that is skipped takes no ID.
bool addMaterials(CatalogueDatabase& db, std::span<const GlassRecord> glasses, ExistingMaterials mode,
                  const OutputProgress& progress) {
    std::int64_t id = 0;
    if (!NextGlassID(db, id)) return false;
    std::size_t done = 0;
    for (const auto& glass : glasses) {
        bool add = false;
        if (!ResolveExistingCopies(db, glass, mode, add)) return false;
        if (add) {
            if (!AddGlassRow(db, id, glass)) return false;
            ++id;
        }
        if (progress) progress(++done, glasses.size());
    }
    return true;
}

// Index at a line, held as a single; 0 where the formula gives none.
float indexAt(const GlassDefinition& d, float wavelength) {
    bool ok = false;
    const double n = EvaluateIndex(d, wavelength, d.formulaType, ok);
    return ok ? static_cast<float>(n) : 0.0f;
}

}  // namespace

bool OpenCatalogueDatabase(CatalogueDatabase& db, const std::string& catalogueFolder, IBoxes& boxes) {
    if (db.open(catalogueFolder)) return true;
    boxes.show(kBoxExclamation,
               "Unable to open database in path:\r\n" + catalogueFolder + "\r\n" + db.lastError().description);
    return false;
}

bool ExportToCatalogue(const std::string& catalogueFolder, std::span<const GlassRecord> glasses,
                       ExistingMaterials mode, IBoxes& boxes, const OutputProgress& progress) {
    CatalogueDatabase db;
    if (!OpenCatalogueDatabase(db, catalogueFolder, boxes)) return false;
    const char* failure = "Error while adding data to database.";
    if (!db.beginTrans() || !addMaterials(db, glasses, mode, progress) || !db.commitTrans())
        return tellRolledBack(db, failure, boxes);
    return true;
}

bool SynchroniseCatalogue(const std::string& catalogueFolder, std::span<const GlassRecord> glasses,
                          ExistingMaterials mode, IBoxes& boxes, const OutputProgress& progress) {
    CatalogueDatabase db;
    if (!OpenCatalogueDatabase(db, catalogueFolder, boxes)) return false;
    if (!db.beginTrans() || !RemoveOwnRows(db))
        return tellRolledBack(db, "Error while removing user glasses from database.", boxes);
    if (!addMaterials(db, glasses, mode, progress) || !db.commitTrans())
        return tellRolledBack(db, "Error while adding data to database.", boxes);
    return true;
}

DbCriteria OwnRowCriteria() { return {{"S1", std::int64_t{kOwnCatalogNumber}}}; }

DbCriteria OwnCopyCriteria(const GlassRecord& glass) {
    return {{"S1", std::int64_t{kOwnCatalogNumber}},
            {"GlassName", glass.definition.name.str()},
            {"Source", glass.definition.source.str()}};
}

bool RemoveOwnRows(CatalogueDatabase& db) {
    bool deleted = false;
    return DeleteMatchingRows(db, kGlassDataTable, OwnRowCriteria(), deleted) &&
           DeleteMatchingRows(db, kArchiveTable, OwnRowCriteria(), deleted);
}

bool NextGlassID(CatalogueDatabase& db, std::int64_t& id) {
    std::int64_t largest = 0;
    for (const char* table : {kGlassDataTable, kArchiveTable}) {
        DbValue v;
        if (!db.largestValue(table, "GlassID", v)) return false;
        // A file written by something else may hold any number here; beyond
        // the largest ID there is none free, whatever the number.
        if (const auto n = DbNumber(v); n && *n > static_cast<double>(largest))
            largest = *n >= static_cast<double>(kLargestGlassID) ? kLargestGlassID : static_cast<std::int64_t>(*n);
    }
    id = largest + 1;
    return true;
}

bool ResolveExistingCopies(CatalogueDatabase& db, const GlassRecord& glass, ExistingMaterials mode, bool& add) {
    const DbCriteria criteria = OwnCopyCriteria(glass);
    add = false;
    if (mode == kOverwriteExisting) {
        bool deleted = false;
        if (!DeleteMatchingRows(db, kGlassDataTable, criteria, deleted)) return false;
        if (!deleted && !DeleteMatchingRows(db, kArchiveTable, criteria, deleted)) return false;
        add = true;
        return true;
    }
    bool exists = false;
    if (!RowExists(db, kGlassDataTable, criteria, exists)) return false;
    if (!exists && !RowExists(db, kArchiveTable, criteria, exists)) return false;
    add = !exists;
    return true;
}

bool AddGlassRow(CatalogueDatabase& db, std::int64_t id, const GlassRecord& glass) {
    db.clearError();
    if (id > kLargestGlassID) {
        db.setError({kDbErrOverflow, "Numeric field overflow in field 'GlassID': no GlassID above " +
                                         std::to_string(kLargestGlassID) + " is free."});
        return false;
    }
    std::vector<DbField> row;
    DbError error;
    if (!WriteGlassRow(row, id, glass, error)) {
        db.setError(error);
        return false;
    }
    return db.addRow(kGlassDataTable, row);
}

bool DeleteMatchingRows(CatalogueDatabase& db, const std::string& table, const DbCriteria& criteria, bool& deleted) {
    int count = 0;
    deleted = false;
    if (!db.deleteRows(table, criteria, count)) return false;
    deleted = count > 0;
    return true;
}

bool RowExists(CatalogueDatabase& db, const std::string& table, const DbCriteria& criteria, bool& exists) {
    DbRowSet rows;
    exists = false;
    if (!db.findRows(table, criteria, rows)) return false;
    exists = !rows.rows.empty();
    return true;
}

bool WriteGlassRow(std::vector<DbField>& row, std::int64_t id, const GlassRecord& glass, DbError& error) {
    const GlassDefinition& d = glass.definition;
    const GlassProperties& p = glass.properties;
    const NotesAndDnDt& n = glass.notes;
    row.clear();
    auto put = [&](const std::string& column, DbValue value) { row.push_back({column, std::move(value)}); };
    auto property = [&](const char* column, const std::string& text, bool numeric) {
        DbValue value;
        if (!PropertyValue(text, numeric, value)) {
            error = {kDbErrTypeConversion,
                     "Data type conversion error in field '" + std::string(column) + "': '" + TrimBlanks(text) +
                         "' is not a number."};
            return false;
        }
        put(column, std::move(value));
        return true;
    };

    put("GlassID", integer(id));
    put("s1", integer(kOwnCatalogNumber));
    put("GlassName", d.name.str());
    put("GlassCode", integer(d.glassCode));
    put("Source", d.source.str());
    put("SchottName", d.name.str());
    put("Polytype", PolytypeCode(d.formulaType));
    for (int slot = 0; slot < kCoefficientSlots; ++slot)
        put("C" + std::to_string(slot + 1), d.coefficients[static_cast<std::size_t>(slot)]);
    put("Density", single(d.density));
    put("IndexWvMin", integer(d.lowerWavelength));
    put("IndexWvMax", integer(d.upperWavelength));
    WriteDispersionColumns(row, glass);

    const std::pair<const char*, std::string> numericTexts[] = {
        {"A3070", p.a3070.raw()}, {"A20300", p.a20300.raw()}, {"Tg", p.tg.raw()},       {"T1013", p.t1013.raw()},
        {"T1076", p.t1076.raw()}, {"Cp", p.cp.raw()},         {"lambda", p.lambda.raw()}, {"EMod", p.eMod.raw()},
        {"Poisson", p.poisson.raw()}, {"Torsion", p.torsion.raw()}, {"Knoop", p.knoop.raw()}, {"CR", p.cr.raw()},
        {"FR", p.fr.raw()},       {"SR", p.sr.raw()},         {"AR", p.ar.raw()},       {"PR", p.pr.raw()}};
    for (const auto& [column, text] : numericTexts)
        if (!property(column, text, true)) return false;
    put("REMark", p.remark.raw());
    if (!property("CC", p.cc.raw(), false) || !property("Bubble", p.bubble.raw(), true)) return false;
    put("Status", p.status.str());
    if (!property("Price", p.price.raw(), true)) return false;
    put("Abrasion", integer(glass.catalogFlags.abrasion));
    put("StatusECO", flag(glass.catalogFlags.statusECO));
    put("StatusMold", flag(glass.catalogFlags.statusMold));
    put("StatusILine", flag(glass.catalogFlags.statusILine));
    put("DataDate", glass.catalogFlags.dataDate);
    put("StatusMelt", flag(glass.melt.meltFlag));

    // The transmission columns follow T250 in the order of the standard wavelengths.
    const auto& columns = CatalogueColumns();
    std::size_t first = 0;
    while (first < columns.size() && columns[first].name != "T250") ++first;
    for (int k = 0; k < kStandardTransCount && first + static_cast<std::size_t>(k) < columns.size(); ++k) {
        const float alpha = glass.standardAbsorption[static_cast<std::size_t>(k)];
        if (alpha == static_cast<float>(kEmptyAbsorption)) continue;  // the column stays Null
        put(columns[first + static_cast<std::size_t>(k)].name, single(alpha));
    }

    for (int line = 0; line < 6; ++line) {
        std::string text = n.notes[static_cast<std::size_t>(line)].raw();
        if (line == 0 && n.dnDtSimple != 0) {
            text = n.dnDtSimple < 0 ? "" : " ";
            text += PlainNumberText(n.dnDtSimple);
        }
        put("TT" + std::to_string(line + 1), text);
    }
    put("dndttype", integer(n.dnDtType));
    put("dndt_lin", single(n.dnDtSimple));
    put("dndt_D0", single(n.d0));
    put("dndt_D1", single(n.d1));
    put("dndt_D2", single(n.d2));
    put("dndt_E0", single(n.e0));
    put("dndt_E1", single(n.e1));
    put("dndt_LamdaTK", single(n.lambdaTK));
    return true;
}

void WriteDispersionColumns(std::vector<DbField>& row, const GlassRecord& glass) {
    // Works on a copy: the collection keeps its stored constants.
    DispersionConstants c = glass.constants;
    const GlassDefinition& d = glass.definition;
    const float ns = indexAt(d, kLineS);
    c.nC = indexAt(d, kLineC);
    c.nCp = indexAt(d, kLineCp);
    c.nd = indexAt(d, kLineD);
    c.ne = indexAt(d, kLineE);
    c.nF = indexAt(d, kLineF);
    c.nFp = indexAt(d, kLineFp);
    const float ng = indexAt(d, kLineG);
    c.nFnC = c.nF - c.nC;
    if (c.nFnC != 0) {
        const double dFC = c.nFnC;
        c.vd = static_cast<float>((static_cast<double>(c.nd) - 1.0) / dFC);
        c.pCs = static_cast<float>((static_cast<double>(c.nC) - ns) / dFC);
        c.pdC = static_cast<float>((static_cast<double>(c.nd) - c.nC) / dFC);
        c.pgF = static_cast<float>((static_cast<double>(ng) - c.nF) / dFC);
    }
    c.nFpnCp = c.nFp - c.nCp;
    if (c.nFpnCp != 0) c.ve = static_cast<float>((static_cast<double>(c.ne) - 1.0) / c.nFpnCp);

    row.push_back({"nd", single(RoundTo(c.nd, 5))});
    row.push_back({"vd", single(RoundTo(c.vd, 2))});
    row.push_back({"nF_NC", single(RoundTo(c.nFnC, 6))});
    row.push_back({"Ne", single(RoundTo(c.ne, 5))});
    row.push_back({"Ve", single(RoundTo(c.ve, 2))});
    row.push_back({"nfd_ncd", single(RoundTo(c.nFpnCp, 6))});
    row.push_back({"PCs", single(RoundTo(c.pCs, 5))});
    row.push_back({"PdC", single(RoundTo(c.pdC, 5))});
    row.push_back({"PgF", single(RoundTo(c.pgF, 5))});
}

float RoundTo(double value, int decimals) {
    if (!std::isfinite(value) || decimals < 0 || decimals > 15) return static_cast<float>(value);
    const double scale = std::pow(10.0, decimals);
    // Exact for a single and up to 6 decimals: 24 mantissa bits times 5^6 fit a double.
    const double scaled = std::round(value * scale);  // halves away from zero, as the number format does
    if (std::fabs(scaled) >= 1e15) return static_cast<float>(value);
    // Read back from the decimal text, so the single is the one nearest that text.
    std::string digits = std::to_string(static_cast<long long>(std::fabs(scaled)));
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    std::string text = (scaled < 0 ? "-" : "") + digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) text += "." + digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    float result = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (ec != std::errc()) return static_cast<float>(value);
    return result;
}

std::string PolytypeCode(std::int16_t formulaType) {
    switch (formulaType) {
        case kSchott: return "Sch";
        case kSellmeier: return "Sel";
        case kSchottPlus: return "Scx";
        case kCauchy: return "Cau";
        default: return "";
    }
}

bool PropertyValue(const std::string& text, bool numeric, DbValue& value) {
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) {
        value = std::monostate{};
    } else if (!numeric) {
        value = trimmed;
    } else {
        double v = 0;
        if (!ParseNumber(trimmed, v) || std::fabs(v) > std::numeric_limits<float>::max()) return false;
        value = static_cast<double>(static_cast<float>(v));
    }
    return true;
}
