#include "melt/GlassMelt.h"

#include <cmath>
#include <limits>
#include <vector>

#include "platform/Text1252.h"
#include "platform/Boxes.h"
#include "platform/NumberText.h"

namespace {

constexpr float kSampleThickness = 10.0f;  // mm, the catalogue's absorption reference

// A whole number of type Int from a column: halves to even, as the
// catalogue program's engine converts; Null, no number or out of range gives 0.
template <class Int>
Int wholeNumber(const DbValue& value) {
    const auto n = DbNumber(value);
    if (!n || !std::isfinite(*n)) return 0;
    const double r = std::nearbyint(*n);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        return 0;
    return static_cast<Int>(r);
}

std::int16_t flag(const DbValue& value) {
    const auto n = DbNumber(value);
    return n && *n != 0 ? kTrue : kFalse;
}

double realNumber(const DbValue& value) {
    const auto n = DbNumber(value);
    return n && std::isfinite(*n) ? *n : 0.0;
}

// The wavelength a transmission column is named after: "T334" gives 334.
bool columnWavelength(const std::string& column, float& wavelength) {
    if (column.size() < 2 || (column[0] != 'T' && column[0] != 't')) return false;
    double v = 0;
    if (!ParseNumber(std::string_view(column).substr(1), v) || !(v > 0)) return false;
    wavelength = static_cast<float>(v);
    return true;
}

struct TransPoint {
    float wavelength;
    float absorption;
};

void readTransmission(const DbRowSet& rs, std::size_t row, GlassRecord& glass) {
    std::vector<TransPoint> listed;  // column order: ascending wavelength
    const int first = rs.ordinal("T250");
    const auto& values = rs.rows[row].values;
    for (int k = 0; k < kStandardTransCount; ++k) {
        const auto at = static_cast<std::size_t>(first + k);
        float alpha = static_cast<float>(kEmptyAbsorption);
        if (first >= 0 && at < rs.columns.size() && at < values.size()) {
            alpha = NullTo99(values[at]);
            float wavelength = 0;
            if (DbNumber(values[at]) && columnWavelength(rs.columns[at], wavelength))
                listed.push_back({wavelength, alpha});
        }
        glass.standardAbsorption[static_cast<std::size_t>(k)] = alpha;
    }

    const auto c = static_cast<std::int16_t>(listed.size());
    MeasuredData& m = glass.measured;
    m.transCount = c;
    m.transDataType = kAbsorptionCoefficient;
    m.thickness = kSampleThickness;
    for (std::size_t j = 1; j <= listed.size(); ++j) {
        const TransPoint& p = listed[listed.size() - j];  // longest wavelength first
        m.transWavelength[j] = p.wavelength;
        m.absorption[j] = p.absorption;
        m.internalTrans[j] = static_cast<float>(100.0 * std::exp(-static_cast<double>(kSampleThickness) * p.absorption));
        glass.definition.transWavelength[j - 1] = p.wavelength;
        glass.definition.transAbsorption[j - 1] = p.absorption;
    }
    glass.sections[kTrans].ready = kTrue;
}

}  // namespace

DbCriteria MakerCriterion(const std::string& maker) { return {{"Source", maker}}; }

CatalogueQuery GlassQuery(const std::string& maker) { return {kGlassDataTable, MakerCriterion(maker)}; }

bool OpenRecordSet(CatalogueDatabase& db, const CatalogueQuery& query, DbRowSet& rows) {
    return db.findRows(query.table, query.criteria, rows);
}

bool OpenCatalogDatabase(CatalogueDatabase& db, const std::string& catalogueFolder, IBoxes& boxes) {
    if (db.open(catalogueFolder)) return true;
    const DbError& e = db.lastError();
    boxes.show(kBoxPlain, e.number == kDbErrFileInUse ? std::string(kDbAlreadyOpenText) : e.description);
    return false;
}

bool ReloadParent(const std::string& catalogueFolder, const std::string& name, const std::string& source,
                  GlassRecord& parent, IBoxes& boxes) {
    CatalogueDatabase db;
    if (!OpenCatalogDatabase(db, catalogueFolder, boxes)) return false;
    CatalogueQuery query = GlassQuery(TrimBlanks(source));
    query.criteria.push_back({"GlassName", TrimBlanks(name)});
    DbRowSet rows;
    if (!OpenRecordSet(db, query, rows)) {
        boxes.show(kBoxInformation, kQueryErrorText);
        return false;
    }
    if (rows.rows.empty()) {
        boxes.show(kBoxPlain, kNoMatchText);
        return false;
    }
    GlassRecord glass;
    InitGlassRecord(glass);
    glass.melt.parentName.set(TrimBlanks(name));
    glass.melt.parentSource.set(TrimBlanks(source));
    ReadGlassRow(rows, 0, glass);
    parent = glass;
    return true;
}

float NullToZero(const DbValue& value) {
    const auto n = DbNumber(value);
    return n ? static_cast<float>(*n) : 0.0f;
}

float NullTo99(const DbValue& value) {
    const auto n = DbNumber(value);
    return n ? static_cast<float>(*n) : static_cast<float>(kEmptyAbsorption);
}

std::string NullToText(const DbValue& value) {
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    if (const auto* i = std::get_if<std::int64_t>(&value)) return std::to_string(*i);
    // The numeric property columns are singles: their plain text ("7.1E-06").
    if (const auto* d = std::get_if<double>(&value)) return PlainNumberText(static_cast<float>(*d));
    return {};
}

std::int16_t FormulaTypeFromPolytype(const std::string& text) {
    if (text == "Sch") return kSchott;
    if (text == "Sel") return kSellmeier;
    if (text == "Scx") return kSchottPlus;
    if (text == "Cau") return kCauchy;
    return 0;
}

void ReadDispersionRow(const DbRowSet& rs, std::size_t row, GlassRecord& glass) {
    DispersionConstants& c = glass.constants;
    auto single = [&](const char* column) { return NullToZero(rs.value(row, column)); };
    c.nd = single("nd");
    c.nFnC = single("nF_NC");
    c.vd = single("vd");
    c.ne = single("Ne");
    c.nFpnCp = single("nfd_ncd");
    c.ve = single("Ve");
    c.pCs = single("PCs");
    c.pdC = single("PdC");
    c.pgF = single("PgF");
}

void ReadGlassRow(const DbRowSet& rs, std::size_t row, GlassRecord& glass) {
    if (row >= rs.rows.size()) return;
    auto value = [&](const std::string& column) -> const DbValue& { return rs.value(row, column); };
    auto text = [&](const char* column) { return NullToText(value(column)); };
    GlassDefinition& d = glass.definition;

    d.catalogNumber = kOwnCatalogNumber;
    d.name.set(text("GlassName"));
    d.glassCode = wholeNumber<std::int32_t>(value("GlassCode"));
    d.source.set(text("Source"));
    d.formulaType = FormulaTypeFromPolytype(TrimBlanks(text("Polytype")));
    for (int slot = 0; slot < kCoefficientSlots; ++slot)
        d.coefficients[static_cast<std::size_t>(slot)] = NullToZero(value("C" + std::to_string(slot + 1)));
    d.density = NullToZero(value("Density"));
    d.lowerWavelength = wholeNumber<std::int16_t>(value("IndexWvMin"));
    d.upperWavelength = wholeNumber<std::int16_t>(value("IndexWvMax"));
    glass.sections[kGeneral].ready = kTrue;

    ReadDispersionRow(rs, row, glass);

    GlassProperties& p = glass.properties;
    p.a3070.set(text("A3070"));
    p.a20300.set(text("A20300"));
    p.tg.set(text("Tg"));
    p.t1013.set(text("T1013"));
    p.t1076.set(text("T1076"));
    p.cp.set(text("Cp"));
    p.lambda.set(text("lambda"));
    p.eMod.set(text("EMod"));
    p.poisson.set(text("Poisson"));
    p.torsion.set(text("Torsion"));
    p.knoop.set(text("Knoop"));
    p.cr.set(text("CR"));
    p.fr.set(text("FR"));
    p.sr.set(text("SR"));
    p.ar.set(text("AR"));
    p.pr.set(text("PR"));
    p.remark.set(text("REMark"));
    p.cc.set(text("CC"));
    p.bubble.set(text("Bubble"));
    p.status.set(text("Status"));
    p.price.set(text("Price"));
    glass.sections[kOther].ready = kTrue;

    CatalogFlags& f = glass.catalogFlags;
    f.statusECO = flag(value("StatusECO"));
    f.statusMold = flag(value("StatusMold"));
    // Read too, so that a melt keeps its parent's i-line flag.
    f.statusILine = flag(value("StatusILine"));
    f.statusMelt = flag(value("StatusMelt"));
    f.abrasion = wholeNumber<std::int16_t>(value("Abrasion"));
    f.dataDate = realNumber(value("DataDate"));

    readTransmission(rs, row, glass);

    NotesAndDnDt& n = glass.notes;
    for (int line = 0; line < 6; ++line)
        n.notes[static_cast<std::size_t>(line)].set(text(("TT" + std::to_string(line + 1)).c_str()));
    n.dnDtType = wholeNumber<std::int16_t>(static_cast<double>(NullToZero(value("dndttype"))));
    n.dnDtSimple = NullToZero(value("dndt_lin"));
    n.d0 = NullToZero(value("dndt_D0"));
    n.d1 = NullToZero(value("dndt_D1"));
    n.d2 = NullToZero(value("dndt_D2"));
    n.e0 = NullToZero(value("dndt_E0"));
    n.e1 = NullToZero(value("dndt_E1"));
    n.lambdaTK = NullToZero(value("dndt_LamdaTK"));

    glass.sections[kGeneral].ready = kTrue;
}
