#include "model/TransCalcs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr auto kEmpty = static_cast<float>(kEmptyAbsorption);

// The last point in use: entries at the end whose wavelength is 0 or less
// are empty. False when no point is in use.
bool lastPoint(std::span<const float> waves, std::size_t count, std::size_t& hi) {
    if (count == 0) return false;
    hi = count - 1;
    while (!(waves[hi] > 0)) {
        if (hi == 0) return false;
        --hi;
    }
    return true;
}

// The interpolation over points 0..hi, with transmittance(i) the
// transmittance of point i at the sample thickness t.
template <class Transmittance>
float interpolate(float wavelength, std::span<const float> waves, std::size_t hi, double t,
                  Transmittance&& transmittance) {
    std::size_t lo = 0;
    if (wavelength > waves[lo] || wavelength < waves[hi]) return kEmpty;
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if (waves[mid] <= wavelength) hi = mid;
        else lo = mid;
    }
    const double d = static_cast<double>(waves[lo]) - waves[hi];
    if (d == 0) return kEmpty;

    // Linear in transmittance, not in absorption.
    const double tLo = transmittance(lo);
    const double tHi = transmittance(hi);
    const double trans = (static_cast<double>(wavelength) - waves[hi]) * (tLo - tHi) / d + tHi;
    if (!(trans > 0)) return kEmpty;
    const auto alpha = static_cast<float>(-std::log(trans) / t);
    return std::isfinite(alpha) ? alpha : kEmpty;
}

}  // namespace

void AbsorptionAtStandardWavelengths(std::array<float, kStandardTransCount>& out, float thickness,
                                     std::span<const float> waves, std::span<const float> alphas) {
    // InterpolateAbsorption at every standard wavelength, with the points'
    // transmittances worked out once instead of once per wavelength.
    out.fill(kEmpty);
    std::size_t hi = 0;
    if (!(thickness > 0) || !lastPoint(waves, std::min(waves.size(), alphas.size()), hi)) return;
    const double t = thickness;
    std::array<double, kMaxTransPoints> known{};
    std::array<bool, kMaxTransPoints> isKnown{};
    auto transmittance = [&](std::size_t i) {
        if (i >= known.size()) return std::exp(-t * alphas[i]);
        if (!isKnown[i]) {
            known[i] = std::exp(-t * alphas[i]);
            isKnown[i] = true;
        }
        return known[i];
    };
    for (int i = 0; i < kStandardTransCount; ++i)
        out[i] = interpolate(StandardTransWavelengths[i], waves, hi, t, transmittance);
}

float InterpolateAbsorption(float wavelength, std::span<const float> waves, std::span<const float> alphas,
                            float thickness) {
    // A thickness of 0 would divide by zero; a negative one means nothing.
    std::size_t hi = 0;
    if (!(thickness > 0) || !lastPoint(waves, std::min(waves.size(), alphas.size()), hi)) return kEmpty;
    const double t = thickness;
    return interpolate(wavelength, waves, hi, t, [&](std::size_t i) { return std::exp(-t * alphas[i]); });
}

std::int16_t TransPointCount(GlassRecord& glass) {
    std::int16_t& n = glass.measured.transCount;
    if (n < 1 || n > 10) n = kMaxTransPoints;
    return n;
}

namespace {

// The first two characters of Int(wavelength / 10 + 0.5) as a whole number;
// empty when the wavelength is no finite number.
bool tensOfNm(double wavelength, std::string& out) {
    const double v = std::floor(wavelength / 10 + 0.5);
    if (!std::isfinite(v)) return false;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", v);
    out.assign(buf, std::min<std::size_t>(2, std::char_traits<char>::length(buf)));
    return true;
}

}  // namespace

void ComputeColourCode(GlassRecord& glass, float thickness, std::span<const float> waves,
                       std::span<const float> transmittances) {
    const std::size_t count = std::min(waves.size(), transmittances.size());
    // n: the shortest wavelength in use; the edges need a point before it.
    std::size_t n = count;
    while (n > 0 && !(waves[n - 1] > 0)) --n;
    if (n < 2) return;
    n -= 1;

    const double level80 = std::exp(std::log(0.8) * thickness / 10);
    const double level5 = std::exp(std::log(0.05) * thickness / 10);
    auto fraction = [&](std::size_t i) { return static_cast<double>(transmittances[i]) / 100; };
    // Where the straight line from point i + 1 (the shorter wavelength) to
    // point i crosses the level.
    auto crossing = [&](std::size_t i, double level) {
        const double wA = waves[i + 1], wB = waves[i];
        const double tA = transmittances[i + 1], tB = transmittances[i];
        if (tA == tB) return wA;
        return wA + (wB - wA) * (100 * level - tA) / (tB - tA);
    };
    // The first point from n - 1 toward the longest wavelength that reaches
    // the level, and the crossing after it.
    auto edgeBefore = [&](double level, double& edge) {
        for (std::size_t i = n; i-- > 0;) {
            if (fraction(i) >= level) {
                edge = crossing(i, level);
                return true;
            }
        }
        return false;
    };

    double edge5 = 0;
    if (fraction(n) > level5) {
        edge5 = std::max(crossing(n - 1, level5), static_cast<double>(waves[n]) - 10);
    } else if (!edgeBefore(level5, edge5)) {
        return;
    }
    double edge80 = 0;
    if (fraction(n) > level80) {
        edge80 = waves[n - 1];
    } else if (!edgeBefore(level80, edge80)) {
        return;
    }

    std::string part80, part5;
    if (!tensOfNm(edge80, part80) || !tensOfNm(edge5, part5)) return;
    glass.properties.cc.set(part80 + "/" + part5);
}
