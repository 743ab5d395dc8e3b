// Writing and reading a GLZ backup of 10,000 materials, in memory and through
// the file on disk, beside the reference of copying the same file with cp and
// flushing it to disk with sync. Throughput is the file's bytes per second;
// an export or an import should take at most three times the reference.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "exchange/CImportNewGLZ.h"
#include "exchange/frm5Export.h"
#include "platform/Clock.h"
#include "platform/Boxes.h"

namespace {

constexpr int kMaterials = 10000;

class QuietBoxes : public IBoxes {
public:
    int show(int, const std::string&, const std::string&) override { return kAnswerOk; }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

// A catalogue-like material: 150 transmission points (what most materials are
// written with), 20 index points, the property texts, every tenth a melt glass.
GlassRecord material(int k) {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set("N-GLASS" + std::to_string(k));
    g.definition.source.set("BENCH");
    g.definition.formulaType = kSellmeier;
    g.definition.lowerWavelength = 310;
    g.definition.upperWavelength = 2325;
    g.definition.density = 2.51f + 0.001f * static_cast<float>(k % 100);
    const double c[6] = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    for (int i = 0; i < 6; ++i) g.definition.coefficients[i] = c[i] * (1.0 + k * 1e-7);
    g.indexPointCount = 20;
    g.notes.dnDtType = kSchottDnDt;
    g.notes.d0 = 1.86e-6f;
    g.notes.d1 = 1.31e-8f;
    g.notes.d2 = -1.37e-11f;
    g.notes.e0 = 4.34e-7f;
    g.notes.e1 = 6.27e-10f;
    g.notes.lambdaTK = 0.17f;
    g.notes.referenceTemperature = 20;
    g.notes.expansion = 7.1f;
    g.properties.a3070.set("7.1");
    g.properties.tg.set("557");
    g.properties.t1076.set("719");
    g.properties.remark.set("benchmark material");
    g.properties.status.set("A");
    MeasuredData& m = g.measured;
    m.transCount = kMaxTransPoints;
    m.thickness = 10;
    m.transDataType = kInternalTransmission;
    for (int i = 1; i <= kMaxTransPoints; ++i) {
        m.transWavelength[i] = 2500.0f - 14.9f * static_cast<float>(i);
        m.absorption[i] = 0.00013f * static_cast<float>(i);
        m.internalTrans[i] = 100.0f * std::exp(-10.0f * m.absorption[i]);
        m.totalTrans[i] = 0.92f * m.internalTrans[i];
    }
    for (int i = 1; i <= 20; ++i) {
        m.indexWavelength[i] = 2325.0 - 100.0 * i;
        m.index[i] = 1.5 + 0.01 / i;
        m.weight[i] = 1;
    }
    if (k % 10 == 0) {
        g.melt.meltFlag = kTrue;
        g.melt.parentName.set("N-BK7");
        g.melt.parentSource.set("SCHOTT");
        g.melt.pairCount = 8;
        for (int i = 1; i <= 8; ++i) {
            g.melt.pairWavelength[i] = 1014.0f - 80.0f * static_cast<float>(i);
            g.melt.pairIndex[i] = 1.51 + 0.001 * i;
        }
        g.melt.secondCount = 9;
        for (int i = 1; i <= 9; ++i) g.melt.secondTable[3][i] = 0.1 * i;
    }
    for (SectionStatus& s : g.sections) s.ready = kTrue;
    return g;
}

std::vector<GlassRecord>& materials() {
    static std::vector<GlassRecord> glasses = [] {
        std::vector<GlassRecord> v;
        v.reserve(kMaterials);
        for (int k = 1; k <= kMaterials; ++k) v.push_back(material(k));
        return v;
    }();
    return glasses;
}

// The run's files, removed at its end.
const std::string& folder() {
    static const BenchFolder made;
    return made.path();
}

void BM_WriteGLZText(benchmark::State& state) {
    auto& glasses = materials();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = MakeGLZText(glasses, 1, kMaterials, "Tuesday, March 4, 2025");
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WriteGLZFile(benchmark::State& state) {
    auto& glasses = materials();
    QuietBoxes boxes;
    SystemClock clock;
    for (auto _ : state) {
        if (!WriteGLZFile(glasses, folder(), "bench.GLZ", 1, kMaterials, clock, boxes))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(folder() + "bench.GLZ")));
}

void BM_ReadGLZBytes(benchmark::State& state) {
    const std::string text = MakeGLZText(materials(), 1, kMaterials, "Tuesday, March 4, 2025");
    QuietBoxes boxes;
    std::vector<GlassRecord> read;
    int count = 0;
    for (auto _ : state) {
        CImportNewGLZ reader(boxes);
        if (!reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), read, count) ||
            count != kMaterials)
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Reading the file on disk into the list of the last read, as the Import
// page reads again (Fresh: into a new list each time, the first read).
void importFile(benchmark::State& state, bool freshList) {
    QuietBoxes boxes;
    SystemClock clock;
    if (!WriteGLZFile(materials(), folder(), "bench.GLZ", 1, kMaterials, clock, boxes)) {
        state.SkipWithError("write failed");
        return;
    }
    std::vector<GlassRecord> read;
    int count = 0;
    for (auto _ : state) {
        if (freshList) std::vector<GlassRecord>().swap(read);
        CImportNewGLZ reader(boxes);
        if (!reader.ImportFile(folder() + "bench.GLZ", read, count) || count != kMaterials)
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(folder() + "bench.GLZ")));
}

void BM_ImportFile(benchmark::State& state) { importFile(state, false); }
void BM_ImportFileFresh(benchmark::State& state) { importFile(state, true); }

// The reference: the system's own copy of the same file, flushed to disk.
void BM_CpAndSync(benchmark::State& state) {
    QuietBoxes boxes;
    SystemClock clock;
    if (!WriteGLZFile(materials(), folder(), "bench.GLZ", 1, kMaterials, clock, boxes)) {
        state.SkipWithError("write failed");
        return;
    }
    const std::string command = "cp '" + folder() + "bench.GLZ' '" + folder() + "copy.GLZ' && sync";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(folder() + "bench.GLZ")));
}

}  // namespace

BENCHMARK(BM_CpAndSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteGLZText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteGLZFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadGLZBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportFileFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
