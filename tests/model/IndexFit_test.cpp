#include "model/IndexFit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "model/GlassData.h"
#include "model/NonLinearOptimise.h"
#include "model/NumberFormat.h"
#include "support/ScriptedBoxes.h"
#include "support/SellmeierReference.h"

namespace {

const std::string kCheckData = "\r\nCheck data or try another polynomial form";
const std::string kInsufficient = "Insufficient Data Points\r\nAdd More Data";

GlassDefinition formula(std::int16_t type, std::initializer_list<double> c) {
    GlassDefinition def;
    def.formulaType = type;
    std::size_t i = 0;
    for (double v : c) def.coefficients[i++] = v;
    return def;
}

GlassDefinition nbk7() {
    return formula(kSellmeier, {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653});
}

// n points from lo to hi nm on the formula, weight 1, and a residual that a
// fit must overwrite or keep. The µm wavelength is the single the formula was
// evaluated at, so that points and formula agree to the last bit.
MeasuredData pointsOn(const GlassDefinition& def, int n, float lo, float hi, double noise = 0) {
    MeasuredData m{};
    for (int i = 1; i <= n; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        const float nm = lo + (hi - lo) * static_cast<float>(i - 1) / static_cast<float>(n - 1);
        bool ok = false;
        const double v = EvaluateIndex(def, nm, def.formulaType, ok) + noise * ((i * 7919) % 13 - 6) / 6.0;
        EXPECT_TRUE(ok) << nm;
        m.indexWavelength[pi] = nm;
        m.indexWavelengthUm[pi] = static_cast<float>(nm * 0.001);
        m.weight[pi] = 1;
        m.index[pi] = v;
        m.indexSquared[pi] = v * v;
        m.residual[pi] = 123;
    }
    return m;
}

// Index points of a formula at the given wavelengths, as the editor reads
// them: rounded to the given decimals (0: not rounded), then kept in single
// precision when asked.
MeasuredData pointsAt(const GlassDefinition& generator, const std::vector<float>& waves, int decimals, bool single) {
    MeasuredData m{};
    for (std::size_t i = 1; i <= waves.size(); ++i) {
        bool ok = false;
        double n = EvaluateIndex(generator, waves[i - 1], generator.formulaType, ok);
        EXPECT_TRUE(ok) << waves[i - 1];
        if (decimals > 0) n = std::round(n * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
        if (single) n = static_cast<float>(n);
        m.indexWavelength[i] = waves[i - 1];
        // The µm the formula was evaluated at, so that points and formula agree.
        m.indexWavelengthUm[i] = static_cast<float>(waves[i - 1] * 0.001);
        m.weight[i] = 1;
        m.index[i] = n;
        m.indexSquared[i] = n * n;
    }
    return m;
}

using LinearFit = bool (*)(std::int16_t&, std::int16_t, std::string&, GlassDefinition&, MeasuredData&, IBoxes&);

struct LinearCase {
    const char* name;
    LinearFit fit;
    int m;
    GlassDefinition generator;
    const char* failure;
};

std::vector<LinearCase> linearCases() {
    return {
        {"Cauchy", FitCauchy, 3, formula(kCauchy, {2.25, 0.0118, 0.00021}), "Failed to fit Cauchy Polynomial"},
        {"Schott", FitSchott, 6, formula(kSchott, {2.27, -0.0095, 0.0108, 0.00021, -1.2e-5, 9e-7}),
         "Failed to fit Schott Polynomial"},
        {"Extended Schott", FitExtendedSchott, 10,
         formula(kSchottPlus, {1e-9, -2e-8, 3e-7, 0.00021, 0.0108, 2.27, -0.0095, 1e-4, -2e-5, 1e-6}),
         "Failed to fit Extended Schott Polynomial"},
    };
}

}  // namespace

// Points on a formula of the fit's kind are reproduced to rounding, with the
// curve between them, also ten terms from twelve points.
TEST(LinearFitTest, PointsOnTheFormulaAreReproduced) {
    struct Run {
        int caseIndex;
        int count;
        float lo, hi;
        double tolerance;
    };
    const Run runs[] = {
        {0, 3, 365, 1014, 1e-13}, {0, 41, 365, 2300, 1e-13}, {1, 6, 365, 1014, 1e-13},
        {1, 41, 365, 2300, 1e-13}, {2, 12, 365, 2300, 1e-13}, {2, 41, 365, 2300, 1e-13},
    };
    const auto cases = linearCases();
    for (const auto& run : runs) {
        const auto& c = cases[static_cast<std::size_t>(run.caseIndex)];
        const int count = run.count;
        MeasuredData data = pointsOn(c.generator, count, run.lo, run.hi);
        GlassDefinition def;
        def.formulaType = 77;
        def.coefficients.fill(9.5);
        std::int16_t nTerms = 0;
        std::string report;
        ScriptedBoxes boxes;
        ASSERT_TRUE(c.fit(nTerms, static_cast<std::int16_t>(count), report, def, data, boxes)) << c.name;
        EXPECT_EQ(nTerms, c.m);
        EXPECT_EQ(def.formulaType, 77) << "the caller sets the type";
        for (int s = c.m; s < kCoefficientSlots; ++s) EXPECT_EQ(def.coefficients[static_cast<std::size_t>(s)], 0) << s;
        double ss = 0;
        for (int i = 1; i <= count; ++i) {
            const auto pi = static_cast<std::size_t>(i);
            EXPECT_NEAR(data.fittedIndex[pi], data.index[pi], run.tolerance) << c.name << " " << count << " " << i;
            EXPECT_EQ(data.residual[pi], data.index[pi] - data.fittedIndex[pi]);
            ss += data.residual[pi] * data.residual[pi];
        }
        EXPECT_DOUBLE_EQ(data.sumOfSquares, ss);
        // The stored formula gives the fitted indices, and the curve between the points.
        def.formulaType = c.generator.formulaType;
        for (int i = 1; i <= count; ++i) {
            bool ok = false;
            const auto pi = static_cast<std::size_t>(i);
            EXPECT_NEAR(EvaluateIndex(def, static_cast<float>(data.indexWavelength[pi]), def.formulaType, ok),
                        data.fittedIndex[pi], 1e-14);
        }
        for (float nm : {400.0f, 587.5618f, 800.0f}) {
            bool ok1 = false, ok2 = false;
            EXPECT_NEAR(EvaluateIndex(def, nm, def.formulaType, ok1),
                        EvaluateIndex(c.generator, nm, c.generator.formulaType, ok2), run.tolerance)
                << c.name << " " << nm;
        }
    }
}

TEST(LinearFitTest, ResidualsAndSumOfSquaresOfNoisyPoints) {
    const auto c = linearCases()[1];
    MeasuredData data = pointsOn(c.generator, 41, 365, 2300, 2e-5);
    GlassDefinition def;
    std::int16_t nTerms = 0;
    std::string report;
    ScriptedBoxes boxes;
    ASSERT_TRUE(FitSchott(nTerms, 41, report, def, data, boxes));
    double ss = 0;
    for (std::size_t i = 1; i <= 41; ++i) {
        bool ok = false;
        def.formulaType = kSchott;
        EXPECT_NEAR(data.fittedIndex[i], EvaluateIndex(def, static_cast<float>(data.indexWavelength[i]), kSchott, ok), 1e-12);
        EXPECT_DOUBLE_EQ(data.residual[i], data.index[i] - data.fittedIndex[i]);
        ss += data.residual[i] * data.residual[i];
    }
    EXPECT_DOUBLE_EQ(data.sumOfSquares, ss);
    EXPECT_GT(ss, 1e-10);  // the noise is not fitted away
    EXPECT_LT(ss, 41 * 4e-10);
}

TEST(LinearFitTest, TooFewPointsChangeNothing) {
    for (const auto& c : linearCases()) {
        for (int count : {c.m - 1, 0, -1}) {
            MeasuredData data = pointsOn(c.generator, c.m + 2, 400, 1000);
            const MeasuredData dataBefore = data;
            GlassDefinition def = nbk7();
            const GlassDefinition defBefore = def;
            std::int16_t nTerms = 0;
            std::string report = "old";
            ScriptedBoxes boxes;
            boxes.answer(kAnswerOk);
            EXPECT_FALSE(c.fit(nTerms, static_cast<std::int16_t>(count), report, def, data, boxes)) << c.name;
            EXPECT_EQ(nTerms, c.m);
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.last().text, kInsufficient);
            EXPECT_EQ(boxes.last().style, kBoxPlain);
            EXPECT_EQ(boxes.last().title, kAppTitle);
            EXPECT_EQ(data, dataBefore);
            EXPECT_EQ(def, defBefore);
            EXPECT_EQ(report, "old");
        }
    }
}

// Failures show the fit's own text and leave the definition and the data as
// they were, also when the fault comes while the fitted indices are written.
TEST(LinearFitTest, FailuresChangeNothing) {
    for (const auto& c : linearCases()) {
        const int count = c.m + 2;
        struct Spoil {
            const char* what;
            void (*apply)(MeasuredData&, int count);
            int count;
        };
        const Spoil spoils[] = {
            {"all weights 0", [](MeasuredData& d, int n) { for (int i = 1; i <= n; ++i) d.weight[static_cast<std::size_t>(i)] = 0; }, count},
            {"a weighted point at 0 nm", [](MeasuredData& d, int) { d.indexWavelengthUm[2] = 0; }, count},
            {"a weight that is no number",
             [](MeasuredData& d, int) { d.weight[2] = std::numeric_limits<float>::quiet_NaN(); }, count},
            {"an index that is no number",
             [](MeasuredData& d, int) { d.indexSquared[1] = std::numeric_limits<double>::infinity(); }, count},
            // The sums never see a zero-weight point; its fitted index at 0 nm is the fault.
            {"a zero-weight point at 0 nm",
             [](MeasuredData& d, int n) {
                 d.weight[static_cast<std::size_t>(n)] = 0;
                 d.indexWavelengthUm[static_cast<std::size_t>(n)] = 0;
             },
             count},
            {"more points than the record holds", [](MeasuredData&, int) {}, kMaxIndexPoints + 1},
        };
        for (const auto& s : spoils) {
            MeasuredData data = pointsOn(c.generator, count, 400, 1000);
            s.apply(data, count);
            const MeasuredData dataBefore = data;
            GlassDefinition def = nbk7();
            const GlassDefinition defBefore = def;
            std::int16_t nTerms = 0;
            std::string report = "old";
            ScriptedBoxes boxes;
            boxes.answer(kAnswerOk);
            EXPECT_FALSE(c.fit(nTerms, static_cast<std::int16_t>(s.count), report, def, data, boxes))
                << c.name << ": " << s.what;
            ASSERT_EQ(boxes.shown().size(), 1u) << c.name << ": " << s.what;
            EXPECT_EQ(boxes.last().text, c.failure + kCheckData) << s.what;
            EXPECT_EQ(boxes.last().style, kBoxPlain);
            // (whole-record equality would trip over the NaN weight)
            EXPECT_EQ(data.fittedIndex, dataBefore.fittedIndex) << c.name << ": " << s.what;
            EXPECT_EQ(data.residual, dataBefore.residual) << c.name << ": " << s.what;
            EXPECT_EQ(data.sumOfSquares, dataBefore.sumOfSquares) << c.name << ": " << s.what;
            EXPECT_EQ(def, defBefore) << c.name << ": " << s.what;
            EXPECT_EQ(report, "old");
        }
    }
}

namespace {

double largestOf(const MeasuredData& data, int count) {
    double largest = 0;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) largest = std::max(largest, std::fabs(data.residual[i]));
    return largest;
}

// N-BK7 in the older Schott formula of the catalogues.
GlassDefinition oldSchottNbk7() {
    return formula(kSchott, {2.2718929, -1.0108077e-2, 1.0592509e-2, 2.0816965e-4, -7.6472538e-6, 4.9240991e-7});
}

const std::vector<float> kTwelveLines{365.0146f, 404.6561f, 435.8343f, 486.1327f, 546.074f, 587.5618f,
                                      656.2725f, 706.5188f, 852.11f,   1013.98f,  1529.6f,  2325.42f};

}  // namespace

// The ten powers of the Schott Plus formula hold the six of the Schott
// formula: on the same points its fit is never worse.
TEST(LinearFitTest, SchottPlusIsNeverWorseThanSchott) {
    const GlassDefinition caf2 = formula(kSellmeier, {0.5675888, 0.4710914, 3.8484723, 0.050263605 * 0.050263605,
                                                      0.1003909 * 0.1003909, 34.649040 * 34.649040});
    const std::vector<float> seventeen{2325.42f, 1970.09f, 1529.58f, 1060.0f,  1013.98f, 852.11f,
                                       706.5188f, 656.2725f, 643.8469f, 589.2938f, 587.5618f, 546.074f,
                                       486.1327f, 479.9914f, 435.8343f, 404.6561f, 365.0146f};
    const struct {
        const char* what;
        GlassDefinition glass;
        const std::vector<float>& lines;
    } sets[] = {
        {"N-BK7 by the older Schott formula", oldSchottNbk7(), kTwelveLines},
        {"CaF2", caf2, kTwelveLines},
        {"N-BK7", nbk7(), seventeen},
    };
    for (const auto& set : sets) {
        for (int decimals : {0, 5, 6}) {
            SCOPED_TRACE(std::string(set.what) + ", " + std::to_string(decimals) + " decimals");
            const auto count = static_cast<std::int16_t>(set.lines.size());
            MeasuredData schott = pointsAt(set.glass, set.lines, decimals, false), plus = schott;
            GlassDefinition schottDef, plusDef;
            std::int16_t nTerms = 0;
            std::string report;
            ScriptedBoxes boxes;
            ASSERT_TRUE(FitSchott(nTerms, count, report, schottDef, schott, boxes));
            ASSERT_TRUE(FitExtendedSchott(nTerms, count, report, plusDef, plus, boxes));
            // Least squares in n², residuals in n: a few per cent between the two.
            EXPECT_LE(plus.sumOfSquares, 1.05 * schott.sumOfSquares + count * 1e-26);
            EXPECT_LE(largestOf(plus, count), std::max(1.5 * largestOf(schott, count), 1e-12));
        }
    }
}

// Points that lie on a Schott formula over a narrow band are reproduced, to
// rounding when exact and well within their last decimal when rounded.
TEST(LinearFitTest, ANarrowBandIsReproduced) {
    struct Case {
        const char* what;
        GlassDefinition glass;
        std::vector<float> lines;
        int decimals;
        double allowed;
    };
    const Case cases[] = {
        {"six points over 546-656 nm on a Schott formula", oldSchottNbk7(),
         {546.074f, 587.5618f, 589.2938f, 632.8f, 643.8469f, 656.2725f}, 0, 1e-12},
        {"N-BK7 to six decimals at seven lines over 480-656 nm", nbk7(),
         {479.9914f, 486.1327f, 546.074f, 587.5618f, 589.2938f, 643.8469f, 656.2725f}, 6, 1e-7},
    };
    for (const Case& c : cases) {
        const auto count = static_cast<std::int16_t>(c.lines.size());
        MeasuredData data = pointsAt(c.glass, c.lines, c.decimals, false);
        GlassDefinition def;
        std::int16_t nTerms = 0;
        std::string report;
        ScriptedBoxes boxes;
        ASSERT_TRUE(FitSchott(nTerms, count, report, def, data, boxes)) << c.what;
        EXPECT_LE(largestOf(data, count), c.allowed) << c.what;
    }
}

// Fewer distinct wavelengths of weight above 0 than terms determine no
// formula: the fit is refused with its failure text.
TEST(LinearFitTest, FewerDistinctWavelengthsThanTermsAreRefused) {
    const std::vector<float> withTwiceD{435.8343f, 486.1327f, 546.074f, 587.5618f, 587.5618f, 656.2725f};
    MeasuredData twice = pointsAt(nbk7(), withTwiceD, 5, false);
    MeasuredData zeroWeights = pointsAt(nbk7(), kTwelveLines, 5, false);
    for (std::size_t i = 1; i <= 7; ++i) zeroWeights.weight[i] = 0;  // five left for six terms
    const struct {
        const char* what;
        MeasuredData data;
        int count;
    } cases[] = {{"the d line typed twice", twice, 6}, {"seven of twelve weights 0", zeroWeights, 12}};
    for (const auto& c : cases) {
        MeasuredData data = c.data;
        GlassDefinition def = nbk7();
        std::int16_t nTerms = 0;
        std::string report = "old";
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(FitSchott(nTerms, static_cast<std::int16_t>(c.count), report, def, data, boxes)) << c.what;
        ASSERT_EQ(boxes.shown().size(), 1u) << c.what;
        EXPECT_EQ(boxes.last().text, "Failed to fit Schott Polynomial" + kCheckData);
        EXPECT_EQ(data, c.data);
        EXPECT_EQ(def, nbk7());
        EXPECT_EQ(report, "old");
    }
}

TEST(LinearFitTest, ZeroWeightPointIsFittedButKeepsItsResidual) {
    const GlassDefinition gen = formula(kCauchy, {2.25, 0.0118, 0.00021});
    MeasuredData four = pointsOn(gen, 4, 400, 1000, 1e-4);
    MeasuredData five = four;
    five.indexWavelength[5] = 700;
    five.indexWavelengthUm[5] = static_cast<float>(700 * 0.001);
    five.index[5] = 1.9;  // far off the others
    five.indexSquared[5] = 1.9 * 1.9;
    five.weight[5] = 0;
    five.residual[5] = 123;
    GlassDefinition def4, def5;
    std::int16_t nTerms = 0;
    std::string report;
    ScriptedBoxes boxes;
    ASSERT_TRUE(FitCauchy(nTerms, 4, report, def4, four, boxes));
    ASSERT_TRUE(FitCauchy(nTerms, 5, report, def5, five, boxes));
    EXPECT_EQ(def5.coefficients, def4.coefficients);
    EXPECT_EQ(five.residual[5], 123);
    bool ok = false;
    EXPECT_DOUBLE_EQ(five.fittedIndex[5], EvaluateIndex(def5, 700.0f, kCauchy, ok));
    EXPECT_DOUBLE_EQ(five.sumOfSquares, four.sumOfSquares);

    // Equal weights of another size give the same fit.
    MeasuredData halves = four;
    for (std::size_t i = 1; i <= 4; ++i) halves.weight[i] = 0.5f;
    GlassDefinition defHalf;
    ASSERT_TRUE(FitCauchy(nTerms, 4, report, defHalf, halves, boxes));
    for (std::size_t s = 0; s < 3; ++s) EXPECT_NEAR(defHalf.coefficients[s], def4.coefficients[s], 1e-12);
}

TEST(LinearFitTest, Reports) {
    const GlassDefinition schott = formula(kSchott, {2.27, -0.01, 0.0108, 0.0002, 0, 0});
    EXPECT_EQ(SchottReport(schott, ""),
              "Schott Polynomial Constants\r\n\r\n"
              "A0:   +2.27000000e+00\r\nA1:   -1.00000000e-02\r\nA2:   +1.08000000e-02\r\n"
              "A3:   +2.00000000e-04\r\nA4:   +0.00000000e+00\r\nA5:   +0.00000000e+00");
    EXPECT_EQ(CauchyReport(formula(kCauchy, {2.25, 0.0118, -0.00021}), "Fit:\r\n"),
              "Fit:\r\nCauchy Polynomial Constants\r\n\r\n"
              "A0:   +2.25000000e+00\r\nA1:   +1.18000000e-02\r\nA2:   -2.10000000e-04");
    const GlassDefinition ext = formula(kSchottPlus, {0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9.5});
    EXPECT_EQ(ExtendedSchottReport(ext, ""),
              "Extended Schott Polynomial Constants\r\n\r\n"
              "A0:    +5.50000000e+00\r\n\r\n"
              "A1:   +6.50000000e+00\r\nA2:   +7.50000000e+00\r\nA3:   +8.50000000e+00\r\nA4:   +9.50000000e+00\r\n\r\n"
              "A5:   +4.50000000e+00\r\nA6:   +3.50000000e+00\r\nA7:   +2.50000000e+00\r\nA8:   +1.50000000e+00\r\n"
              "A9:   +5.00000000e-01");
    EXPECT_EQ(SellmeierReport(nbk7(), ""),
              "Sellmeier Polynomial Constants\r\n\r\n"
              "B1:   +1.03961212e+00\r\nB2:   +2.31792344e-01\r\nB3:   +1.01046945e+00\r\n\r\n"
              "C1:   +6.00069867e-03\r\nC2:   +2.00179144e-02\r\nC3:   +1.03560653e+02");

    // A fit reports the constants it stored.
    MeasuredData data = pointsOn(schott, 6, 400, 1000);
    GlassDefinition def;
    std::int16_t nTerms = 0;
    std::string report;
    ScriptedBoxes boxes;
    ASSERT_TRUE(FitSchott(nTerms, 6, report, def, data, boxes));
    EXPECT_EQ(report, SchottReport(def, ""));
}

TEST(LinearFitTest, StoreCoefficientsZeroesTheRest) {
    GlassDefinition def;
    def.coefficients.fill(7);
    const double c[] = {1, 2, 3};
    StoreCoefficients(def, c);
    EXPECT_EQ(def.coefficients[0], 1);
    EXPECT_EQ(def.coefficients[2], 3);
    for (std::size_t s = 3; s < 14; ++s) EXPECT_EQ(def.coefficients[s], 0);
}

// ---- Sellmeier ------------------------------------------------------------

namespace {

struct SellmeierRun {
    bool ok = false;
    GlassDefinition def;
    MeasuredData data;
    std::string report = "old";
};

SellmeierRun fitSellmeier(const MeasuredData& data, int count, int terms, ScriptedBoxes& boxes, bool showMessages = true,
                          const GlassDefinition* start = nullptr) {
    SellmeierRun r;
    r.data = data;
    r.def = formula(kSellmeier, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    const GlassDefinition none;
    r.ok = FitSellmeier(static_cast<std::int16_t>(count), static_cast<std::int16_t>(terms), r.report, r.def, r.data,
                        start ? *start : none, start != nullptr, showMessages, boxes);
    return r;
}

const char* const kSlowQuestion = "Sellmeier seems to be failing to converge\r\ndo you stop searching now";
const std::string kSellmeierFailure = "Failed to fit Sellmeier Polynomial" + kCheckData;

}  // namespace

TEST(SellmeierFitTest, ConvergesOnPointsOfASellmeierFormula) {
    struct Case {
        GlassDefinition generator;
        int count;
        float lo, hi;
    };
    const Case cases[] = {
        {formula(kSellmeier, {0.73, 0.64, 0.86, 0.0031, 0.013, 143.6}), 8, 400, 1000},
        {nbk7(), 41, 365, 2300},
        {nbk7(), 150, 365, 2300},
        {nbk7(), 3, 400, 1000},  // as many points as terms passes the count check
    };
    for (const auto& c : cases) {
        ScriptedBoxes boxes;
        const MeasuredData data = pointsOn(c.generator, c.count, c.lo, c.hi);
        const SellmeierRun r = fitSellmeier(data, c.count, 3, boxes);
        ASSERT_TRUE(r.ok) << c.count;
        EXPECT_TRUE(boxes.shown().empty());
        for (std::size_t s = 6; s < 14; ++s) EXPECT_EQ(r.def.coefficients[s], 0) << s;
        EXPECT_EQ(r.def.formulaType, kSellmeier);
        double ss = 0;
        for (std::size_t i = 1; i <= static_cast<std::size_t>(c.count); ++i) {
            bool ok = false;
            const double n = EvaluateIndex(r.def, static_cast<float>(data.indexWavelength[i]), kSellmeier, ok);
            EXPECT_NEAR(r.data.fittedIndex[i], n, 1e-12);
            // Data a three-term formula reproduces are reproduced to rounding.
            EXPECT_NEAR(r.data.fittedIndex[i], data.index[i], 1e-12) << c.count << " " << i;
            EXPECT_DOUBLE_EQ(r.data.residual[i], data.index[i] - r.data.fittedIndex[i]);
            ss += r.data.residual[i] * r.data.residual[i];
        }
        EXPECT_DOUBLE_EQ(r.data.sumOfSquares, ss);
        EXPECT_EQ(r.report, SellmeierReport(r.def, ""));
    }
}

TEST(SellmeierFitTest, FittedNbk7KeepsItsOpticalConstants) {
    ScriptedBoxes boxes;
    const SellmeierRun r = fitSellmeier(pointsOn(nbk7(), 41, 365, 2300), 41, 3, boxes);
    ASSERT_TRUE(r.ok);
    GlassRecord glass;
    glass.definition = r.def;
    ComputeGlassCode(glass);
    EXPECT_EQ(glass.definition.glassCode, 517642);
    bool ok = false;
    EXPECT_NEAR(EvaluateIndex(r.def, kLineD, kSellmeier, ok), 1.51680, 0.5e-5);
}

TEST(SellmeierFitTest, TooFewPoints) {
    const MeasuredData data = pointsOn(nbk7(), 5, 400, 1000);
    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    SellmeierRun r = fitSellmeier(data, 2, 3, boxes);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text, kInsufficient);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(r.data, data);
    EXPECT_EQ(r.report, "old");

    ScriptedBoxes silent;
    EXPECT_FALSE(fitSellmeier(data, 4, 5, silent, false).ok);
    EXPECT_TRUE(silent.shown().empty());
}

TEST(SellmeierFitTest, CountsOutOfRangeAreRefused) {
    const MeasuredData data = pointsOn(nbk7(), 10, 400, 1000);
    for (auto [count, terms] : {std::pair{10, 4}, {10, 6}, {10, 1}, {kMaxIndexPoints + 1, 3}}) {
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        const SellmeierRun r = fitSellmeier(data, count, terms, boxes);
        EXPECT_FALSE(r.ok) << count << " " << terms;
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().text, kSellmeierFailure);
        EXPECT_EQ(r.data, data);
    }
}

TEST(SellmeierFitTest, WeightsOnlyChooseWhichPointsGetResiduals) {
    const MeasuredData data = pointsOn(nbk7(), 12, 400, 1000, 1e-5);
    MeasuredData withZero = data;
    withZero.weight[3] = 0;
    ScriptedBoxes boxes;
    const SellmeierRun all = fitSellmeier(data, 12, 3, boxes);
    const SellmeierRun zero = fitSellmeier(withZero, 12, 3, boxes);
    ASSERT_TRUE(all.ok && zero.ok);
    EXPECT_EQ(zero.def.coefficients, all.def.coefficients);  // the point still pulls
    EXPECT_EQ(zero.data.fittedIndex[3], all.data.fittedIndex[3]);
    EXPECT_EQ(zero.data.residual[3], 123);
    EXPECT_DOUBLE_EQ(zero.data.sumOfSquares, all.data.sumOfSquares - all.data.residual[3] * all.data.residual[3]);
}

// Ten points with noise of 3e-3 over a narrow band: the iteration needs more
// than 60 steps.
TEST(SellmeierFitTest, AsksEveryThirtySteps) {
    const MeasuredData data = pointsOn(nbk7(), 10, 450, 700, 3e-3);
    {
        ScriptedBoxes boxes;
        for (int i = 0; i < 10; ++i) boxes.answer(kAnswerNo);
        const SellmeierRun r = fitSellmeier(data, 10, 3, boxes);
        EXPECT_TRUE(r.ok);
        EXPECT_GE(boxes.shown().size(), 2u);
        EXPECT_EQ(boxes.shown().size() + boxes.pendingAnswers(), 10u);
        for (const auto& box : boxes.shown()) {
            EXPECT_EQ(box.text, kSlowQuestion);
            EXPECT_EQ(box.style, kBoxInformationYesNo);
            EXPECT_EQ(box.title, kAppTitle);
        }
    }
    {
        ScriptedBoxes boxes;
        boxes.answer(kAnswerYes);
        const SellmeierRun r = fitSellmeier(data, 10, 3, boxes);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(boxes.shown().size(), 1u);  // no failure message after Yes
        EXPECT_EQ(r.data, data);
        EXPECT_EQ(r.def.coefficients[0], 9);
        EXPECT_EQ(r.report, "old");
    }
    {
        ScriptedBoxes boxes;
        EXPECT_FALSE(fitSellmeier(data, 10, 3, boxes, false).ok);  // gives up at step 30
        EXPECT_TRUE(boxes.shown().empty());
    }
}

// The start's poles are where the iteration starts, each pole keeping its
// slot; a start that makes no sound formula (a pole on a point) gives way to
// the fit's own start.
TEST(SellmeierFitTest, StartsFromTheStartDefinition) {
    const MeasuredData data = pointsOn(nbk7(), 20, 400, 1000);
    const auto& c = nbk7().coefficients;
    // The infrared term first.
    const GlassDefinition reordered = formula(kSellmeier, {c[2], c[0], c[1], c[5], c[3], c[4]});
    GlassDefinition onAPoint = nbk7();
    onAPoint.coefficients[3] = data.indexWavelengthUm[1] * data.indexWavelengthUm[1];
    for (const GlassDefinition& start : {reordered, onAPoint}) {
        ScriptedBoxes boxes;
        const SellmeierRun r = fitSellmeier(data, 20, 3, boxes, true, &start);
        ASSERT_TRUE(r.ok);
        EXPECT_TRUE(boxes.shown().empty());
        for (std::size_t i = 1; i <= 20; ++i) EXPECT_NEAR(r.data.residual[i], 0, 1e-12) << i;
    }
    ScriptedBoxes boxes;
    const SellmeierRun r = fitSellmeier(data, 20, 3, boxes, true, &reordered);
    for (std::size_t s = 0; s < 6; ++s)
        EXPECT_NEAR(r.def.coefficients[s], reordered.coefficients[s], 1e-6 * reordered.coefficients[s]) << s;
}

// A start that is already the answer: no step can lower the sum of squares,
// which is below the stopping amount from the start, so every step is
// rejected. The fit has converged there and ends as a success, as the melt
// fit started from its parent's coefficients does.
TEST(SellmeierFitTest, AStartAtTheAnswerConverges) {
    const GlassDefinition f2 = formula(kSellmeier, {1.34533359, 0.209073176, 0.937357162, 0.00997743871,
                                                    0.0470450767, 111.886764});
    // 21 points from 365 to 1014 nm, the indices exact in double precision.
    MeasuredData f2Points{};
    for (std::size_t i = 1; i <= 21; ++i) {
        const double nm = 365 + (1014.0 - 365) * static_cast<double>(i - 1) / 20;
        const double x = nm * 0.001 * nm * 0.001;
        double n2 = 1;
        for (std::size_t k = 0; k < 3; ++k) n2 += f2.coefficients[k] * x / (x - f2.coefficients[k + 3]);
        f2Points.indexWavelength[i] = nm;
        f2Points.indexWavelengthUm[i] = nm * 0.001;
        f2Points.weight[i] = 1;
        f2Points.index[i] = std::sqrt(n2);
        f2Points.indexSquared[i] = n2;
    }
    // Points on the formula as the iteration evaluates it.
    MeasuredData modelPoints = pointsOn(nbk7(), 20, 400, 1000);
    for (std::size_t i = 1; i <= 20; ++i) {
        const double L = modelPoints.indexWavelengthUm[i];
        double y = 0;
        std::array<double, 6> dyda{};
        SellmeierModel(L * L, nbk7().coefficients, y, dyda, 6);
        modelPoints.indexSquared[i] = 1.0 + y;
    }
    struct Case {
        const char* what;
        GlassDefinition start;
        MeasuredData data;
        int count;
    };
    const Case cases[] = {
        {"F2, 21 points from 365 to 1014 nm", f2, f2Points, 21},
        {"N-BK7, exact as the iteration evaluates it", nbk7(), modelPoints, 20},
    };
    for (const Case& c : cases) {
        ScriptedBoxes boxes;
        const SellmeierRun r = fitSellmeier(c.data, c.count, 3, boxes, true, &c.start);
        ASSERT_TRUE(r.ok) << c.what;
        EXPECT_TRUE(boxes.shown().empty()) << c.what;
        for (std::size_t s = 0; s < 6; ++s)
            EXPECT_NEAR(r.def.coefficients[s], c.start.coefficients[s], 1e-4 * std::fabs(c.start.coefficients[s]))
                << c.what << " slot " << s;
        for (std::size_t i = 1; i <= static_cast<std::size_t>(c.count); ++i)
            EXPECT_NEAR(r.data.fittedIndex[i], c.data.index[i], 1e-6) << c.what << " point " << i;
        EXPECT_EQ(r.report, SellmeierReport(r.def, ""));
    }
}

TEST(SellmeierFitTest, FiveTerms) {
    const GlassDefinition start = formula(kSellmeierPlus, {1.0, 0.2, 1.0, 0.01, 0.01, 0.006, 0.02, 100, 0.05, 0.1});
    const MeasuredData data = pointsOn(nbk7(), 41, 365, 2300);
    ScriptedBoxes boxes;
    const SellmeierRun r = fitSellmeier(data, 41, 5, boxes, true, &start);
    ASSERT_TRUE(r.ok);
    for (std::size_t s = 10; s < 14; ++s) EXPECT_EQ(r.def.coefficients[s], 0);
    for (std::size_t i = 1; i <= 41; ++i) {
        bool ok = false;
        EXPECT_NEAR(r.data.fittedIndex[i], EvaluateIndex(r.def, static_cast<float>(data.indexWavelength[i]), kSellmeierPlus, ok),
                    1e-12);
        EXPECT_NEAR(r.data.fittedIndex[i], data.index[i], 1e-9);
    }
    auto t = [&](std::size_t s) { return GeneralText(r.def.coefficients[s]); };
    EXPECT_EQ(r.report, "Extend Sellmeier Polynomial Constants\r\n\r\n"
                        "B1:   " + t(0) + "\r\nB2:   " + t(1) + "\r\nB3:   " + t(2) + "\r\nB4:   " + t(3) +
                            "\r\nB5:   " + t(4) + "\r\n\r\nC1:   " + t(5) + "\r\nC2:   " + t(6) + "\r\nC3:   " + t(7) +
                            "\r\nC4:   " + t(8) + "\r\nC5:   " + t(9));
    EXPECT_EQ(r.report.find("e+"), std::string::npos);
}

namespace {

std::vector<float> evenWaves(int count, float lo, float hi) {
    std::vector<float> w;
    for (int i = 0; i < count; ++i) w.push_back(lo + (hi - lo) * static_cast<float>(i) / static_cast<float>(count - 1));
    return w;
}

double largestResidual(const SellmeierRun& r, int count) {
    double largest = 0;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i)
        largest = std::max(largest, std::fabs(r.data.residual[i]));
    return largest;
}

}  // namespace

// From its own start the three-term fit ends at the optimum: points that
// N-BK7's formula gives exactly are reproduced to rounding, with N-BK7's
// coefficients, not 1e-6 short of them.
TEST(SellmeierFitTest, ThreeTermsEndAtTheOptimum) {
    const GlassDefinition generator = nbk7();
    const MeasuredData data = pointsAt(generator, evenWaves(12, 365, 2325), 0, false);
    ScriptedBoxes boxes;
    const SellmeierRun r = fitSellmeier(data, 12, 3, boxes);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_LT(largestResidual(r, 12), 1e-12);
    for (std::size_t s = 0; s < 6; ++s)
        EXPECT_NEAR(r.def.coefficients[s], generator.coefficients[s], 1e-6 * generator.coefficients[s]) << s;
}

namespace {

// Published three-term Sellmeier coefficients (B's, then C's in µm²).
struct Published {
    const char* name;
    std::array<double, 6> a;
};
const Published kPublished[] = {
    {"N-BK7", {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653}},
    {"N-SF11", {1.73759695, 0.313747346, 1.89878101, 0.013188707, 0.0623068142, 155.23629}},
    {"F2", {1.34533359, 0.209073176, 0.937357162, 0.00997743871, 0.0470450767, 111.886764}},
    {"N-FK51A", {0.971247817, 0.216901417, 0.904651666, 0.00472301995, 0.0153575612, 168.68133}},
    {"N-LASF9", {2.00029547, 0.298926886, 1.80691843, 0.0121426017, 0.0538736236, 156.530829}},
};

struct LineSet {
    const char* name;
    std::vector<float> nm;
};
const LineSet kLineSets[] = {
    {"10 lines 365-1014 nm",
     {365.0146f, 404.6561f, 435.8343f, 479.9914f, 486.1327f, 546.074f, 587.5618f, 643.8469f, 656.2725f, 1013.98f}},
    {"12 lines 365-2325 nm",
     {365.0146f, 404.6561f, 435.8343f, 486.1327f, 546.074f, 587.5618f, 656.2725f, 706.5188f, 852.11f, 1013.98f,
      1529.6f, 2325.42f}},
    {"7 visible lines 405-707 nm", {404.6561f, 435.8343f, 486.1327f, 546.074f, 587.5618f, 656.2725f, 706.5188f}},
    {"a melt sheet's 6 lines g F e d C' C", {435.8343f, 486.1327f, 546.074f, 587.5618f, 643.8469f, 656.2725f}},
};

double xAt(float nm) {
    const double L = static_cast<float>(nm * 0.001);
    return L * L;
}

double sellmeierIndex(std::span<const double> a, int m, double x) {
    double n2 = 1;
    for (std::size_t k = 0; k < static_cast<std::size_t>(m); ++k) n2 += a[k] * x / (x - a[k + static_cast<std::size_t>(m)]);
    return std::sqrt(n2);
}

// What a designer asks of a fitted formula over the span of its points: no
// pole, n > 1, every |B| at most 100, and the curve within tolerance of the
// published one.
void expectSoundCurve(const GlassDefinition& def, int m, const Published& g, float lo, float hi, double tolerance) {
    const auto terms = static_cast<std::size_t>(m);
    for (std::size_t k = 0; k < terms; ++k) {
        EXPECT_LE(std::fabs(def.coefficients[k]), 100) << "B" << k + 1;
        const double c = def.coefficients[k + terms];
        EXPECT_FALSE(c >= xAt(lo) && c <= xAt(hi)) << "a pole at " << std::sqrt(c) * 1000 << " nm";
    }
    double worst = 0;
    for (int j = 0; j <= 1000; ++j) {
        const float nm = lo + (hi - lo) * static_cast<float>(j) / 1000;
        bool ok = false;
        const double n = EvaluateIndex(def, nm, def.formulaType, ok);
        ASSERT_TRUE(ok && n > 1) << nm;
        worst = std::max(worst, std::fabs(n - sellmeierIndex(g.a, 3, xAt(nm))));
    }
    EXPECT_LE(worst, tolerance);
}

}  // namespace

// Published glasses at the line sets designers type, exact and rounded to 5
// and 6 decimals (also as the editor keeps them, in single precision), with
// three and five terms, from the fit's own start and from the published
// formula as the melt maker starts: no question is asked, every fit
// succeeds, reproduces its points to their precision (or to the optimum),
// and its curve between the points is sound and follows the published one.
TEST(SellmeierFitTest, PublishedGlassesAreFittedSoundlyAndAskNothing) {
    for (const Published& g : kPublished) {
        for (const LineSet& lines : kLineSets) {
            const float lo = *std::min_element(lines.nm.begin(), lines.nm.end());
            const float hi = *std::max_element(lines.nm.begin(), lines.nm.end());
            const GlassDefinition generator = formula(kSellmeier, {g.a[0], g.a[1], g.a[2], g.a[3], g.a[4], g.a[5]});
            for (int decimals : {0, 5, 6}) {
                for (bool single : {false, true}) {
                    if (single && decimals == 0) continue;
                    const MeasuredData data =
                        pointsAt(generator, lines.nm, decimals, single);
                    const double halfUnit = decimals ? 0.5 * std::pow(10.0, -decimals) : 0;
                    const double allowed = std::max({halfUnit, 1.1 * SellmeierReferenceResidual(lines.nm, g.a, data), 1e-9});
                    const double tolerance = decimals ? 10 * std::pow(10.0, -decimals) : 1e-8;
                    for (int terms : {3, 5}) {
                        const GlassDefinition start =
                            terms == 3 ? generator
                                       : formula(kSellmeierPlus, {g.a[0], g.a[1], g.a[2], 0, 0, g.a[3], g.a[4], g.a[5],
                                                                  g.a[3] / 2, g.a[5] * 10});
                        for (bool fromPublished : {false, true}) {
                            SCOPED_TRACE(std::string(g.name) + ", " + lines.name + ", " + std::to_string(decimals) +
                                         " decimals" + (single ? " in single precision" : "") + ", " +
                                         std::to_string(terms) + " terms" +
                                         (fromPublished ? ", from the published formula" : ""));
                            ScriptedBoxes boxes;
                            const auto count = static_cast<int>(lines.nm.size());
                            SellmeierRun r = fitSellmeier(data, count, terms, boxes, true,
                                                          fromPublished ? &start : nullptr);
                            ASSERT_TRUE(r.ok);
                            EXPECT_TRUE(boxes.shown().empty());
                            EXPECT_LE(largestResidual(r, count), allowed);
                            r.def.formulaType = terms == 3 ? kSellmeier : kSellmeierPlus;
                            expectSoundCurve(r.def, terms, g, lo, hi, tolerance);
                        }
                    }
                }
            }
        }
    }
}

// Thirty N-BK7-like melts, their certificates' seven lines C C' d e F F' g
// to five decimals typed as points: each fit succeeds at once with a formula
// that has no pole between the lines.
TEST(SellmeierFitTest, MeltCertificatesAreFittedWithoutAQuestion) {
    const std::vector<float> lines{656.2725f, 643.8469f, 587.5618f, 546.074f, 486.1327f, 479.9914f, 435.8343f};
    for (int melt = 0; melt < 30; ++melt) {
        SCOPED_TRACE("melt " + std::to_string(melt));
        // Offsets of a few 1e-4 and a slope of a few 1e-8 per nm, as melts vary.
        const double offset = (melt % 7 - 3) * 1e-4, slope = (melt * 5 % 11 - 5) * 1e-8;
        MeasuredData data{};
        for (std::size_t i = 1; i <= lines.size(); ++i) {
            const float nm = lines[i - 1];
            const double n = std::round((sellmeierIndex(kPublished[0].a, 3, xAt(nm)) + offset + slope * (587.56 - nm)) * 1e5) / 1e5;
            data.indexWavelength[i] = nm;
            data.indexWavelengthUm[i] = static_cast<float>(nm * 0.001);
            data.weight[i] = 1;
            data.index[i] = static_cast<float>(n);
            data.indexSquared[i] = data.index[i] * data.index[i];
        }
        ScriptedBoxes boxes;
        SellmeierRun r = fitSellmeier(data, 7, 3, boxes);
        ASSERT_TRUE(r.ok);
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_LE(largestResidual(r, 7), 0.5e-5);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_LE(std::fabs(r.def.coefficients[k]), 100);
            EXPECT_FALSE(r.def.coefficients[k + 3] >= xAt(435.8343f) && r.def.coefficients[k + 3] <= xAt(656.2725f));
        }
    }
}

// Points without dispersion end at once: a constant index is n² = 1 + B1,
// no index at all is no Sellmeier formula.
TEST(SellmeierFitTest, PointsWithoutDispersion) {
    const std::vector<float> waves = evenWaves(8, 400, 1000);
    // n² = A0: a Cauchy formula of one term.
    auto constant = [&](double n) { return pointsAt(formula(kCauchy, {n * n}), waves, 0, false); };
    for (int terms : {3, 5}) {
        for (double n : {1.5, 1.52345}) {
            ScriptedBoxes boxes;
            const SellmeierRun r = fitSellmeier(constant(n), 8, terms, boxes);
            ASSERT_TRUE(r.ok) << terms << " " << n;
            EXPECT_TRUE(boxes.shown().empty());
            EXPECT_NEAR(r.def.coefficients[0], n * n - 1, 1e-15);
            for (std::size_t i = 1; i <= 8; ++i) EXPECT_NEAR(r.data.fittedIndex[i], n, 1e-15);
        }
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        const SellmeierRun none = fitSellmeier(constant(1), 8, terms, boxes);
        EXPECT_FALSE(none.ok);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().text, kSellmeierFailure);
    }
}

// Points far into the infrared, beyond the default start's poles, are fitted
// from poles in proportion to their range: CaF2 from 0.4 to 14 µm.
TEST(SellmeierFitTest, AnInfraredRangeIsFittedToo) {
    const GlassDefinition caf2 = formula(kSellmeier, {0.5675888, 0.4710914, 3.8484723, 0.050263605 * 0.050263605,
                                                      0.1003909 * 0.1003909, 34.649040 * 34.649040});
    const MeasuredData data = pointsOn(caf2, 20, 400, 14000);
    for (int terms : {3, 5}) {
        ScriptedBoxes boxes;
        const SellmeierRun r = fitSellmeier(data, 20, terms, boxes);
        ASSERT_TRUE(r.ok) << terms;
        EXPECT_TRUE(boxes.shown().empty());
        for (std::size_t i = 1; i <= 20; ++i) EXPECT_NEAR(r.data.residual[i], 0, 1e-9) << i;
    }
}

// Points that the three-term answer reproduces to their precision (an older
// Schott formula's indices at a melt sheet's six lines, to five decimals):
// the five-term fit ends with that answer and two terms of no strength, the
// three-term fit's curve. Five terms solved for six points instead would
// have to start from a formula that is not sound.
TEST(SellmeierFitTest, FiveTermsFallBackToTheThreeTermAnswer) {
    const GlassDefinition oldSchott =
        formula(kSchott, {2.2718929, -1.0108077e-2, 1.0592509e-2, 2.0816965e-4, -7.6472538e-6, 4.9240991e-7});
    const MeasuredData data = pointsAt(oldSchott, kLineSets[3].nm, 5, false);
    ScriptedBoxes boxes;
    const SellmeierRun three = fitSellmeier(data, 6, 3, boxes);
    const SellmeierRun five = fitSellmeier(data, 6, 5, boxes);
    ASSERT_TRUE(three.ok && five.ok);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(five.def.coefficients[3], 0);
    EXPECT_EQ(five.def.coefficients[4], 0);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(five.def.coefficients[k], three.def.coefficients[k]);
        EXPECT_EQ(five.def.coefficients[k + 5], three.def.coefficients[k + 3]);
    }
    EXPECT_EQ(five.data.sumOfSquares, three.data.sumOfSquares);
}

// The model and its derivatives.
TEST(SellmeierFitTest, ModelAndDerivatives) {
    const GlassDefinition def = nbk7();
    const double x = 0.36;
    const auto& c = def.coefficients;
    double expected = 0;
    for (std::size_t i = 0; i < 3; ++i) expected += c[i] * x / (x - c[i + 3]);

    double y = 0;
    std::array<double, 6> dyda{};
    SellmeierModel(x, c, y, dyda, 6);
    EXPECT_NEAR(y, expected, 1e-15);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(dyda[i], x / (x - c[i + 3])) << i;
        EXPECT_DOUBLE_EQ(dyda[i + 3], c[i] * x / ((x - c[i + 3]) * (x - c[i + 3]))) << i;
    }
}
