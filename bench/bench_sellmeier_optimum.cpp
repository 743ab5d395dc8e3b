// The Sellmeier fit over the data designers type: five published glasses at
// four line sets (10 lines 365-1014 nm, 12 lines 365-2325 nm, 7 visible
// lines, a melt sheet's 6 lines), exact and rounded to 5 and 6 decimals, with
// 3 and 5 terms, from the fit's own start and from the published formula:
// 240 fits. Goals: no question, worst time per fit at most 1 ms, median at
// most 50 µs. Counters: questions (asked over all fits), failed (fits that
// did not succeed), median_us and worst_us (time per fit), and of the
// reference, a general least-squares solver (Levenberg-Marquardt in long
// double on the three terms, from the published formula, until no step
// gains): reference_median_us, time_ratio (the reference's median
// time over the fit's) and residual_ratio (the worst, over the fits of three
// terms, of the fit's largest residual over what is allowed it: the largest of
// 1.1 times the reference's, half a unit of the points' last decimal and
// 1e-9; at most 1 is the goal).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "model/IndexFit.h"
#include "platform/Boxes.h"
#include "support/SellmeierReference.h"

namespace {

// Goes on whenever a slow fit asks, and counts the questions.
class CountingBoxes : public IBoxes {
public:
    int show(int style, const std::string&, const std::string&) override {
        if (style == kBoxInformationYesNo) ++questions;
        else ++others;
        return style == kBoxInformationYesNo ? kAnswerNo : kAnswerOk;
    }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
    int questions = 0;
    int others = 0;
};

using Sellmeier = std::array<double, 6>;  // B1..B3, C1..C3 (µm²)

const Sellmeier kGlasses[] = {
    {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653},  // N-BK7
    {1.73759695, 0.313747346, 1.89878101, 0.013188707, 0.0623068142, 155.23629},     // N-SF11
    {1.34533359, 0.209073176, 0.937357162, 0.00997743871, 0.0470450767, 111.886764},  // F2
    {0.971247817, 0.216901417, 0.904651666, 0.00472301995, 0.0153575612, 168.68133},  // N-FK51A
    {2.00029547, 0.298926886, 1.80691843, 0.0121426017, 0.0538736236, 156.530829},    // N-LASF9
};

const std::vector<float> kLineSets[] = {
    {365.0146f, 404.6561f, 435.8343f, 479.9914f, 486.1327f, 546.074f, 587.5618f, 643.8469f, 656.2725f, 1013.98f},
    {365.0146f, 404.6561f, 435.8343f, 486.1327f, 546.074f, 587.5618f, 656.2725f, 706.5188f, 852.11f, 1013.98f,
     1529.6f, 2325.42f},
    {404.6561f, 435.8343f, 486.1327f, 546.074f, 587.5618f, 656.2725f, 706.5188f},
    {435.8343f, 486.1327f, 546.074f, 587.5618f, 643.8469f, 656.2725f},
};

double xOf(float nm) {
    const double L = static_cast<float>(nm * 0.001);
    return L * L;
}

double sellmeierIndex(const Sellmeier& g, double x) {
    double n2 = 1;
    for (std::size_t k = 0; k < 3; ++k) n2 += g[k] * x / (x - g[k + 3]);
    return std::sqrt(n2);
}

MeasuredData pointsOf(const std::vector<float>& nm, const Sellmeier& g, int decimals) {
    MeasuredData m{};
    for (std::size_t i = 1; i <= nm.size(); ++i) {
        double n = sellmeierIndex(g, xOf(nm[i - 1]));
        if (decimals > 0) n = std::round(n * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
        m.indexWavelength[i] = nm[i - 1];
        m.indexWavelengthUm[i] = static_cast<float>(nm[i - 1] * 0.001);
        m.weight[i] = 1;
        m.index[i] = n;
        m.indexSquared[i] = n * n;
    }
    return m;
}

// The median of repeated runs of f, in µs.
template <class F>
double medianMicroseconds(F&& f) {
    std::vector<double> times;
    for (int repeat = 0; repeat < 15; ++repeat) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + 7, times.end());
    return times[7];
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

void BM_SellmeierOptimum(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> fitTimes, referenceTimes;
        int questions = 0, failed = 0;
        double residualRatio = 0;
        for (const Sellmeier& g : kGlasses)
            for (const auto& lines : kLineSets)
                for (int decimals : {0, 5, 6}) {
                    const MeasuredData points = pointsOf(lines, g, decimals);
                    const double halfUnit = decimals ? 0.5 * std::pow(10.0, -decimals) : 0;
                    double reference = 0;
                    referenceTimes.push_back(
                        medianMicroseconds([&] { reference = SellmeierReferenceResidual(lines, g, points); }));
                    for (int terms : {3, 5}) {
                        GlassDefinition start;
                        const std::array<double, 10> five{g[0], g[1], g[2], 0, 0, g[3], g[4], g[5], g[3] / 2, g[5] * 10};
                        for (std::size_t k = 0; k < (terms == 3 ? 6u : 10u); ++k)
                            start.coefficients[k] = terms == 3 ? g[k] : five[k];
                        for (bool fromPublished : {false, true}) {
                            CountingBoxes boxes;
                            MeasuredData data = points;
                            bool ok = false;
                            const auto count = static_cast<std::int16_t>(lines.size());
                            fitTimes.push_back(medianMicroseconds([&] {
                                GlassDefinition def;
                                std::string report;
                                data = points;
                                boxes.questions = 0;
                                ok = FitSellmeier(count, static_cast<std::int16_t>(terms), report, def, data, start,
                                                  fromPublished, true, boxes);
                                benchmark::DoNotOptimize(data);
                            }));
                            questions += boxes.questions;
                            if (!ok) ++failed;
                            if (terms == 3 && ok) {
                                double largest = 0;
                                for (std::size_t i = 1; i <= lines.size(); ++i)
                                    largest = std::max(largest, std::fabs(data.residual[i]));
                                residualRatio = std::max(residualRatio, largest / std::max({1.1 * reference, halfUnit, 1e-9}));
                            }
                        }
                    }
                }
        state.counters["questions"] = questions;
        state.counters["failed"] = failed;
        state.counters["median_us"] = median(fitTimes);
        state.counters["worst_us"] = *std::max_element(fitTimes.begin(), fitTimes.end());
        state.counters["reference_median_us"] = median(referenceTimes);
        state.counters["time_ratio"] = median(referenceTimes) / median(fitTimes);
        state.counters["residual_ratio"] = residualRatio;
    }
}
BENCHMARK(BM_SellmeierOptimum)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
