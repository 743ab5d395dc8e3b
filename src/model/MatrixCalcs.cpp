#include "model/MatrixCalcs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/Boxes.h"

namespace {

enum class Outcome { kOk, kColumnTwice, kZeroPivot, kFault };

template <class T>
bool allFinite(const SmallMatrix<T>& m, int rows, int cols) {
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            if (!std::isfinite(m(r, c))) return false;
    return true;
}

// Full-pivoting Gauss-Jordan in place. Among pivots of equal magnitude the last
// one met wins. The inverse divides the pivot row by the pivot; the solver
// multiplies it (and b) by the pivot's reciprocal, as each was built.
template <class T, bool kWithRhs>
Outcome eliminate(SmallMatrix<T>& a, int n, SmallMatrix<T>* b, int k) {
    if (!allFinite(a, n, n) || (kWithRhs && !allFinite(*b, n, k))) return Outcome::kFault;
    std::array<int, kMaxMatrixOrder + 1> used{};
    std::array<int, kMaxMatrixOrder + 1> pivotRow{};
    std::array<int, kMaxMatrixOrder + 1> pivotCol{};
    for (int step = 1; step <= n; ++step) {
        T big = 0;
        int row = 0, col = 0;
        for (int j = 1; j <= n; ++j) {
            if (used[static_cast<std::size_t>(j)] == 1) continue;
            for (int c = 1; c <= n; ++c) {
                const int u = used[static_cast<std::size_t>(c)];
                if (u == 0) {
                    if (std::fabs(a(j, c)) >= big) {
                        big = std::fabs(a(j, c));
                        row = j;
                        col = c;
                    }
                } else if (u > 1) {
                    return Outcome::kColumnTwice;
                }
            }
        }
        if (row == 0) return Outcome::kFault;  // nothing left to pivot on
        ++used[static_cast<std::size_t>(col)];
        if (row != col) {
            for (int c = 1; c <= n; ++c) std::swap(a(row, c), a(col, c));
            if constexpr (kWithRhs)
                for (int c = 1; c <= k; ++c) std::swap((*b)(row, c), (*b)(col, c));
        }
        pivotRow[static_cast<std::size_t>(step)] = row;
        pivotCol[static_cast<std::size_t>(step)] = col;
        const T p = a(col, col);
        if (p == 0) return Outcome::kZeroPivot;
        if (!std::isfinite(p)) return Outcome::kFault;  // an element overflowed on the way
        a(col, col) = 1;
        if constexpr (kWithRhs) {
            const T inv = T(1) / p;
            if (!std::isfinite(inv)) return Outcome::kFault;
            for (int c = 1; c <= n; ++c) a(col, c) *= inv;
            for (int c = 1; c <= k; ++c) (*b)(col, c) *= inv;
        } else {
            for (int c = 1; c <= n; ++c) a(col, c) /= p;
        }
        for (int r = 1; r <= n; ++r) {
            if (r == col) continue;
            const T f = a(r, col);
            a(r, col) = 0;
            for (int c = 1; c <= n; ++c) a(r, c) -= a(col, c) * f;
            if constexpr (kWithRhs)
                for (int c = 1; c <= k; ++c) (*b)(r, c) -= (*b)(col, c) * f;
        }
    }
    for (int step = n; step >= 1; --step) {
        const int r = pivotRow[static_cast<std::size_t>(step)];
        const int c = pivotCol[static_cast<std::size_t>(step)];
        if (r != c)
            for (int i = 1; i <= n; ++i) std::swap(a(i, r), a(i, c));
    }
    if (!allFinite(a, n, n) || (kWithRhs && !allFinite(*b, n, k))) return Outcome::kFault;
    return Outcome::kOk;
}

}  // namespace

bool GaussJordanInvert(MatrixD& a, int n) {
    if (n < 1 || n > kMaxMatrixOrder) return false;
    return eliminate<double, false>(a, n, nullptr, 0) == Outcome::kOk;
}

bool GaussJordanSolve(MatrixD& a, int n, MatrixD& b, int k, bool showMessages, IBoxes& boxes) {
    Outcome outcome = Outcome::kFault;
    if (n >= 1 && n <= kMaxMatrixOrder && k >= 1 && k <= kMaxMatrixOrder) outcome = eliminate<double, true>(a, n, &b, k);
    if (outcome == Outcome::kOk) return true;
    if (showMessages) {
        switch (outcome) {
        case Outcome::kColumnTwice: boxes.show(kBoxPlain, "Gauss Jordan Singular Matrix 1"); break;
        case Outcome::kZeroPivot: boxes.show(kBoxPlain, "GaussJ Singular Matrix-2"); break;
        default: boxes.show(kBoxPlain, "Failure in Gauss Jordan elimination\r\nTry a different polynomial"); break;
        }
    }
    return false;
}

bool SolveLeastSquares(std::vector<double>& a, int rows, int cols, std::vector<double>& y, std::span<double> c) {
    constexpr double kDependent = 64 * std::numeric_limits<double>::epsilon();
    if (cols < 1 || rows < cols || cols > kMaxMatrixOrder || c.size() < static_cast<std::size_t>(cols)) return false;
    const auto n = static_cast<std::size_t>(rows);
    const auto m = static_cast<std::size_t>(cols);
    if (a.size() < n * m || y.size() < n) return false;
    auto at = [&](std::size_t i, std::size_t j) -> double& { return a[i * m + j]; };

    // Each column to unit length, by way of its largest element so that no
    // square overflows.
    std::array<double, kMaxMatrixOrder> scale{};
    for (std::size_t j = 0; j < m; ++j) {
        double largest = 0;
        for (std::size_t i = 0; i < n; ++i) largest = std::max(largest, std::fabs(at(i, j)));
        if (!(largest > 0) || !std::isfinite(largest)) return false;
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            at(i, j) /= largest;
            sum += at(i, j) * at(i, j);
        }
        const double norm = std::sqrt(sum);
        for (std::size_t i = 0; i < n; ++i) at(i, j) /= norm;
        scale[j] = largest * norm;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(y[i])) return false;

    // Householder reflections: column k below the diagonal becomes 0, and the
    // same reflection is applied to the later columns and to y.
    std::array<double, kMaxMatrixOrder> diagonal{};
    for (std::size_t k = 0; k < m; ++k) {
        double sum = 0;
        for (std::size_t i = k; i < n; ++i) sum += at(i, k) * at(i, k);
        const double norm = std::sqrt(sum);
        // What is left of a unit column that lies in the span of the ones
        // before is rounding.
        if (!(norm > kDependent)) return false;
        const double alpha = at(k, k) > 0 ? -norm : norm;
        at(k, k) -= alpha;  // the reflection's vector v, in column k from row k on
        const double vv = -alpha * at(k, k);  // v·v / 2
        for (std::size_t j = k + 1; j < m; ++j) {
            double s = 0;
            for (std::size_t i = k; i < n; ++i) s += at(i, k) * at(i, j);
            s /= vv;
            for (std::size_t i = k; i < n; ++i) at(i, j) -= s * at(i, k);
        }
        double s = 0;
        for (std::size_t i = k; i < n; ++i) s += at(i, k) * y[i];
        s /= vv;
        for (std::size_t i = k; i < n; ++i) y[i] -= s * at(i, k);
        diagonal[k] = alpha;
    }
    // Back substitution in R, whose diagonal is alpha, then undo the scaling.
    std::array<double, kMaxMatrixOrder> solution{};
    for (std::size_t k = m; k-- > 0;) {
        double s = y[k];
        for (std::size_t j = k + 1; j < m; ++j) s -= at(k, j) * solution[j];
        solution[k] = s / diagonal[k];
    }
    for (std::size_t j = 0; j < m; ++j) {
        solution[j] /= scale[j];
        if (!std::isfinite(solution[j])) return false;
    }
    std::copy_n(solution.begin(), m, c.begin());
    return true;
}
