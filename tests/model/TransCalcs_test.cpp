#include "model/TransCalcs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kEmpty = 99.0f;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The interpolation by a plain scan for the bracketing pair, to check the
// bisection against.
float byScan(float w, const std::vector<float>& waves, const std::vector<float>& alphas, float t) {
    std::size_t last = waves.size();
    while (last > 0 && !(waves[last - 1] > 0)) --last;
    for (std::size_t i = 0; i + 1 < last; ++i) {
        if (waves[i] >= w && w >= waves[i + 1]) {
            const double tLo = std::exp(-double(t) * alphas[i]), tHi = std::exp(-double(t) * alphas[i + 1]);
            const double tr = (w - waves[i + 1]) * (tLo - tHi) / (double(waves[i]) - waves[i + 1]) + tHi;
            return static_cast<float>(-std::log(tr) / t);
        }
    }
    return kEmpty;
}

}  // namespace

TEST(TransCalcsTest, StandardWavelengthsAscendFrom250To2500) {
    EXPECT_EQ(StandardTransWavelengths.front(), 250.0f);
    EXPECT_EQ(StandardTransWavelengths.back(), 2500.0f);
    for (std::size_t i = 1; i < StandardTransWavelengths.size(); ++i)
        EXPECT_LT(StandardTransWavelengths[i - 1], StandardTransWavelengths[i]) << i;
    // The entries that are not whole nm, at the positions the database columns use.
    EXPECT_EQ(StandardTransWavelengths[9], 334.1f);
    EXPECT_EQ(StandardTransWavelengths[18], 404.7f);
    EXPECT_EQ(StandardTransWavelengths[20], 435.8f);
    EXPECT_EQ(StandardTransWavelengths[25], 546.1f);
    EXPECT_EQ(StandardTransWavelengths[37], 1529.6f);
    EXPECT_EQ(StandardTransWavelengths[38], 1970.1f);
    EXPECT_EQ(StandardTransWavelengths[39], 2325.4f);
}

TEST(TransCalcsTest, InterpolatesLinearlyInTransmittance) {
    const std::vector<float> waves = {1000, 800, 500, 0, 0};
    const std::vector<float> alphas = {0.01f, 0.05f, 0.2f, 0, 0};
    struct Case {
        float wavelength;
        float expected;
    };
    const Case cases[] = {
        {1000, 0.01f},        // the longest point is inside
        {500, 0.2f},          // so is the shortest
        {800, 0.05f},         // on a point
        {900, 0.0280132f},    // not 0.03, the mean of the absorptions
        {850, 0.0384035f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(InterpolateAbsorption(c.wavelength, waves, alphas, 10), c.expected, 1e-6) << c.wavelength;
}

TEST(TransCalcsTest, ZeroAbsorptionAtBothPointsGivesZero) {
    const std::vector<float> waves = {700, 400};
    const std::vector<float> alphas = {0, 0};
    EXPECT_EQ(InterpolateAbsorption(550, waves, alphas, 10), 0.0f);
}

TEST(TransCalcsTest, RefusesWithTheEmptyValue) {
    struct Case {
        const char* what;
        float wavelength;
        std::vector<float> waves;
        std::vector<float> alphas;
        float thickness;
    };
    const Case cases[] = {
        {"above the longest point", 1000.5f, {1000, 500}, {0.1f, 0.1f}, 10},
        {"below the shortest point", 499.5f, {1000, 500}, {0.1f, 0.1f}, 10},
        {"below the last point before the empty ones", 400, {1000, 500, 0, 0}, {0.1f, 0.1f, 0, 0}, 10},
        {"empty list", 500, {}, {}, 10},
        {"only empty entries", 500, {0, 0, -5}, {0.1f, 0.1f, 0.1f}, 10},
        {"a single point", 500, {500, 0}, {0.1f, 0}, 10},
        {"two points of equal wavelength", 600, {600, 600}, {0.1f, 0.2f}, 10},
        {"thickness 0", 700, {1000, 500}, {0.1f, 0.2f}, 0},
        {"negative thickness", 700, {1000, 500}, {0.1f, 0.2f}, -1},
        {"transmittance 0 at both points", 700, {1000, 500}, {1e30f, 1e30f}, 10},
        {"infinite absorption", 700, {1000, 500}, {kInf, kInf}, 10},
        {"absorption not a number", 700, {1000, 500}, {kNaN, 0.1f}, 10},
        {"wavelength not a number", kNaN, {1000, 500}, {0.1f, 0.1f}, 10},
        {"thickness not a number", 700, {1000, 500}, {0.1f, 0.1f}, kNaN},
        {"transmittance rising to infinity", 700, {1000, 500}, {-1e30f, -1e30f}, 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InterpolateAbsorption(c.wavelength, c.waves, c.alphas, c.thickness), kEmpty) << c.what;
}

TEST(TransCalcsTest, StandardWavelengthsFromARecordsPoints) {
    GlassRecord g;
    InitGlassRecord(g);
    const float waves[] = {2400, 2000, 1600, 1100, 900, 700, 600, 546.1f, 480, 420, 380, 365, 350, 330};
    const float alphas[] = {0.3f, 0.01f, 0.2f, 0.002f, 0.05f, 0.001f, 0.0f, 0.04f, 0.003f, 0.1f, 0.5f, 1.2f, 2.5f, 4.0f};
    for (std::size_t i = 0; i < std::size(waves); ++i) {
        g.measured.transWavelength[i + 1] = waves[i];
        g.measured.absorption[i + 1] = alphas[i];
    }
    g.measured.thickness = 5;

    AbsorptionAtStandardWavelengths(g.standardAbsorption, g.measured.thickness, g.measured.transWavelength.items,
                                    g.measured.absorption.items);

    const std::vector<float> w(g.measured.transWavelength.begin(), g.measured.transWavelength.end());
    const std::vector<float> a(g.measured.absorption.begin(), g.measured.absorption.end());
    for (int i = 0; i < kStandardTransCount; ++i) {
        const float s = StandardTransWavelengths[i];
        EXPECT_NEAR(g.standardAbsorption[i], byScan(s, w, a, 5), 1e-6) << s;
        if (s < 330 || s > 2400) {
            EXPECT_EQ(g.standardAbsorption[i], kEmpty) << s;
        } else {
            EXPECT_NE(g.standardAbsorption[i], kEmpty) << s;
        }
    }
    EXPECT_NEAR(g.standardAbsorption[25], 0.04f, 1e-6);  // 546.1 nm is a point itself
}

TEST(TransCalcsTest, TransPointCountKeepsOneToTenAndOtherwiseStores150) {
    const std::pair<std::int16_t, std::int16_t> cases[] = {
        {1, 1}, {5, 5}, {10, 10}, {0, 150}, {-3, 150}, {11, 150}, {25, 150}, {150, 150}, {151, 150}, {32767, 150}};
    for (auto [stored, expected] : cases) {
        GlassRecord g;
        InitGlassRecord(g);
        g.measured.transCount = stored;
        EXPECT_EQ(TransPointCount(g), expected) << stored;
        EXPECT_EQ(g.measured.transCount, expected) << stored;
    }
}

namespace {

struct Curve {
    std::vector<float> waves;
    std::vector<float> trans;  // percent
};

std::string colourCode(const Curve& c, float thickness, const char* before = "XX") {
    GlassRecord g;
    InitGlassRecord(g);
    g.properties.cc.set(before);
    ComputeColourCode(g, thickness, c.waves, c.trans);
    return g.properties.cc.raw();
}

}  // namespace

TEST(TransCalcsTest, ColourCodeFromTheEdges) {
    // 80 % between 370 and 360 nm at 365.56 nm, 5 % between 340 and 330 nm
    // at 335.56 nm: rounded, not truncated, to 37/34.
    const Curve edge = {{500, 400, 370, 360, 340, 330}, {99, 95, 88, 70, 9, 0}};
    struct Case {
        const char* what;
        Curve curve;
        float thickness;
        const char* code;
    };
    const Case cases[] = {
        {"both edges inside the curve", edge, 10, "37/34 "},
        {"levels scaled to a 20 mm sample", edge, 20, "36/33 "},
        {"empty entries after the last point are skipped",
         {{500, 400, 370, 360, 340, 330, 0, 0}, {99, 95, 88, 70, 9, 0, 50, 50}}, 10, "37/34 "},
        // The shortest point still passes 80 %: the 80 % edge is the point
        // before it, the 5 % edge at most 10 nm below the shortest point.
        {"shortest point above both levels", {{500, 400, 300}, {99, 95, 85}}, 10, "40/29 "},
        {"5 % edge held at 10 nm below the shortest point", {{400, 350}, {90, 20}}, 10, "39/34 "},
        {"5 % edge extrapolated less than 10 nm", {{400, 350}, {90, 10}}, 10, "39/35 "},
        {"an edge at 995 nm or more keeps two of its three digits",
         {{2000, 1500, 1000, 900}, {90, 85, 10, 0}}, 10, "14/95 "},
        {"two points are enough", {{400, 300}, {90, 0}}, 10, "39/31 "},
    };
    for (const auto& c : cases) EXPECT_EQ(colourCode(c.curve, c.thickness), c.code) << c.what;
}

TEST(TransCalcsTest, ColourCodeFromTheRecordsArrays) {
    GlassRecord g;
    InitGlassRecord(g);
    const float waves[] = {500, 400, 370, 360, 340, 330};
    const float trans[] = {99, 95, 88, 70, 9, 0};
    for (std::size_t i = 0; i < std::size(waves); ++i) {
        g.measured.transWavelength[i + 1] = waves[i];
        g.measured.internalTrans[i + 1] = trans[i];
    }
    ComputeColourCode(g, 10, g.measured.transWavelength.items, g.measured.internalTrans.items);
    EXPECT_EQ(g.properties.cc.str(), "37/34");
}

TEST(TransCalcsTest, ColourCodeUnchangedWithoutEnoughData) {
    // Lists sized exactly, so that a read past either end is caught.
    const std::pair<const char*, Curve> cases[] = {
        {"no points", {{}, {}}},
        {"only empty entries", {{0, 0}, {90, 90}}},
        {"one point", {{500}, {90}}},
        {"one point before empty entries", {{500, 0, 0}, {90, 90, 90}}},
        {"no point reaches 5 %", {{500, 400, 300}, {4, 3, 1}}},
        {"5 % reached but no point reaches 80 %", {{500, 400, 300}, {50, 20, 1}}},
        {"the shortest point above 5 %, none reaches 80 %", {{500, 400}, {60, 50}}},
    };
    for (const auto& [what, curve] : cases) EXPECT_EQ(colourCode(curve, 10, "12/34"), "12/34 ") << what;
}
