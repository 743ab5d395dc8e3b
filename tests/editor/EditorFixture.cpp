#include "EditorFixture.h"

#include <filesystem>

#include "app/DemoFolder.h"
#include "model/FileUtil.h"
#include "model/NumberFormat.h"
#include "model/StoreFixtures.h"

EditorTest::EditorTest()
    : store(boxes, clock, folder.path()),
      forms(boxes, [] { return true; }),
      form(store, forms, editors, boxes, cursor, clipboard),
      view(form) {
    std::filesystem::create_directory(folder.file("design"));
    folder.write("design/" + std::string(kCatalogNamesFileName), CatalogueNameBytes("N-BK7", "SCHOTT"));
    folder.write("design/" + std::string(kSuppliedNamesFileName), SuppliedNameBytes("AIR", "LUMIVAR"));
    store.LoadCatalogNames(folder.path() + "design/");
    store.LoadSuppliedNames(folder.path() + "design/");
    store.SetRefreshCallback([this] { ++listRefreshes; });
    editors.setEditor(&form);
    editors.setManageUpdate([this] { ++manageUpdates; });
    forms.setPage(kPageNew, &form);
    form.setView(&view);
}

std::vector<std::string> EditorTest::panels() const {
    std::vector<std::string> out;
    for (const StatusPanelState& p : controls().pnlStatus) out.push_back(p.text);
    return out;
}

GlassRecord EditorTest::storedGlass(const std::string& name, const std::string& source) {
    const FixedClock stamp(45000);
    GlassRecord g = MakeDemoGlass(DemoCatalogue().front(), stamp);
    g.definition.name.set(name);
    g.definition.source.set(source);
    return g;
}

void EditorTest::keep(const GlassRecord& glass) {
    GlassRecord copy = glass;
    ASSERT_TRUE(store.AddGlassStamped(copy, false));
    ASSERT_TRUE(store.SaveUserGlasses());
}

std::vector<GlassRecord> EditorTest::fileRecords() const {
    return CollectionFileRecords(folder.file(kCollectionFileName));
}

GlassDefinition FormulaOf(std::int16_t type, std::initializer_list<double> coefficients) {
    GlassDefinition def;
    def.formulaType = type;
    std::size_t i = 0;
    for (double c : coefficients) def.coefficients[i++] = c;
    return def;
}

GlassDefinition Nbk7Sellmeier() {
    return FormulaOf(kSellmeier, {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653});
}

std::vector<float> Wavelengths(int n, float lo, float hi) {
    std::vector<float> out;
    for (int i = 0; i < n; ++i) out.push_back(lo + (hi - lo) * static_cast<float>(i) / static_cast<float>(n - 1));
    return out;
}

std::string PointsText(const GlassDefinition& formula, const std::vector<float>& waves, bool withWeight) {
    std::string text;
    for (float w : waves) {
        bool ok = false;
        const double n = EvaluateIndex(formula, w, formula.formulaType, ok);
        EXPECT_TRUE(ok) << w;
        text += Format(w, "0.0###") + "\t" + Format(n, "0.0000000");
        if (withWeight) text += "\t1";
        text += "\r\n";
    }
    return text;
}
