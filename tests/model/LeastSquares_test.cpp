#include "model/LeastSquares.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/ScriptedBoxes.h"

namespace {
const char* const kQuadFailure = "Failed to fit Quadratic Polynomial\r\nCheck data or try another polynomial form";
const char* const kInsufficient = "Insufficient Data Points\r\nAdd More Data";
}  // namespace

TEST(LeastSquaresTest, FitsAndEvaluatesTheQuadratic) {
    const std::vector<double> x{0, 1, 2}, y{1, 3, 7};
    const std::vector<float> w{1, 1, 1};
    ScriptedBoxes boxes;
    std::array<double, 3> c{};
    ASSERT_TRUE(QuadFit(3, x, y, w, c, boxes));
    EXPECT_NEAR(c[0], 1, 1e-12);
    EXPECT_NEAR(c[1], 1, 1e-12);
    EXPECT_NEAR(c[2], 1, 1e-12);
    std::vector<double> ye{5, 5, 5, 5, 5};
    const std::vector<double> xe{3, 0};
    ASSERT_TRUE(QuadFitEvaluate(3, x, y, w, 2, xe, ye, boxes));
    ASSERT_EQ(ye.size(), 2u);
    EXPECT_NEAR(ye[0], 13, 1e-11);
    EXPECT_EQ(ye[1], c[0]);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(LeastSquaresTest, WeightsScaleFreely) {
    // Melt-sheet-like differences against wavelengths in nm.
    const std::vector<double> x{404.66, 435.83, 486.13, 546.07, 587.56, 656.27, 852.11, 1013.98};
    const std::vector<double> y{1.2e-4, 1.1e-4, 0.98e-4, 0.9e-4, 0.88e-4, 0.85e-4, 0.7e-4, 0.66e-4};
    const std::vector<float> ones(8, 1.0f), twos(8, 2.0f);
    ScriptedBoxes boxes;
    std::array<double, 3> c1{}, c2{};
    ASSERT_TRUE(QuadFit(8, x, y, ones, c1, boxes));
    ASSERT_TRUE(QuadFit(8, x, y, twos, c2, boxes));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(c2[i], c1[i], 1e-9 * std::fabs(c1[i])) << i;
    // A least-squares quadratic leaves residuals that sum to 0 under equal weights.
    double sum = 0;
    for (std::size_t i = 0; i < 8; ++i) sum += y[i] - (c1[0] + c1[1] * x[i] + c1[2] * x[i] * x[i]);
    EXPECT_NEAR(sum, 0, 1e-12);
}

TEST(LeastSquaresTest, Failures) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::int16_t n;
        std::vector<double> x, y;
        std::vector<float> w;
        const char* text;
    };
    const Case cases[] = {
        {"two points", 2, {0, 1}, {1, 3}, {1, 1}, kInsufficient},
        {"no points", 0, {}, {}, {}, kInsufficient},
        {"two abscissae with weight", 4, {0, 1, 2, 3}, {1, 3, 5, 9}, {1, 1, 0, 0}, kQuadFailure},
        {"melt lines measured twice", 4, {486.1327, 486.1327, 656.2725, 656.2725}, {2e-4, 2.1e-4, 1e-4, 1.2e-4},
         {1, 1, 1, 1}, kQuadFailure},
        {"a third line without weight", 5, {486.1327, 486.1327, 587.5618, 656.2725, 656.2725},
         {2e-4, 2.1e-4, 1.5e-4, 1e-4, 1.2e-4}, {1, 1, 0, 1, 1}, kQuadFailure},
        {"all weights 0", 3, {0, 1, 2}, {1, 3, 7}, {0, 0, 0}, kQuadFailure},
        {"a value that is no number", 3, {0, 1, 2}, {1, nan, 7}, {1, 1, 1}, kQuadFailure},
        {"an abscissa that overflows", 3, {0, 1, 1e200}, {1, 3, 7}, {1, 1, 1}, kQuadFailure},
        {"more points than given", 4, {0, 1, 2}, {1, 3, 7}, {1, 1, 1}, kQuadFailure},
    };
    for (const auto& c : cases) {
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        std::array<double, 3> coefficients{7, 7, 7};
        EXPECT_FALSE(QuadFit(c.n, c.x, c.y, c.w, coefficients, boxes)) << c.what;
        ASSERT_EQ(boxes.shown().size(), 1u) << c.what;
        EXPECT_EQ(boxes.last().text, c.text) << c.what;
        EXPECT_EQ(boxes.last().style, kBoxPlain);
        EXPECT_EQ(boxes.last().title, kAppTitle);
        EXPECT_EQ(coefficients, (std::array<double, 3>{7, 7, 7})) << c.what;

        ScriptedBoxes again;
        again.answer(kAnswerOk);
        std::vector<double> ye{1, 2};
        const std::vector<double> xe{1, 2, 3};
        EXPECT_FALSE(QuadFitEvaluate(c.n, c.x, c.y, c.w, 3, xe, ye, again)) << c.what;
        EXPECT_EQ(ye, std::vector<double>(3, 0.0)) << c.what;
    }
}
