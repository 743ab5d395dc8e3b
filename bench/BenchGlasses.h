// The materials the benchmarks work on: fully measured glasses (150 index
// points each, a Sellmeier formula, a note), and boxes that answer OK and
// print what they were asked, so a failure shows in the run's output.
#pragma once

#include <cstdio>
#include <string>

#include "model/GlassRecord.h"
#include "platform/Boxes.h"

class SilentBoxes : public IBoxes {
public:
    int show(int, const std::string& text, const std::string&) override {
        std::fprintf(stderr, "box: %s\n", text.c_str());
        return kAnswerOk;
    }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

inline GlassRecord benchGlass(int i, const std::string& name) {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set("BENCHMARK");
    g.definition.formulaType = kSellmeier;
    for (int c = 0; c < kCoefficientSlots; ++c) g.definition.coefficients[static_cast<std::size_t>(c)] = 1.0 + i * 1e-6 + c;
    for (std::size_t p = 1; p <= kMaxIndexPoints; ++p) {
        g.measured.indexWavelength[p] = 400.0 + static_cast<double>(p);
        g.measured.index[p] = 1.5 + 1e-4 * static_cast<double>(p);
    }
    g.indexPointCount = kMaxIndexPoints;
    g.notes.notes[0].set("benchmark material");
    return g;
}

inline GlassRecord benchGlass(int i) { return benchGlass(i, "BENCH-" + std::to_string(i)); }
