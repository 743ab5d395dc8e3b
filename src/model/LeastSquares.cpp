#include "model/LeastSquares.h"

#include <algorithm>
#include <cmath>

#include "model/MatrixCalcs.h"
#include "platform/Boxes.h"

namespace {
const char* const kQuadFailure = "Failed to fit Quadratic Polynomial\r\nCheck data or try another polynomial form";
}  // namespace

bool QuadFit(std::int16_t n, std::span<const double> x, std::span<const double> y, std::span<const float> w,
             std::array<double, 3>& c, IBoxes& boxes) {
    if (n < 3) {
        boxes.show(kBoxPlain, "Insufficient Data Points\r\nAdd More Data");
        return false;
    }
    auto fail = [&]() {
        boxes.show(kBoxPlain, kQuadFailure);
        return false;
    };
    const auto count = static_cast<std::size_t>(n);
    if (x.size() < count || y.size() < count || w.size() < count) return fail();
    // A quadratic needs three distinct abscissae that count; on fewer the
    // normal equations are singular and rounding alone would make them solvable.
    std::vector<double> distinct;
    for (std::size_t i = 0; i < count && distinct.size() < 3; ++i)
        if (w[i] != 0 && std::find(distinct.begin(), distinct.end(), x[i]) == distinct.end()) distinct.push_back(x[i]);
    if (distinct.size() < 3) return fail();

    std::array<double, 5> s{};  // Σ w·x^k
    std::array<double, 3> t{};  // Σ w·y·x^k
    for (std::size_t i = 0; i < count; ++i) {
        const double wi = w[i];
        const double xi = x[i];
        const double x2 = xi * xi;
        const double x3 = x2 * xi;
        const double x4 = x3 * xi;
        s[0] += wi;
        s[1] += wi * xi;
        s[2] += wi * x2;
        s[3] += wi * x3;
        s[4] += wi * x4;
        t[0] += wi * y[i];
        t[1] += wi * y[i] * xi;
        t[2] += wi * y[i] * x2;
    }
    MatrixD a;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) a(i, j) = s[static_cast<std::size_t>(i + j - 2)];
    if (!GaussJordanInvert(a, 3)) return fail();
    std::array<double, 3> result{};
    for (int i = 1; i <= 3; ++i) {
        double v = 0;
        for (int j = 1; j <= 3; ++j) v += a(i, j) * t[static_cast<std::size_t>(j - 1)];
        if (!std::isfinite(v)) return fail();
        result[static_cast<std::size_t>(i - 1)] = v;
    }
    c = result;
    return true;
}

bool QuadFitEvaluate(std::int16_t n, std::span<const double> x, std::span<const double> y, std::span<const float> w,
                     std::int16_t m, std::span<const double> xe, std::vector<double>& ye, IBoxes& boxes) {
    const std::size_t points = m > 0 ? static_cast<std::size_t>(m) : 0;
    ye.assign(points, 0.0);
    std::array<double, 3> c{};
    if (!QuadFit(n, x, y, w, c, boxes)) return false;
    if (xe.size() < points) {
        boxes.show(kBoxPlain, kQuadFailure);
        return false;
    }
    std::vector<double> values(points);
    for (std::size_t i = 0; i < points; ++i) {
        values[i] = c[0] + c[1] * xe[i] + c[2] * (xe[i] * xe[i]);
        if (!std::isfinite(values[i])) {
            boxes.show(kBoxPlain, kQuadFailure);
            return false;
        }
    }
    ye = values;
    return true;
}
