// Reading maker catalogues into records: a generated Zemax catalogue like
// the makers' own (about 350 glasses, Sellmeier and Schott formulas, 25 to
// 30 IT lines each at 10 and 25 mm, a few Conrady glasses to refit) and an
// OSLO catalogue of the same glasses. Throughput is the catalogue text's
// bytes per second, refits included.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/CImportOsloGLC.h"
#include "exchange/CImportZemaxAGF.h"

namespace {

constexpr int kGlasses = 350;
constexpr int kConrady = 8;  // every 44th glass

std::string number(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// A transmission curve of an optical glass: opaque in the far UV, rising to
// nearly 1 in the visible, falling off in the IR.
double transmittance(double um, int k, double thickness) {
    const double edge = 0.30 + 0.002 * (k % 40);
    const double alpha = um < edge ? 5.0 : 0.002 + 0.05 * std::exp(-(um - edge) / 0.03) + 0.001 * um * um;
    return std::exp(-alpha * thickness);
}

std::string agfCatalogue() {
    std::string text = "CC Generated maker catalogue for reading speed\r\n";
    for (int k = 0; k < kGlasses; ++k) {
        const double scale = 1.0 + 0.0004 * (k % 97);
        const bool conrady = k % 44 == 7;
        const bool schott = !conrady && k % 9 == 4;
        const int formula = conrady ? 5 : schott ? 1 : 2;
        text += "NM N-G" + std::to_string(1000 + k) + " " + std::to_string(formula) + " " +
                number("%.3f", 517642.251 + k) + " " + number("%.6f", 1.5168 * scale) + " " +
                number("%.4f", 64.17 / scale) + " 0 1 0\r\n";
        text += "GC \r\n";
        text += "ED " + number("%.2f", 7.1 * scale) + " " + number("%.2f", 8.3 * scale) + " " +
                number("%.3f", 2.51 * scale) + " -0.0009 0\r\n";
        text += "CD";
        if (conrady) {
            for (double c : {1.4973 * scale, 0.0073, 0.00027}) text += number(" %.10E", c);
            for (int i = 0; i < 7; ++i) text += " 0.0000000000E+00";
        } else if (schott) {
            for (double c : {2.2718929 * scale, -1.0108077e-2, 1.0592509e-2, 2.0816965e-4, -7.6472538e-6, 4.9240991e-7})
                text += number(" %.10E", c);
            for (int i = 0; i < 4; ++i) text += " 0.0000000000E+00";
        } else {
            for (double c : {1.03961212 * scale, 0.00600069867, 0.231792344, 0.0200179144, 1.01046945, 103.560653})
                text += number(" %.10E", c);
            for (int i = 0; i < 4; ++i) text += " 0.0000000000E+00";
        }
        text += "\r\n";
        text += "TD 1.8600000000E-06 1.3100000000E-08 -1.3700000000E-11 4.3400000000E-07 6.2700000000E-10 "
                "1.7000000000E-01 2.0000000000E+01\r\n";
        text += "OD " + number("%.1f", 1.0 + 0.1 * (k % 20)) + " 2 0 1 2.3 1\r\n";
        text += "LD 3.1000000000E-01 2.5000000000E+00\r\n";
        const int lines = 25 + k % 6;
        for (int i = 0; i < lines; ++i) {
            const double um = 0.29 + 0.01 * i * i * 0.25 + 0.01 * i;
            const double thickness = i < lines / 2 ? 10.0 : 25.0;
            text += "IT " + number("%.10E", um) + " " + number("%.10E", transmittance(um, k, thickness)) + " " +
                    number("%.10E", thickness) + "\r\n";
        }
    }
    return text;
}

std::string glcCatalogue() {
    std::string text = "OSLO glass catalog BENCH\r\n";
    for (int k = 0; k < kGlasses; ++k) {
        const double scale = 1.0 + 0.0004 * (k % 97);
        std::string name = "N-G";
        name += std::to_string(1000 + k);  // appended: GCC 12 warns falsely on "N-G" + string
        name.resize(10, ' ');
        const bool conrady = k % 44 == 7;
        text += name + " " + number("%.6f", 1.5168 * scale) + " " + number("%.4f", 64.17 / scale) + " " +
                number("%.3f", 2.51 * scale) + " 2.1e-6 71 0 1.5 610 12345 0 V " + (conrady ? "3" : "2") + " 0";
        if (conrady) {
            for (double c : {1.4973 * scale, 0.0073, 0.00027}) text += number(" %.10E", c);
        } else {
            for (double c : {1.03961212 * scale, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653})
                text += number(" %.10E", c);
        }
        text += " 1 0 1.86e-6 1.31e-8 -1.37e-11 4.34e-7 6.27e-10 0.17 1 30";
        for (int i = 0; i < 30; ++i) {
            const double um = 0.29 + 0.01 * i * i * 0.25 + 0.01 * i;
            text += ' ';
            text += number("%.4f", um);
            text += ' ';
            text += number("%.4f", transmittance(um, k, 5.0));
        }
        text += "\r\n";
    }
    return text;
}

template <class Reader>
void readCatalogue(benchmark::State& state, const std::string& text, const char* fileName) {
    ImportedMaterials result;
    for (auto _ : state) {
        Reader reader;
        if (!reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), fileName, result) ||
            result.count() != kGlasses || result.refitCount != kConrady)
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["file_KB"] = static_cast<double>(text.size()) / 1e3;
}

void BM_ReadAgfCatalogue(benchmark::State& state) {
    static const std::string text = agfCatalogue();
    readCatalogue<CImportZemaxAGF>(state, text, "BENCH.AGF");
}

void BM_ReadGlcCatalogue(benchmark::State& state) {
    static const std::string text = glcCatalogue();
    readCatalogue<CImportOsloGLC>(state, text, "BENCH.GLC");
}

// The same catalogue from the file on disk.
void BM_ImportAgfFile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "kalvenor-bench-BENCH.AGF";
    const std::string text = agfCatalogue();
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    ImportedMaterials result;
    for (auto _ : state) {
        CImportZemaxAGF reader;
        if (!reader.ImportFile(path.string(), result) || result.count() != kGlasses) state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

}  // namespace

BENCHMARK(BM_ReadAgfCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGlcCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportAgfFile)->Unit(benchmark::kMillisecond);
