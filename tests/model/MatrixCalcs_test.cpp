#include "model/MatrixCalcs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/ScriptedBoxes.h"

namespace {

template <class T>
SmallMatrix<T> matrix(int n, std::initializer_list<T> values) {
    SmallMatrix<T> m;
    int i = 0;
    for (T v : values) {
        m(i / n + 1, i % n + 1) = v;
        ++i;
    }
    return m;
}

}  // namespace

TEST(MatrixCalcsTest, InvertPivotsOffTheDiagonal) {
    MatrixD a = matrix<double>(2, {0, 1, 1, 0});
    ASSERT_TRUE(GaussJordanInvert(a, 2));
    EXPECT_EQ(a(1, 1), 0);
    EXPECT_EQ(a(1, 2), 1);
    EXPECT_EQ(a(2, 1), 1);
    EXPECT_EQ(a(2, 2), 0);
}

TEST(MatrixCalcsTest, InvertGivesTheInverse) {
    // A symmetric matrix like the fits' normal equations, and an unsymmetric one.
    const MatrixD cases[] = {
        matrix<double>(4, {4, 1, 2, 0.5, 1, 5, 1, 0.25, 2, 1, 6, 1, 0.5, 0.25, 1, 3}),
        matrix<double>(3, {0, 2, 1, 3, 0, 4, 1, 5, 0}),
    };
    const int orders[] = {4, 3};
    for (int c = 0; c < 2; ++c) {
        const int n = orders[c];
        MatrixD inv = cases[c];
        ASSERT_TRUE(GaussJordanInvert(inv, n)) << c;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) {
                double s = 0;
                for (int k = 1; k <= n; ++k) s += cases[c](i, k) * inv(k, j);
                EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-14) << c << " " << i << "," << j;
            }
    }
}

TEST(MatrixCalcsTest, InvertRefusesSingularAndNonFiniteMatrices) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    MatrixD singular = matrix<double>(2, {1, 2, 2, 4});
    EXPECT_FALSE(GaussJordanInvert(singular, 2));
    MatrixD zero;
    EXPECT_FALSE(GaussJordanInvert(zero, 3));
    // No element compares as a pivot: the search finds none and says so.
    MatrixD allNan = matrix<double>(2, {nan, nan, nan, nan});
    EXPECT_FALSE(GaussJordanInvert(allNan, 2));
    MatrixD oneInf = matrix<double>(2, {1, inf, 0, 1});
    EXPECT_FALSE(GaussJordanInvert(oneInf, 2));
    MatrixD overflow = matrix<double>(2, {1e308, 1e308, 1e308, -1e308});
    EXPECT_FALSE(GaussJordanInvert(overflow, 2));
    MatrixD any = matrix<double>(1, {2});
    EXPECT_FALSE(GaussJordanInvert(any, 0));
    EXPECT_FALSE(GaussJordanInvert(any, kMaxMatrixOrder + 1));
    EXPECT_TRUE(GaussJordanInvert(any, 1));
    EXPECT_EQ(any(1, 1), 0.5);
}

TEST(MatrixCalcsTest, SolveWithRightHandSides) {
    ScriptedBoxes boxes;
    const MatrixD a0 = matrix<double>(3, {2, 1, -1, -3, -1, 2, -2, 1, 2});
    MatrixD a = a0;
    MatrixD b;
    b(1, 1) = 8;
    b(2, 1) = -11;
    b(3, 1) = -3;
    b(1, 2) = 2;  // a second right-hand side: the first column of a0
    b(2, 2) = -3;
    b(3, 2) = -2;
    ASSERT_TRUE(GaussJordanSolve(a, 3, b, 2, true, boxes));
    EXPECT_NEAR(b(1, 1), 2, 1e-14);
    EXPECT_NEAR(b(2, 1), 3, 1e-14);
    EXPECT_NEAR(b(3, 1), -1, 1e-14);
    EXPECT_NEAR(b(1, 2), 1, 1e-14);
    EXPECT_NEAR(b(2, 2), 0, 1e-14);
    EXPECT_NEAR(b(3, 2), 0, 1e-14);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            double s = 0;
            for (int k = 1; k <= 3; ++k) s += a0(i, k) * a(k, j);
            EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-14);
        }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(MatrixCalcsTest, SolveFailuresNameTheirFault) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        MatrixD a;
        int n;
        const char* text;
    };
    const char* fault = "Failure in Gauss Jordan elimination\r\nTry a different polynomial";
    const Case cases[] = {
        {"singular", matrix<double>(2, {1, 2, 2, 4}), 2, "GaussJ Singular Matrix-2"},
        {"overflow", matrix<double>(2, {1.7e308, 1.7e308, 1.7e308, -1.7e308}), 2, fault},
        {"infinite element", matrix<double>(2, {1, inf, 0, 1}), 2, fault},
        {"no pivot to be found", matrix<double>(2, {nan, nan, nan, nan}), 2, fault},
        {"order out of range", matrix<double>(1, {1}), 11, fault},
    };
    for (const auto& c : cases) {
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        MatrixD a = c.a;
        MatrixD b;
        b(1, 1) = 1;
        EXPECT_FALSE(GaussJordanSolve(a, c.n, b, 1, true, boxes)) << c.what;
        ASSERT_EQ(boxes.shown().size(), 1u) << c.what;
        EXPECT_EQ(boxes.last().text, c.text) << c.what;
        EXPECT_EQ(boxes.last().style, kBoxPlain);
        EXPECT_EQ(boxes.last().title, kAppTitle);

        ScriptedBoxes silent;
        a = c.a;
        EXPECT_FALSE(GaussJordanSolve(a, c.n, b, 1, false, silent)) << c.what;
        EXPECT_TRUE(silent.shown().empty()) << c.what;
    }
}

// Least squares by orthogonal factors: an exact system is solved exactly, an
// inconsistent one leaves a residual orthogonal to every column, also when the
// columns differ in size by many orders.
TEST(MatrixCalcsTest, LeastSquaresSolution) {
    const int rows = 7;
    std::vector<double> a, y, exact;
    for (int i = 0; i < rows; ++i) {
        const double t = 0.5 + i;
        a.insert(a.end(), {1, 1e6 * t, 1e-6 * t * t});
        exact.push_back(1 + 2 * t + 3 * t * t);  // c = 1, 2e-6, 3e6
        y.push_back(exact.back() + (i % 2 ? 0.25 : -0.25));
    }
    std::vector<double> c(3);
    {
        std::vector<double> aa = a, yy = exact;
        ASSERT_TRUE(SolveLeastSquares(aa, rows, 3, yy, c));
        EXPECT_NEAR(c[0], 1, 1e-12);
        EXPECT_NEAR(c[1], 2e-6, 1e-18);
        EXPECT_NEAR(c[2], 3e6, 1e-6);
    }
    std::vector<double> aa = a, yy = y;
    ASSERT_TRUE(SolveLeastSquares(aa, rows, 3, yy, c));
    for (int j = 0; j < 3; ++j) {
        double dot = 0, scale = 0;
        for (int i = 0; i < rows; ++i) {
            const auto at = static_cast<std::size_t>(i * 3 + j);
            const double r = y[static_cast<std::size_t>(i)] - (a[static_cast<std::size_t>(i * 3)] * c[0] +
                                                               a[static_cast<std::size_t>(i * 3 + 1)] * c[1] +
                                                               a[static_cast<std::size_t>(i * 3 + 2)] * c[2]);
            dot += r * a[at];
            scale += std::fabs(a[at]);
        }
        EXPECT_LT(std::fabs(dot), 1e-9 * scale) << j;
    }
}

TEST(MatrixCalcsTest, LeastSquaresRefusals) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        std::vector<double> a, y;
        int rows, cols;
    } cases[] = {
        {"a column of zeros", {1, 0, 2, 0, 3, 0}, {1, 2, 3}, 3, 2},
        {"a column twice", {1, 1, 2, 2, 3, 3}, {1, 2, 3}, 3, 2},
        {"fewer rows than columns", {1, 2}, {1}, 1, 2},
        {"a value that is no number", {1, 0, nan, 1, 3, 1}, {1, 2, 3}, 3, 2},
        {"a right-hand side that is no number", {1, 0, 2, 1, 3, 1}, {1, nan, 3}, 3, 2},
    };
    for (auto c : cases) {
        std::vector<double> solution = {7, 7};
        EXPECT_FALSE(SolveLeastSquares(c.a, c.rows, c.cols, c.y, solution)) << c.what;
        EXPECT_EQ(solution, (std::vector<double>{7, 7})) << c.what;
    }
}
