#include "app/DemoFolder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/Clock.h"
#include "model/FileUtil.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/TransCalcs.h"
#include "manage/CatalogueDatabase.h"
#include "manage/CatalogueOutput.h"
#include "model/Verification.h"
#include "shell/Bas1Setup.h"
#include "platform/Settings.h"

namespace {

// Identities the demo's design program knows: its catalogue (other glasses
// of the same makers) and its generic materials.
const char* const kCatalogueNames[][2] = {
    {"N-BK7HT", "SCHOTT"}, {"N-SK2", "SCHOTT"},  {"N-LAK9", "SCHOTT"}, {"N-SF57", "SCHOTT"},
    {"S-BSL7", "OHARA"},   {"S-TIH6", "OHARA"},  {"S-LAH64", "OHARA"},
};

struct GenericMaterial {
    const char* name;
    const char* source;
    double b1, b2, b3, c1, c2, c3;
    int lowerNm, upperNm;
    float density;
};
// Malitson's fused silica and calcium fluoride.
const GenericMaterial kGenerics[] = {
    {"SILICA", "GENERIC", 0.6961663, 0.4079426, 0.8974794, 0.0684043 * 0.0684043, 0.1162414 * 0.1162414,
     9.896161 * 9.896161, 210, 3710, 2.20f},
    {"CAF2", "GENERIC", 0.5675888, 0.4710914, 3.8484723, 0.050263605 * 0.050263605, 0.1003909 * 0.1003909,
     34.649040 * 34.649040, 230, 9700, 3.18f},
};

void setSellmeier(GlassDefinition& def, double b1, double b2, double b3, double c1, double c2, double c3) {
    def.formulaType = kSellmeier;
    def.coefficients = {};
    def.coefficients[0] = b1;
    def.coefficients[1] = b2;
    def.coefficients[2] = b3;
    def.coefficients[3] = c1;
    def.coefficients[4] = c2;
    def.coefficients[5] = c3;
}

float indexAt(const GlassDefinition& def, float nm) {
    bool ok = false;
    return static_cast<float>(EvaluateIndex(def, nm, def.formulaType, ok));
}

void computeConstants(GlassRecord& g) {
    const GlassDefinition& def = g.definition;
    DispersionConstants& k = g.constants;
    const float ns = indexAt(def, kLineS), ng = indexAt(def, kLineG);
    k.nd = indexAt(def, kLineD);
    k.nC = indexAt(def, kLineC);
    k.nCp = indexAt(def, kLineCp);
    k.ne = indexAt(def, kLineE);
    k.nF = indexAt(def, kLineF);
    k.nFp = indexAt(def, kLineFp);
    k.nFnC = k.nF - k.nC;
    if (k.nFnC != 0) {
        k.vd = (k.nd - 1) / k.nFnC;
        k.pCs = (k.nC - ns) / k.nFnC;
        k.pdC = (k.nd - k.nC) / k.nFnC;
        k.pgF = (ng - k.nF) / k.nFnC;
    }
    k.nFpnCp = k.nFp - k.nCp;
    if (k.nFpnCp != 0) k.ve = (k.ne - 1) / k.nFpnCp;
}

std::vector<std::uint8_t> catalogueNameFile() {
    constexpr std::size_t kNameAt = 0, kSourceAt = 32, kTextSize = 30;
    std::vector<std::uint8_t> out;
    for (const auto& entry : kCatalogueNames) {
        std::vector<std::uint8_t> rec(kCatalogNameRecordBytes, 0);
        std::memset(rec.data() + kNameAt, ' ', kTextSize);
        std::memset(rec.data() + kSourceAt, ' ', kTextSize);
        std::memcpy(rec.data() + kNameAt, entry[0], std::strlen(entry[0]));
        std::memcpy(rec.data() + kSourceAt, entry[1], std::strlen(entry[1]));
        out.insert(out.end(), rec.begin(), rec.end());
    }
    return out;
}

std::vector<std::uint8_t> suppliedFile() {
    std::vector<std::uint8_t> out;
    for (const GenericMaterial& m : kGenerics) {
        DesignGlassRecord rec;
        InitDesignFileRecord(rec);
        GlassDefinition& def = rec.definition;
        def.name.set(m.name);
        def.source.set(m.source);
        setSellmeier(def, m.b1, m.b2, m.b3, m.c1, m.c2, m.c3);
        def.lowerWavelength = static_cast<std::int16_t>(m.lowerNm);
        def.upperWavelength = static_cast<std::int16_t>(m.upperNm);
        def.density = m.density;
        std::vector<std::uint8_t> bytes(kDesignGlassRecordBytes);
        WriteDesignGlassRecord(rec, bytes.data());
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::vector<std::uint8_t> standIn(const std::string& program) {
    const std::string text = "Stand-in for " + program + " in the Kalvenor demo; the program only looks for it.\n";
    return {text.begin(), text.end()};
}

bool makeFolder(const std::string& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) error = folder + ": " + ec.message();
    return !ec;
}

}  // namespace

DemoLayout DemoFolders(const std::string& root) {
    const std::string base = WithTrailingSeparator(root);
    return {base, base + "Kalvenor/", base + "Vitrarch/", base + "Lumivar3D/", base + "LumivarTol/"};
}

const std::vector<PublishedGlass>& DemoCatalogue() {
    static const std::vector<PublishedGlass> kGlasses = {
        {"N-BK7", "SCHOTT", 1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653, 300, 2500,
         2.51f, 1.51680, 64.17},
        {"N-BAF10", "SCHOTT", 1.5851495, 0.143559385, 1.08521269, 0.00926681282, 0.0424489805, 105.613573, 350, 2500,
         3.76f, 1.67003, 47.11},
        {"N-F2", "SCHOTT", 1.39757037, 0.159201403, 1.2686543, 0.00995906143, 0.0546931752, 119.248346, 320, 2500,
         2.65f, 1.62005, 36.43},
        {"N-SF6", "SCHOTT", 1.77931763, 0.338149866, 2.08734474, 0.0133714182, 0.0617533621, 174.01759, 370, 2500,
         3.37f, 1.80518, 25.36},
        {"N-SF11", "SCHOTT", 1.73759695, 0.313747346, 1.89878101, 0.013188707, 0.0623068142, 155.23629, 370, 2500,
         4.74f, 1.78472, 25.68},
    };
    return kGlasses;
}

const std::vector<PublishedGlass>& DemoCatalogueParents() {
    static const std::vector<PublishedGlass> kParents = [] {
        std::vector<PublishedGlass> parents;
        for (const PublishedGlass& g : DemoCatalogue())
            if (std::strcmp(g.name, "N-BK7") == 0 || std::strcmp(g.name, "N-SF11") == 0) parents.push_back(g);
        parents.push_back({"F2", "SCHOTT", 1.34533359, 0.209073176, 0.937357162, 0.00997743871, 0.0470450767,
                           111.886764, 320, 2500, 3.60f, 1.62004, 36.37});
        parents.push_back({"N-SK16", "SCHOTT", 1.34317774, 0.241144399, 0.994317969, 0.00704687339, 0.0229005,
                           92.7508526, 310, 2500, 3.58f, 1.62041, 60.32});
        return parents;
    }();
    return kParents;
}

GlassRecord MakeDemoGlass(const PublishedGlass& glass, const IClock& clock) {
    GlassRecord g;
    InitGlassRecord(g);
    g.indexDataType = kCoefficients;
    GlassDefinition& def = g.definition;
    def.name.set(glass.name);
    def.source.set(glass.source);
    def.catalogNumber = kOwnCatalogNumber;
    def.density = glass.density;
    setSellmeier(def, glass.b1, glass.b2, glass.b3, glass.c1, glass.c2, glass.c3);
    def.lowerWavelength = static_cast<std::int16_t>(glass.lowerNm);
    def.upperWavelength = static_cast<std::int16_t>(glass.upperNm);
    for (int i = 0; i < kStandardTransCount; ++i) {
        def.transWavelength[static_cast<std::size_t>(i)] = StandardTransWavelengths[static_cast<std::size_t>(i)];
        def.transAbsorption[static_cast<std::size_t>(i)] = static_cast<float>(kEmptyAbsorption);
        g.standardAbsorption[static_cast<std::size_t>(i)] = static_cast<float>(kEmptyAbsorption);
    }
    g.measured.transDataType = kNoTransData;
    g.measured.thickness = 10;
    g.notes.notes[0].set("Made for the demo from the maker's published Sellmeier coefficients.");
    computeConstants(g);
    for (SectionStatus& s : g.sections) s = {1, kTrue};
    NormaliseGlassRecord(g);  // status and glass code
    g.lastStored = clock.now();
    return g;
}

bool WriteDemoParents(const std::string& path, const IClock& clock, std::string& error) {
    // Rows of the catalogue itself: anything but the mark of this program's own rows.
    constexpr std::int64_t kCatalogueRow = 1;
    CatalogueDatabase db;
    std::int64_t id = 0;
    bool ok = db.openFile(path) && db.beginTrans() && NextGlassID(db, id);
    for (const PublishedGlass& glass : DemoCatalogueParents()) {
        if (!ok) break;
        GlassRecord g = MakeDemoGlass(glass, clock);
        g.catalogFlags.dataDate = clock.now();
        std::vector<DbField> row;
        DbError rowError;
        ok = WriteGlassRow(row, id++, g, rowError);
        if (!ok) {
            db.setError(rowError);
            break;
        }
        for (DbField& f : row)
            if (EqualsIgnoreCase(f.column, "s1")) f.value = kCatalogueRow;
        ok = db.addRow(kGlassDataTable, row);
    }
    if (ok && db.commitTrans()) return true;
    error = path + ": " + db.lastError().description;
    db.rollback();
    return false;
}

bool MakeDemo(const std::string& root, ISettings& settings, const IClock& clock, std::string& error) {
    const DemoLayout demo = DemoFolders(root);
    if (FileExists(JoinPath(demo.program, kCollectionFileName))) {
        error = JoinPath(demo.program, kCollectionFileName) + " is there already; remove " + demo.root +
                " to make a fresh demo.";
        return false;
    }
    for (const std::string* folder : {&demo.program, &demo.catalogue, &demo.design3D, &demo.tolerancer}) {
        if (!makeFolder(*folder, error)) return false;
    }

    std::vector<std::uint8_t> collection;
    for (const PublishedGlass& glass : DemoCatalogue()) {
        std::vector<std::uint8_t> bytes(kGlassRecordBytes);
        WriteGlassRecord(MakeDemoGlass(glass, clock), bytes.data());
        collection.insert(collection.end(), bytes.begin(), bytes.end());
    }
    const struct {
        std::string path;
        std::vector<std::uint8_t> bytes;
    } files[] = {
        {JoinPath(demo.design3D, kCatalogNamesFileName), catalogueNameFile()},
        {JoinPath(demo.design3D, kSuppliedNamesFileName), suppliedFile()},
        {JoinPath(demo.catalogue, SiblingInfo(kProgramVQ).executable), standIn("VitrarchQX")},
        {JoinPath(demo.design3D, SiblingInfo(kProgramLQP).executable), standIn("Lumivar3D")},
        {JoinPath(demo.tolerancer, SiblingInfo(kProgramLQTol).executable), standIn("the Lumivar tolerancer")},
    };
    for (const auto& f : files) {
        if (!WriteFileAtomic(f.path, f.bytes, &error)) return false;
    }

    const std::string database = JoinPath(demo.catalogue, kCatalogueFileName);
    if (!FileExists(database) &&
        (!CreateCatalogueDatabase(database, &error) || !WriteDemoParents(database, clock, error))) {
        std::remove(database.c_str());  // made again, whole, by the next run
        return false;
    }

    settings.set(kSetupSection, SiblingInfo(kProgramVQ).registryValue, demo.catalogue);
    settings.set(kSetupSection, SiblingInfo(kProgramLQP).registryValue, demo.design3D);
    settings.set(kSetupSection, SiblingInfo(kProgramLQTol).registryValue, demo.tolerancer);
    settings.set(kSetupSection, kFirstLoadValue, "0");
    // Last: the collection marks a finished demo, so one cut short is made again.
    return WriteFileAtomic(JoinPath(demo.program, kCollectionFileName), collection, &error);
}
