#include "model/GlassData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <string>
#include <vector>

#include "platform/ListControl.h"
#include "support/ScriptedBoxes.h"

namespace {

GlassDefinition withCoefficients(std::int16_t type, std::initializer_list<std::pair<int, double>> slots) {
    GlassDefinition def;
    def.formulaType = type;
    for (auto [slot, value] : slots) def.coefficients[static_cast<std::size_t>(slot)] = value;
    return def;
}

GlassDefinition nbk7() {
    return withCoefficients(kSellmeier, {{0, 1.03961212},
                                         {1, 0.231792344},
                                         {2, 1.01046945},
                                         {3, 0.00600069867},
                                         {4, 0.0200179144},
                                         {5, 103.560653}});
}

double index(const GlassDefinition& def, float nm, bool& ok) { return EvaluateIndex(def, nm, def.formulaType, ok); }

}  // namespace

TEST(GlassDataTest, SellmeierReproducesThePublishedNbk7Indices) {
    // The catalogue's indices at the spectral lines, to its five decimals.
    struct Line {
        float nm;
        double n;
    };
    const Line lines[] = {{365.0146f, 1.53627}, {404.6561f, 1.53024}, {435.8343f, 1.52668}, {486.1327f, 1.52238},
                          {546.074f, 1.51872},  {587.5618f, 1.51680}, {656.2725f, 1.51432}, {1013.98f, 1.50731}};
    const GlassDefinition def = nbk7();
    for (const auto& line : lines) {
        bool ok = false;
        EXPECT_NEAR(index(def, line.nm, ok), line.n, 0.6e-5) << line.nm;
        EXPECT_TRUE(ok);
    }
    GlassRecord glass;
    glass.definition = def;
    ComputeGlassCode(glass);
    EXPECT_EQ(glass.definition.glassCode, 517642);
    bool ok = false;
    const float nd = static_cast<float>(index(def, kLineD, ok));
    const float vd = (nd - 1.0f) / (static_cast<float>(index(def, kLineF, ok)) - static_cast<float>(index(def, kLineC, ok)));
    EXPECT_NEAR(nd, 1.51680, 0.5e-5);
    EXPECT_NEAR(vd, 64.17, 0.005);
}

// L is nm × 0.001 rounded to a single, X its square in double. At the F line
// and at 203 nm a product with the single 0.001f would give the next single.
TEST(GlassDataTest, SchottUsesTheSingleWavelength) {
    const GlassDefinition def = withCoefficients(kSchott, {{0, 2.27}, {1, -0.01}});
    struct Case {
        float nm;
        float L;
    };
    for (const Case c : {Case{587.5618f, 0.587561846f}, Case{486.1327f, 0.486132681f}, Case{203.0f, 0.202999994f}}) {
        const double x = static_cast<double>(c.L) * static_cast<double>(c.L);
        bool ok = false;
        EXPECT_EQ(index(def, c.nm, ok), std::sqrt(2.27 - 0.01 * x)) << c.nm;
        EXPECT_TRUE(ok);
    }
}

// Each formula against the same curve written another way, so a slot taken
// for another power or another term shows.
TEST(GlassDataTest, FormulasUseTheirSlots) {
    const double s[6] = {2.27, -0.0095, 0.0108, 0.00021, -1.2e-5, 9e-7};
    const GlassDefinition schott = withCoefficients(kSchott, {{0, s[0]}, {1, s[1]}, {2, s[2]}, {3, s[3]}, {4, s[4]}, {5, s[5]}});
    // Schott Plus: slot k multiplies X^(k-5).
    const GlassDefinition plus =
        withCoefficients(kSchottPlus, {{5, s[0]}, {6, s[1]}, {4, s[2]}, {3, s[3]}, {2, s[4]}, {1, s[5]}});
    const GlassDefinition cauchy = withCoefficients(kCauchy, {{0, s[0]}, {1, s[2]}, {2, s[3]}});
    const GlassDefinition schottAsCauchy = withCoefficients(kSchott, {{0, s[0]}, {2, s[2]}, {3, s[3]}});
    GlassDefinition sellPlus = withCoefficients(kSellmeierPlus, {});
    const GlassDefinition sell = nbk7();
    for (int i = 0; i < 3; ++i) {
        sellPlus.coefficients[static_cast<std::size_t>(i)] = sell.coefficients[static_cast<std::size_t>(i)];
        sellPlus.coefficients[static_cast<std::size_t>(i + 5)] = sell.coefficients[static_cast<std::size_t>(i + 3)];
    }
    for (float nm : {365.0f, 587.5618f, 1013.98f, 2300.0f}) {
        bool ok1 = false, ok2 = false;
        EXPECT_NEAR(index(plus, nm, ok1), index(schott, nm, ok2), 1e-14) << nm;
        EXPECT_TRUE(ok1 && ok2);
        EXPECT_NEAR(index(cauchy, nm, ok1), index(schottAsCauchy, nm, ok2), 1e-14) << nm;
        EXPECT_TRUE(ok1 && ok2);
        EXPECT_NEAR(index(sellPlus, nm, ok1), index(sell, nm, ok2), 1e-14) << nm;
        EXPECT_TRUE(ok1 && ok2);
    }
    // Each Schott Plus slot alone: n² = X^(k-5).
    const double x = std::pow(static_cast<double>(static_cast<float>(800.0f * 0.001)), 2);
    for (int k = 0; k < 10; ++k) {
        const GlassDefinition one = withCoefficients(kSchottPlus, {{k, 1.0}});
        bool ok = false;
        EXPECT_NEAR(index(one, 800.0f, ok), std::sqrt(std::pow(x, k - 5)), 1e-12) << k;
    }
    // The fifth Sellmeier Plus term uses B5 in slot 4 and C5 in slot 9.
    const GlassDefinition fifth = withCoefficients(kSellmeierPlus, {{4, 1.25}, {9, 0.01}});
    bool ok = false;
    EXPECT_NEAR(index(fifth, 500.0f, ok), std::sqrt(1 + 1.25 * 0.25 / (0.25 - 0.01)), 1e-7);
}

TEST(GlassDataTest, ConradyAndHerzbergerGiveTheIndexDirectly) {
    const GlassDefinition conrady = withCoefficients(kConrady, {{0, 1.5}, {1, 0.01}, {2, 0.001}});
    bool ok = false;
    EXPECT_NEAR(index(conrady, 500.0f, ok), 1.5 + 0.02 + 0.001 / std::pow(0.5, 3.5), 1e-14);
    EXPECT_TRUE(ok);
    const GlassDefinition herz =
        withCoefficients(kHerzberger, {{0, 1.5}, {1, 0.004}, {2, 0.0001}, {3, -0.003}, {4, 0.0002}, {5, -1e-5}});
    const double x = 0.25, d = 1 / (x - 0.028);
    EXPECT_NEAR(index(herz, 500.0f, ok), 1.5 + 0.004 * d + 0.0001 * d * d - 0.003 * x + 0.0002 * x * x - 1e-5 * x * x * x,
                1e-14);
    EXPECT_TRUE(ok);
}

TEST(GlassDataTest, InvalidEvaluationsGiveZeroAndFalse) {
    const float L = 0.6f;
    const double pole = static_cast<double>(L) * static_cast<double>(L);
    struct Case {
        const char* what;
        GlassDefinition def;
        std::int16_t type;
        float nm;
    };
    const GlassDefinition schott = withCoefficients(kSchott, {{0, 2.27}, {1, -0.01}});
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"no formula", schott, kNoFormula, 587.5618f},
        {"code 9", schott, 9, 587.5618f},
        {"code 0", schott, 0, 587.5618f},
        {"code -1", schott, -1, 587.5618f},
        {"Cauchy below 1", withCoefficients(kCauchy, {{0, 0.9999}}), kCauchy, 587.5618f},
        {"Sellmeier pole", withCoefficients(kSellmeier, {{0, 1}, {1, 0.5}, {4, pole}}), kSellmeier, 600.0f},
        {"Sellmeier pole, B 0", withCoefficients(kSellmeier, {{4, pole}}), kSellmeier, 600.0f},
        {"Sellmeier between poles", withCoefficients(kSellmeier, {{0, 1}, {3, 0.3}}), kSellmeier, 500.0f},
        {"Sellmeier infinite C", withCoefficients(kSellmeier, {{0, 1}, {3, inf}}), kSellmeier, 500.0f},
        {"Sellmeier Plus pole", withCoefficients(kSellmeierPlus, {{3, 1}, {8, pole}}), kSellmeierPlus, 600.0f},
        {"Schott at 0 nm", schott, kSchott, 0.0f},
        {"Schott negative", withCoefficients(kSchott, {{0, -1}}), kSchott, 587.5618f},
        {"Schott Plus overflow", withCoefficients(kSchottPlus, {{0, 1}, {5, 1}}), kSchottPlus, 1e-30f},
        {"Schott NaN wavelength", schott, kSchott, std::numeric_limits<float>::quiet_NaN()},
        {"Conrady below 1", withCoefficients(kConrady, {{0, 0.99}}), kConrady, 587.5618f},
        {"Conrady negative wavelength", withCoefficients(kConrady, {{0, 1.5}, {2, 0.001}}), kConrady, -500.0f},
        {"Herzberger zero", withCoefficients(kHerzberger, {}), kHerzberger, 587.5618f},
        {"Herzberger overflow", withCoefficients(kHerzberger, {{0, 1.5}, {5, 1e300}}), kHerzberger, 3e6f},
    };
    for (const auto& c : cases) {
        bool ok = true;
        EXPECT_EQ(EvaluateIndex(c.def, c.nm, c.type, ok), 0.0) << c.what;
        EXPECT_FALSE(ok) << c.what;
    }
    // The Cauchy rule is n² ≥ 1; Schott only asks n² > 0.
    bool ok = false;
    EXPECT_DOUBLE_EQ(EvaluateIndex(withCoefficients(kSchott, {{0, 0.9999}}), 587.5618f, kSchott, ok), std::sqrt(0.9999));
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(EvaluateIndex(withCoefficients(kCauchy, {{0, 1.0}}), 587.5618f, kCauchy, ok), 1.0);
    EXPECT_TRUE(ok);
    // The evaluators called directly report the same.
    double n = 5;
    EXPECT_FALSE(IndexSellmeier(withCoefficients(kSellmeier, {{0, 1}, {4, pole}}), L, n));
    EXPECT_EQ(n, 0.0);
}

TEST(GlassDataTest, IndexAtRangeEnds) {
    GlassRecord glass;
    glass.definition = nbk7();
    float nMin = 7, nMax = 7;
    IndexAtRangeEnds(glass, nMin, nMax);
    EXPECT_EQ(nMin, 0.0f);
    EXPECT_EQ(nMax, 0.0f);

    glass.definition.lowerWavelength = 400;
    glass.definition.upperWavelength = 1000;
    bool ok = false;
    IndexAtRangeEnds(glass, nMin, nMax);
    EXPECT_EQ(nMin, static_cast<float>(index(glass.definition, 400.0f, ok)));
    EXPECT_EQ(nMax, static_cast<float>(index(glass.definition, 1000.0f, ok)));

    // A pole at the upper limit leaves that end 0.
    glass.definition.coefficients[5] = 1.0;
    IndexAtRangeEnds(glass, nMin, nMax);
    EXPECT_GT(nMin, 1.0f);
    EXPECT_EQ(nMax, 0.0f);
}

TEST(GlassDataTest, MakeGlassCodeRoundsHalvesToEven) {
    struct Case {
        const char* nd;
        const char* vd;
        std::int32_t code;
    };
    const Case cases[] = {
        {"1.5168", "64.17", 517642},
        {"1.5", "8.1", 500081},
        {"1.5168", "64.25", 517642},  // 642.5 to 642
        {"1.5168", "64.35", 517644},  // 643.5 to 644
        {"1.5165", "50", 516500},     // 516.5 to 516
        {"1.5185", "50", 518500},     // 518.5 to 518
        {"1.5195", "50", 520500},     // 519.5 to 520
        {"1.5175", "50", 518500},     // 517.50006 in single
        {" 1.5168 ", "+64.17", 517642},
        {"0", "64.17", 0},
        {"abc", "64.17", 0},
        {"", "64.17", 0},
        {"1.5168", "abc", 517000},     // no vd: "000"
        {"1.5168", "5000", 517000},    // 50000 is no 16-bit integer
        {"40", "64.17", 642},          // 39000 is no 16-bit integer: the vd digits alone
        {"1.5168", "-0.5", 0},         // "517" & "0-5" is no number
        {"1.5168", "0.04", 517000},
        {"1.5168", "1e39", 517000},    // no single holds it
        {"33", "3200", 0},             // "32000" & "32000" is no 32-bit number
    };
    for (const auto& c : cases) EXPECT_EQ(MakeGlassCode(c.nd, c.vd), c.code) << c.nd << " " << c.vd;
}

TEST(GlassDataTest, ComputeGlassCode) {
    GlassRecord glass;
    glass.definition = withCoefficients(kSchott, {{0, 2.25}});  // n 1.5 everywhere: vd 0
    ComputeGlassCode(glass);
    EXPECT_EQ(glass.definition.glassCode, 500000);

    glass.definition.glassCode = 123456;
    glass.definition.formulaType = kNoFormula;
    ComputeGlassCode(glass);
    EXPECT_EQ(glass.definition.glassCode, 0);
}

namespace {
struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};
}  // namespace

TEST(GlassDataTest, GlassCodeDoesNotDependOnTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8");
    // Where no such C locale is installed, a C++ one with "," still tries the texts.
    const std::locale savedGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    GlassRecord glass;
    glass.definition = nbk7();
    ComputeGlassCode(glass);
    EXPECT_EQ(glass.definition.glassCode, 517642);
    EXPECT_EQ(MakeGlassCode("1.5168", "64.17"), 517642);
    std::locale::global(savedGlobal);
    if (switched) std::setlocale(LC_ALL, saved.c_str());
}

TEST(GlassDataTest, FormulaNamesAndCounts) {
    struct Case {
        std::int16_t code;
        const char* name;
        std::int16_t count;
    };
    const Case cases[] = {{1, "Schott", 6},         {2, "Sellmeier", 6}, {3, "Schott Plus", 12}, {4, "Cauchy", 3},
                          {5, "", 0},               {6, "Sellmeier Plus", 12}, {7, "", 0},       {8, "", 0},
                          {0, "", 0},               {9, "", 0},          {-1, "", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormulaName(c.code), c.name) << c.code;
        EXPECT_EQ(FormulaCoefCount(c.code), c.count) << c.code;
    }
}

TEST(GlassDataTest, FormulaComboAndMakerList) {
    MemoryListControl combo;
    combo.addItem("left over");
    FillFormulaCombo(combo);
    ASSERT_EQ(combo.count(), 4);
    const char* names[] = {"Schott", "Sellmeier", "Cauchy", "Schott Plus"};
    const std::int32_t codes[] = {1, 2, 4, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(combo.text(i), names[i]);
        EXPECT_EQ(combo.itemData(i), codes[i]);
    }
    SelectComboByItemData(3, combo);
    EXPECT_EQ(combo.currentIndex(), 3);
    SelectComboByItemData(6, combo);  // Sellmeier Plus is not offered
    EXPECT_EQ(combo.currentIndex(), 3);

    MemoryListControl makers;
    makers.addItem("old");
    FillMakerList(makers);
    const char* expected[] = {"Corning", "Hikari", "Hoya", "Ohara", "Pilkington", "Schott", "Sumita", "CDGM"};
    ASSERT_EQ(makers.count(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(makers.text(i), expected[i]);
}

TEST(GlassDataTest, ConvertConradyToSchott) {
    GlassDefinition def = withCoefficients(kConrady, {{0, 1.5}, {1, 0.0042}, {2, 0.00021}});
    def.coefficients[9] = 4;  // must not survive
    def.lowerWavelength = 400;
    def.upperWavelength = 700;
    const GlassDefinition old = def;
    ScriptedBoxes boxes;
    float rms = -1;
    ASSERT_TRUE(ConvertToSchott(def, rms, boxes));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(def.formulaType, kSchott);
    EXPECT_EQ(def.lowerWavelength, 400);
    EXPECT_EQ(def.upperWavelength, 700);
    for (std::size_t s = 6; s < 14; ++s) EXPECT_EQ(def.coefficients[s], 0) << s;
    EXPECT_GE(rms, 0.0f);
    EXPECT_LT(rms, 1e-6f);
    // The Schott formula follows the Conrady one over the range, samples
    // (every 15 nm) and between them.
    for (float nm = 400; nm <= 700; nm += 7.5f) {
        bool ok1 = false, ok2 = false;
        EXPECT_NEAR(EvaluateIndex(def, nm, kSchott, ok1), EvaluateIndex(old, nm, kConrady, ok2), 2e-6) << nm;
        EXPECT_TRUE(ok1 && ok2);
    }
}

namespace {

// KBr, from the published Sellmeier formula of Li (1976), put in the
// Herzberger form catalogues give infrared crystals, here over 0.65-25 µm.
GlassDefinition kbrHerzberger(std::int16_t lower, std::int16_t upper) {
    GlassDefinition def = withCoefficients(kHerzberger, {{0, 1.53687291},
                                                        {1, 0.00745380903},
                                                        {2, -3.83851452e-05},
                                                        {3, -0.000102914087},
                                                        {4, -1.84799136e-08},
                                                        {5, -5.24950867e-12}});
    def.lowerWavelength = lower;
    def.upperWavelength = upper;
    return def;
}

// The best least-squares Schott formula over the whole range, worked out here
// apart from the code under test: n² on an even grid of 20001 wavelengths,
// solved by Gram-Schmidt twice over in long double.
std::array<long double, 6> bestSchott(const GlassDefinition& source) {
    using Real = long double;
    const int rows = 20001;
    const double lo = source.lowerWavelength, hi = source.upperWavelength;
    std::vector<std::array<Real, 6>> q;
    std::vector<Real> y;
    for (int i = 0; i < rows; ++i) {
        const auto nm = static_cast<float>(lo + (hi - lo) * i / (rows - 1));
        bool ok = false;
        const double n = EvaluateIndex(source, nm, source.formulaType, ok);
        if (!ok) continue;
        const Real L = static_cast<float>(nm * 0.001);
        const Real x = L * L;
        q.push_back({1, x, 1 / x, 1 / (x * x), 1 / (x * x * x), 1 / (x * x * x * x)});
        y.push_back(static_cast<Real>(n) * n);
    }
    // Columns of q made orthonormal; r is upper triangular, q·r the basis.
    std::array<std::array<Real, 6>, 6> r{};
    for (std::size_t k = 0; k < 6; ++k) {
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t j = 0; j < k; ++j) {
                Real dot = 0;
                for (const auto& row : q) dot += row[j] * row[k];
                for (auto& row : q) row[k] -= dot * row[j];
                r[j][k] += dot;
            }
        Real norm = 0;
        for (const auto& row : q) norm += row[k] * row[k];
        norm = std::sqrt(norm);
        for (auto& row : q) row[k] /= norm;
        r[k][k] = norm;
    }
    std::array<Real, 6> c{};
    for (std::size_t k = 6; k-- > 0;) {
        Real v = 0;
        for (std::size_t i = 0; i < q.size(); ++i) v += q[i][k] * y[i];
        for (std::size_t j = k + 1; j < 6; ++j) v -= r[k][j] * c[j];
        c[k] = v / r[k][k];
    }
    return c;
}

struct RangeError {
    double largest = 0;
    bool valid = true;  // an index, n ≥ 1, at every nm of the range
};

// The largest difference between a Schott formula and the source at every
// nm of the source's range.
template <class Schott>
RangeError errorOver(const GlassDefinition& source, Schott schottIndex) {
    RangeError e;
    for (int nm = source.lowerWavelength; nm <= source.upperWavelength; ++nm) {
        bool ok = false;
        const double old = EvaluateIndex(source, static_cast<float>(nm), source.formulaType, ok);
        if (!ok) continue;
        double n = 0;
        if (!schottIndex(static_cast<float>(nm), n) || n < 1) e.valid = false;
        e.largest = std::max(e.largest, std::fabs(n - old));
    }
    return e;
}

}  // namespace

// Over a wide infrared range or a narrow one, and for a Conrady glass, the
// refit is an index over the whole range, and its largest error there is
// within 1.2 times that of the best least-squares Schott formula. Its rms is
// the error over the range, not at the fit's samples.
TEST(GlassDataTest, ConvertIsValidAndNearTheBestSchottFormula) {
    GlassDefinition conrady = withCoefficients(kConrady, {{0, 1.5}, {1, 0.0042}, {2, 0.00021}});
    conrady.lowerWavelength = 400;
    conrady.upperWavelength = 700;
    struct Case {
        const char* what;
        GlassDefinition source;
        double floor;  // an error this small is as good as the best
    } const cases[] = {
        {"KBr 650-25000 nm", kbrHerzberger(650, 25000), 0},
        {"KBr 650-14000 nm", kbrHerzberger(650, 14000), 0},
        {"KBr 650-670 nm", kbrHerzberger(650, 670), 1e-12},
        {"Conrady 400-700 nm", conrady, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GlassDefinition def = c.source;
        ScriptedBoxes boxes;
        float rms = -1;
        ASSERT_TRUE(ConvertToSchott(def, rms, boxes));
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ(def.formulaType, kSchott);
        EXPECT_EQ(def.lowerWavelength, c.source.lowerWavelength);
        for (std::size_t s = 6; s < 14; ++s) EXPECT_EQ(def.coefficients[s], 0) << s;

        const RangeError got = errorOver(c.source, [&](float nm, double& n) {
            bool ok = false;
            n = EvaluateIndex(def, nm, kSchott, ok);
            return ok;
        });
        const auto best = bestSchott(c.source);
        const RangeError reference = errorOver(c.source, [&](float nm, double& n) {
            const long double L = static_cast<float>(nm * 0.001), x = L * L;
            const long double n2 = best[0] + best[1] * x + best[2] / x + best[3] / (x * x) +
                                   best[4] / (x * x * x) + best[5] / (x * x * x * x);
            n = static_cast<double>(std::sqrt(n2));
            return n2 > 0;
        });
        EXPECT_TRUE(got.valid);
        EXPECT_LE(got.largest, std::max(1.2 * reference.largest, c.floor))
            << "best " << reference.largest << ", refit " << got.largest;

        // The rms over the range on a log scale, worked out here.
        double sum = 0;
        const int points = 5000;
        for (int i = 0; i <= points; ++i) {
            const double lo = c.source.lowerWavelength, hi = c.source.upperWavelength;
            const auto nm = static_cast<float>(lo * std::pow(hi / lo, static_cast<double>(i) / points));
            bool ok1 = false, ok2 = false;
            const double d = EvaluateIndex(def, nm, kSchott, ok1) - EvaluateIndex(c.source, nm, c.source.formulaType, ok2);
            sum += d * d;
        }
        const double rangeRms = std::sqrt(sum / (points + 1));
        EXPECT_NEAR(rms, rangeRms, 0.05 * rangeRms + c.floor);
    }
}

// A Schott formula that is no index somewhere in the range is refused, with
// where and why, and the formula stays as it was.
TEST(GlassDataTest, ConvertRefusesASchottFormulaThatIsNoIndexInTheRange) {
    // An index that falls to 1.05 and turns up again towards 25 µm: the
    // Schott formula, linear in λ² there, cannot turn with it and ends below 1.
    GlassDefinition def =
        withCoefficients(kHerzberger, {{0, 1.42}, {1, -0.0071}, {3, -0.00096}, {4, 1.8e-7}, {5, 6.8e-10}});
    def.lowerWavelength = 650;
    def.upperWavelength = 25000;
    for (int nm = 650; nm <= 25000; nm += 50) {
        bool ok = false;
        EXPECT_GT(index(def, static_cast<float>(nm), ok), 1.04) << nm;
    }
    const GlassDefinition before = def;
    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    float rms = -1;
    EXPECT_FALSE(ConvertToSchott(def, rms, boxes));
    EXPECT_EQ(def, before);
    EXPECT_EQ(rms, -1.0f);
    ASSERT_EQ(boxes.shown().size(), 1u);
    const std::string& text = boxes.last().text;
    EXPECT_EQ(text.rfind("Schott formula invalid at ", 0), 0u) << text;
    EXPECT_TRUE(text.ends_with(" nm: n below 1") || text.ends_with(" nm: n squared 0 or less")) << text;
    EXPECT_EQ(boxes.last().style, kBoxPlain);
}

TEST(GlassDataTest, ConvertHerzbergerStartsAt650) {
    const GlassDefinition herz =
        withCoefficients(kHerzberger, {{0, 1.5}, {1, 0.004}, {2, 0.0001}, {3, -0.003}, {4, 0.0002}, {5, -1e-5}});
    struct Case {
        std::int16_t lower, upper, lowerAfter;
    };
    for (const Case c : {Case{365, 1500, 650}, Case{700, 1500, 700}}) {
        GlassDefinition def = herz;
        def.lowerWavelength = c.lower;
        def.upperWavelength = c.upper;
        ScriptedBoxes boxes;
        float rms = -1;
        ASSERT_TRUE(ConvertToSchott(def, rms, boxes)) << c.lower;
        EXPECT_EQ(def.lowerWavelength, c.lowerAfter);
        EXPECT_EQ(def.formulaType, kSchott);
        bool ok1 = false, ok2 = false;
        EXPECT_NEAR(EvaluateIndex(def, c.lowerAfter, kSchott, ok1), EvaluateIndex(herz, c.lowerAfter, kHerzberger, ok2),
                    1e-5);
    }
}

TEST(GlassDataTest, ConvertFailuresKeepTheFormula) {
    const GlassDefinition conrady = withCoefficients(kConrady, {{0, 1.5}, {1, 0.0042}, {2, 0.00021}});
    // An empty or reversed range: False at once, nothing shown or changed.
    for (auto [lower, upper] : {std::pair<std::int16_t, std::int16_t>{500, 500}, {700, 400}}) {
        GlassDefinition def = conrady;
        def.lowerWavelength = lower;
        def.upperWavelength = upper;
        const GlassDefinition before = def;
        ScriptedBoxes boxes;
        float rms = -1;
        EXPECT_FALSE(ConvertToSchott(def, rms, boxes));
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ(def, before);
        EXPECT_EQ(rms, -1.0f);
    }
    // Failures the Schott fit tells of: no sample evaluates, so it has too few
    // points; or the refit's error over the range is more than a single holds.
    GlassDefinition noSample = withCoefficients(kConrady, {{0, 0.5}});
    noSample.lowerWavelength = 400;
    noSample.upperWavelength = 700;
    GlassDefinition huge = withCoefficients(kHerzberger, {{1, 1e46}});
    huge.lowerWavelength = 650;
    huge.upperWavelength = 1020;
    const struct {
        GlassDefinition def;
        const char* text;
    } told[] = {
        {noSample, "Insufficient Data Points\r\nAdd More Data"},
        {huge, "Failed to fit Schott Polynomial\r\nCheck data or try another polynomial form"},
    };
    float rms = -1;
    for (const auto& c : told) {
        GlassDefinition def = c.def;
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(ConvertToSchott(def, rms, boxes)) << c.text;
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().text, c.text);
        EXPECT_EQ(def, c.def);
    }
    // A Herzberger record keeps its raised lower limit even when the fit fails.
    GlassDefinition herz = withCoefficients(kHerzberger, {});
    herz.lowerWavelength = 400;
    herz.upperWavelength = 900;
    ScriptedBoxes boxes2;
    boxes2.answer(kAnswerOk);
    EXPECT_FALSE(ConvertToSchott(herz, rms, boxes2));
    EXPECT_EQ(herz.lowerWavelength, 650);
    EXPECT_EQ(herz.formulaType, kHerzberger);
}
