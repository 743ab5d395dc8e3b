// How close the Sellmeier fit comes to the least-squares optimum, and what a
// fit costs. Three data sets of published glasses; the reference is a
// least-squares solver of its own in long double, started from the formula
// that made the points and run until no step gains. Goal: the fit's largest
// residual within 2 times the reference's. Counters: largest_residual (the
// fit's, in n), reference (the reference's), ratio (of the two).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "model/GlassData.h"
#include "model/IndexFit.h"
#include "platform/Boxes.h"

namespace {

// Goes on whenever a slow fit asks.
class GoOnBoxes : public IBoxes {
public:
    int show(int, const std::string&, const std::string&) override { return kAnswerNo; }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

using Sellmeier = std::array<double, 6>;  // B1..B3, C1..C3 (µm²)

// The published Sellmeier coefficients.
constexpr Sellmeier kNbk7{1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
constexpr Sellmeier kNsf11{1.73759695, 0.313747346, 1.89878101, 0.013188707, 0.0623068142, 155.23629};
constexpr Sellmeier kF2{1.34533359, 0.209073176, 0.937357162, 0.00997743871, 0.0470450767, 111.886764};

struct DataSet {
    const char* name;
    Sellmeier generator;
    std::vector<float> nm;
    std::vector<double> n;
};

double sellmeierIndex(const Sellmeier& g, double x) {
    double n2 = 1;
    for (std::size_t k = 0; k < 3; ++k) n2 += g[k] * x / (x - g[k + 3]);
    return std::sqrt(n2);
}

double xOf(float nm) {
    const double L = static_cast<float>(nm * 0.001);
    return L * L;
}

std::vector<DataSet> dataSets() {
    std::vector<DataSet> sets;
    DataSet exact{"N-BK7, 12 wavelengths 365-2325 nm, exact", kNbk7, {}, {}};
    for (int i = 0; i < 12; ++i) exact.nm.push_back(365.0f + 1960.0f * static_cast<float>(i) / 11.0f);
    DataSet lines{"N-SF11, 17 catalogue lines, 6 decimals", kNsf11,
                  {2325.4f, 1970.1f, 1529.6f, 1060.0f, 1013.98f, 852.11f, 706.5188f, 656.2725f, 643.8469f,
                   589.2938f, 587.5618f, 546.074f, 486.1327f, 479.9914f, 435.8343f, 404.6561f, 365.0146f},
                  {}};
    DataSet noisy{"F2, 41 wavelengths 365-2325 nm, noise 1e-5", kF2, {}, {}};
    for (int i = 0; i < 41; ++i) noisy.nm.push_back(365.0f + 1960.0f * static_cast<float>(i) / 40.0f);
    for (float nm : exact.nm) exact.n.push_back(sellmeierIndex(kNbk7, xOf(nm)));
    for (float nm : lines.nm) lines.n.push_back(std::round(sellmeierIndex(kNsf11, xOf(nm)) * 1e6) / 1e6);
    for (std::size_t i = 0; i < noisy.nm.size(); ++i) {
        const int spread = static_cast<int>((i * 7919) % 13) - 6;  // -6..6, scattered
        noisy.n.push_back(sellmeierIndex(kF2, xOf(noisy.nm[i])) + 1e-5 * spread / 6.0);
    }
    sets.push_back(exact);
    sets.push_back(lines);
    sets.push_back(noisy);
    return sets;
}

// Levenberg-Marquardt in long double on the terms themselves, from the
// generator: slow along the valley, but it has all the steps it wants.
double referenceResidual(const DataSet& set) {
    using Real = long double;
    const std::size_t n = set.nm.size();
    std::array<Real, 6> a{};
    std::copy(set.generator.begin(), set.generator.end(), a.begin());
    auto residuals = [&](const std::array<Real, 6>& p, std::vector<Real>& r, std::vector<std::array<Real, 6>>* jac) {
        Real sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const Real x = xOf(set.nm[i]);
            Real model = 0;
            std::array<Real, 6> d{};
            for (std::size_t k = 0; k < 3; ++k) {
                model += p[k] * x / (x - p[k + 3]);
                d[k] = x / (x - p[k + 3]);
                d[k + 3] = p[k] * x / ((x - p[k + 3]) * (x - p[k + 3]));
            }
            const Real y = static_cast<Real>(set.n[i]) * set.n[i] - 1;
            r[i] = y - model;
            sum += r[i] * r[i];
            if (jac) (*jac)[i] = d;
        }
        return sum;
    };
    std::vector<Real> r(n), trialR(n);
    std::vector<std::array<Real, 6>> jac(n);
    Real chi = residuals(a, r, &jac);
    Real lambda = 1e-3L;
    for (int step = 0; step < 200000 && lambda < 1e30L; ++step) {
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
        const Real trialChi = residuals(trial, trialR, nullptr);
        if (trialChi < chi) {
            a = trial;
            chi = residuals(a, r, &jac);
            lambda = std::max(lambda / 10, 1e-20L);
        } else {
            lambda *= 10;
        }
    }
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Sellmeier g{};
        std::copy(a.begin(), a.end(), g.begin());
        largest = std::max(largest, std::fabs(set.n[i] - sellmeierIndex(g, xOf(set.nm[i]))));
    }
    return largest;
}

MeasuredData pointsOf(const DataSet& set) {
    MeasuredData m{};
    for (std::size_t i = 1; i <= set.nm.size(); ++i) {
        m.indexWavelength[i] = set.nm[i - 1];
        m.indexWavelengthUm[i] = static_cast<float>(set.nm[i - 1] * 0.001);
        m.weight[i] = 1;
        m.index[i] = set.n[i - 1];
        m.indexSquared[i] = set.n[i - 1] * set.n[i - 1];
    }
    return m;
}

// Arguments: the data set (0..2) and the number of terms (3 or 5), each fit
// from its own start, as the editor fits.
void BM_SellmeierOptimum(benchmark::State& state) {
    static const std::vector<DataSet> sets = dataSets();
    const DataSet& set = sets.at(static_cast<std::size_t>(state.range(0)));
    const auto terms = static_cast<std::int16_t>(state.range(1));
    const auto count = static_cast<std::int16_t>(set.nm.size());
    const MeasuredData points = pointsOf(set);
    const GlassDefinition none;
    GoOnBoxes boxes;
    GlassDefinition def;
    MeasuredData data = points;
    std::string report;
    for (auto _ : state) {
        data = points;
        const bool ok = FitSellmeier(count, terms, report, def, data, none, false, true, boxes);
        if (!ok) state.SkipWithError("the fit failed");
        benchmark::DoNotOptimize(data);
    }
    double largest = 0;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i)
        largest = std::max(largest, std::fabs(data.residual[i]));
    const double reference = referenceResidual(set);
    state.counters["largest_residual"] = largest;
    state.counters["reference"] = reference;
    state.counters["ratio"] = largest / reference;
    state.SetLabel(std::string(set.name) + (terms == 5 ? ", five terms" : ", three terms"));
}
BENCHMARK(BM_SellmeierOptimum)
    ->ArgsProduct({{0, 1, 2}, {3, 5}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
