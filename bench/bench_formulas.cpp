// Speed of the formula evaluation and of the fits. Targets: at least 50
// million EvaluateIndex calls a second on one core; a three-term Sellmeier
// fit on 41 points within 50 µs.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "model/GlassData.h"
#include "model/IndexFit.h"
#include "model/LeastSquares.h"
#include "platform/Boxes.h"

namespace {

class SilentBoxes : public IBoxes {
public:
    int show(int, const std::string&, const std::string&) override { return kAnswerNo; }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

GlassDefinition nbk7() {
    GlassDefinition def;
    def.formulaType = kSellmeier;
    const double c[] = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    for (std::size_t i = 0; i < 6; ++i) def.coefficients[i] = c[i];
    return def;
}

// A definition of each formula type giving a glass-like index over 365-2300 nm.
GlassDefinition definitionOf(std::int16_t type) {
    GlassDefinition def;
    def.formulaType = type;
    auto set = [&](std::initializer_list<double> c) {
        std::size_t i = 0;
        for (double v : c) def.coefficients[i++] = v;
    };
    switch (type) {
    case kSchott: set({2.27, -0.0095, 0.0108, 0.00021, -1.2e-5, 9e-7}); break;
    case kSellmeier: def = nbk7(); break;
    case kSchottPlus: set({1e-9, -2e-8, 3e-7, 0.00021, 0.0108, 2.27, -0.0095, 1e-4, -2e-5, 1e-6}); break;
    case kCauchy: set({2.25, 0.0118, 0.00021}); break;
    case kSellmeierPlus: set({1.03961212, 0.231792344, 1.01046945, 0.01, 0.01, 0.00600069867, 0.0200179144, 103.560653, 0.05, 0.1}); break;
    case kConrady: set({1.5, 0.0042, 0.00021}); break;
    case kHerzberger: set({1.5, 0.004, 0.0001, -0.003, 0.0002, -1e-5}); break;
    default: break;
    }
    return def;
}

MeasuredData pointsOn(const GlassDefinition& def, int n) {
    MeasuredData m{};
    for (int i = 1; i <= n; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        const float nm = 365.0f + (2300.0f - 365.0f) * static_cast<float>(i - 1) / static_cast<float>(n - 1);
        bool ok = false;
        const double v = EvaluateIndex(def, nm, def.formulaType, ok) + 1e-6 * ((i * 7919) % 13 - 6) / 6.0;
        m.indexWavelength[pi] = nm;
        m.indexWavelengthUm[pi] = static_cast<float>(nm * 0.001);
        m.weight[pi] = 1;
        m.index[pi] = v;
        m.indexSquared[pi] = v * v;
    }
    return m;
}

void BM_EvaluateIndex(benchmark::State& state) {
    const auto type = static_cast<std::int16_t>(state.range(0));
    const GlassDefinition def = definitionOf(type);
    std::array<float, 64> nm{};
    for (std::size_t i = 0; i < nm.size(); ++i) nm[i] = 365.0f + 30.0f * static_cast<float>(i);
    for (auto _ : state) {
        double sum = 0;
        for (float w : nm) {
            bool ok = false;
            sum += EvaluateIndex(def, w, type, ok);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(nm.size()));
    state.SetLabel(type == kSchott         ? "Schott"
                   : type == kSellmeier    ? "Sellmeier"
                   : type == kSchottPlus   ? "Schott Plus"
                   : type == kCauchy       ? "Cauchy"
                   : type == kSellmeierPlus ? "Sellmeier Plus"
                   : type == kConrady      ? "Conrady"
                                           : "Herzberger");
}
BENCHMARK(BM_EvaluateIndex)->DenseRange(1, 4)->Arg(6)->Arg(7)->Arg(8);

using LinearFit = bool (*)(std::int16_t&, std::int16_t, std::string&, GlassDefinition&, MeasuredData&, IBoxes&);

template <LinearFit fit, std::int16_t kType>
void BM_LinearFit(benchmark::State& state) {
    const auto n = static_cast<std::int16_t>(state.range(0));
    MeasuredData data = pointsOn(definitionOf(kType), n);
    GlassDefinition def;
    SilentBoxes boxes;
    std::string report;
    std::int16_t nTerms = 0;
    for (auto _ : state) {
        const bool ok = fit(nTerms, n, report, def, data, boxes);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_LinearFit<FitCauchy, kCauchy>)->Name("BM_FitCauchy")->Arg(41)->Arg(150);
BENCHMARK(BM_LinearFit<FitSchott, kSchott>)->Name("BM_FitSchott")->Arg(41)->Arg(150);
BENCHMARK(BM_LinearFit<FitExtendedSchott, kSchottPlus>)->Name("BM_FitExtendedSchott")->Arg(41)->Arg(150);

void BM_FitSellmeier3(benchmark::State& state) {
    const auto n = static_cast<std::int16_t>(state.range(0));
    MeasuredData data = pointsOn(nbk7(), n);
    GlassDefinition def;
    const GlassDefinition none;
    SilentBoxes boxes;
    std::string report;
    for (auto _ : state) {
        const bool ok = FitSellmeier(n, 3, report, def, data, none, false, true, boxes);
        if (!ok) state.SkipWithError("the fit failed");
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_FitSellmeier3)->Arg(41)->Arg(150)->Unit(benchmark::kMicrosecond);

void BM_FitSellmeier5(benchmark::State& state) {
    const auto n = static_cast<std::int16_t>(state.range(0));
    MeasuredData data = pointsOn(nbk7(), n);
    GlassDefinition def;
    const GlassDefinition start = definitionOf(kSellmeierPlus);
    SilentBoxes boxes;
    std::string report;
    for (auto _ : state) {
        const bool ok = FitSellmeier(n, 5, report, def, data, start, true, true, boxes);
        if (!ok) state.SkipWithError("the fit failed");
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_FitSellmeier5)->Arg(41)->Arg(150)->Unit(benchmark::kMicrosecond);

void BM_QuadFit(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<double> x(n), y(n);
    std::vector<float> w(n, 1.0f);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = 365.0 + 10.0 * static_cast<double>(i);
        y[i] = 1e-4 - 2e-8 * x[i] + 1e-11 * x[i] * x[i];
    }
    SilentBoxes boxes;
    std::array<double, 3> c{};
    for (auto _ : state) {
        const bool ok = QuadFit(static_cast<std::int16_t>(n), x, y, w, c, boxes);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_QuadFit)->Arg(41)->Arg(150);

void BM_ConvertToSchott(benchmark::State& state) {
    GlassDefinition conrady = definitionOf(kConrady);
    conrady.lowerWavelength = 365;
    conrady.upperWavelength = 1014;
    SilentBoxes boxes;
    for (auto _ : state) {
        GlassDefinition def = conrady;
        float rms = 0;
        const bool ok = ConvertToSchott(def, rms, boxes);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(rms);
    }
}
BENCHMARK(BM_ConvertToSchott);

}  // namespace
