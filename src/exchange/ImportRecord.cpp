#include "exchange/ImportRecord.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "model/GlassData.h"
#include "model/TransCalcs.h"
#include "model/Verification.h"
#include "platform/Boxes.h"

namespace {

// The fraction an opaque sample is taken to pass.
constexpr double kOpaqueFraction = 1e-6;

// Keeps the first message a fit shows, and shows nothing.
class FirstMessage : public IBoxes {
public:
    int show(int, const std::string& text, const std::string&) override {
        if (m_text.empty()) m_text = text;
        return kAnswerOk;
    }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace

float ThicknessOrDefault(double mm) {
    // Judged as the single the record keeps: 1e-64 mm is 0 there.
    const bool fits = std::isfinite(mm) && std::fabs(mm) <= std::numeric_limits<float>::max();
    const float t = fits ? static_cast<float>(mm) : 0.0f;
    return t > 0 ? t : kDefaultThickness;
}

float AbsorptionFromTransmittance(float percent, float thickness) {
    double alpha = 0;
    if (percent > 0 && percent <= 100) alpha = -std::log(percent / 100.0) / thickness;
    else if (!(percent > 100)) alpha = -std::log(kOpaqueFraction) / thickness;
    // A sample thinner than any real one must not give an absorption beyond a single.
    return static_cast<float>(std::min(alpha, static_cast<double>(std::numeric_limits<float>::max())));
}

void SortTransPoints(MeasuredData& md) {
    const int n = std::clamp<int>(md.transCount, 0, kMaxTransPoints);
    std::array<int, kMaxTransPoints> order;
    std::iota(order.begin(), order.begin() + n, 1);
    std::stable_sort(order.begin(), order.begin() + n, [&](int a, int b) {
        return md.transWavelength[static_cast<std::size_t>(a)] > md.transWavelength[static_cast<std::size_t>(b)];
    });
    auto permute = [&](OneBased<float, kMaxTransPoints>& values) {
        const auto old = values;
        for (int i = 0; i < n; ++i)
            values[static_cast<std::size_t>(i + 1)] = old[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
    };
    permute(md.transWavelength);
    permute(md.absorption);
    permute(md.totalTrans);
    permute(md.internalTrans);
}

void FillDesignTable(GlassRecord& g) {
    GlassDefinition& d = g.definition;
    std::fill(d.transAbsorption.begin(), d.transAbsorption.end() - 1, static_cast<float>(kEmptyAbsorption));
    const int n = std::clamp<int>(g.measured.transCount, 0, kStandardTransCount);
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!(g.measured.transWavelength[k] > 0)) continue;
        d.transWavelength[k - 1] = g.measured.transWavelength[k];
        d.transAbsorption[k - 1] = g.measured.absorption[k];
    }
}

void FinishImported(GlassRecord& glass) {
    // The interpolation needs a sample thickness.
    if (!(glass.measured.thickness > 0)) glass.measured.thickness = kDefaultThickness;
    AbsorptionAtStandardWavelengths(glass.standardAbsorption, glass.measured.thickness,
                                    glass.measured.transWavelength.items, glass.measured.absorption.items);
    NormaliseGlassRecord(glass);
}

bool RefitToSchott(GlassDefinition& definition, float& rms, std::string& reason) {
    FirstMessage boxes;
    if (ConvertToSchott(definition, rms, boxes)) return true;
    reason = "the refit to a Schott formula failed";
    if (boxes.text().empty()) {
        reason += " (no wavelength range)";
    } else {
        const std::string& t = boxes.text();
        reason += " (" + t.substr(0, t.find_first_of("\r\n")) + ")";
    }
    return false;
}
