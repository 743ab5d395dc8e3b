// A general least-squares solver for three Sellmeier terms, apart from the
// program's fit, for tests and benchmarks to measure that fit against:
// Levenberg-Marquardt in long double on the terms themselves, from a given
// formula, until no step gains.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "model/GlassRecord.h"

// The largest residual in n at the optimum reached from start (B1..B3,
// C1..C3 in µm²) for the points 1..nm.size() of data, at wavelengths nm.
inline double SellmeierReferenceResidual(std::span<const float> nm, const std::array<double, 6>& start,
                                         const MeasuredData& data) {
    using Real = long double;
    const std::size_t n = nm.size();
    auto xOf = [&](std::size_t i) {
        const double L = static_cast<float>(nm[i] * 0.001);
        return static_cast<Real>(L * L);
    };
    std::array<Real, 6> a{};
    std::copy(start.begin(), start.end(), a.begin());
    auto sum = [&](const std::array<Real, 6>& q, std::vector<Real>& r, std::vector<std::array<Real, 6>>* jac) {
        Real total = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const Real x = xOf(i);
            Real model = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                const Real d = x - q[k + 3];
                model += q[k] * x / d;
                if (jac) {
                    (*jac)[i][k] = x / d;
                    (*jac)[i][k + 3] = q[k] * x / (d * d);
                }
            }
            r[i] = static_cast<Real>(data.indexSquared[i + 1]) - 1 - model;
            total += r[i] * r[i];
        }
        return total;
    };
    std::vector<Real> r(n), trialR(n);
    std::vector<std::array<Real, 6>> jac(n);
    Real chi = sum(a, r, &jac);
    Real lambda = 1e-3L;
    for (int step = 0; step < 5000 && lambda < 1e20L; ++step) {
        std::array<std::array<Real, 7>, 6> m{};  // (JᵀJ + λ·diag) | Jᵀr
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < 6; ++j) {
                for (std::size_t k = 0; k < 6; ++k) m[j][k] += jac[i][j] * jac[i][k];
                m[j][6] += jac[i][j] * r[i];
            }
        for (std::size_t j = 0; j < 6; ++j) m[j][j] *= 1 + lambda;
        for (std::size_t c = 0; c < 6; ++c) {  // Gauss elimination, partial pivoting
            std::size_t pivot = c;
            for (std::size_t row = c + 1; row < 6; ++row)
                if (std::fabs(m[row][c]) > std::fabs(m[pivot][c])) pivot = row;
            std::swap(m[c], m[pivot]);
            for (std::size_t row = 0; row < 6; ++row) {
                if (row == c || m[c][c] == 0) continue;
                const Real f = m[row][c] / m[c][c];
                for (std::size_t k = c; k < 7; ++k) m[row][k] -= f * m[c][k];
            }
        }
        std::array<Real, 6> trial = a;
        for (std::size_t j = 0; j < 6; ++j) trial[j] += m[j][6] / m[j][j];
        const Real trialChi = sum(trial, trialR, nullptr);
        if (trialChi < chi) {
            a = trial;
            chi = sum(a, r, &jac);
            lambda = std::max(lambda / 10, 1e-20L);
        } else {
            lambda *= 10;
        }
    }
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Real x = xOf(i);
        Real n2 = 1;
        for (std::size_t k = 0; k < 3; ++k) n2 += a[k] * x / (x - a[k + 3]);
        largest = std::max(largest, std::fabs(data.index[i + 1] - static_cast<double>(std::sqrt(n2))));
    }
    return largest;
}
