// Weighted least-squares quadratic y = c1 + c2·x + c3·x², and its value at
// other abscissae; the melt fit smooths and carries index differences with it.
// Arrays are 0-based spans: x[0] is point 1. A weight of 0 drops a point.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class IBoxes;

// c = {c1, c2, c3}. On failure one plain box and False, c unchanged. A count
// beyond the arrays given is refused like a singular fit.
bool QuadFit(std::int16_t n, std::span<const double> x, std::span<const double> y, std::span<const float> w,
             std::array<double, 3>& c, IBoxes& boxes);

// ye becomes m values long, all 0, before the fit; on success it holds the
// quadratic at xe[0..m-1].
bool QuadFitEvaluate(std::int16_t n, std::span<const double> x, std::span<const double> y, std::span<const float> w,
                     std::int16_t m, std::span<const double> xe, std::vector<double>& ye, IBoxes& boxes);
