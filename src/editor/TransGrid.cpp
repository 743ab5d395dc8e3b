#include "editor/TransGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "editor/GlassEditing.h"
#include "model/GlassData.h"
#include "model/NumberFormat.h"
#include "platform/NumberText.h"

namespace {

const char* const kFromTotal = "\r\nto get the absorption coeff\r\nfrom the total Transmission";

struct TransPoint {
    float wave, alpha, total, internal;
};

}  // namespace

std::string FactorProblemMessage(FactorProblem problem) {
    switch (problem) {
    case FactorProblem::NoWavelength: return std::string("You need to specify a wavelength") + kFromTotal;
    case FactorProblem::IndexNotReady: return std::string("The Index Data must be READY") + kFromTotal;
    case FactorProblem::OutsideWaveband: return "Wavelength outside waveband covered by refractive index polynomial";
    case FactorProblem::NoIndex:
        return std::string("The refractive index polynomial gives no index at this wavelength") + kFromTotal;
    case FactorProblem::None: break;
    }
    return {};
}

FactorProblem ReflectionFactor(const GlassRecord& glass, float wavelength, double& factor) {
    if (!(wavelength > 0)) return FactorProblem::NoWavelength;
    if (!GetReady(glass, kIndex)) return FactorProblem::IndexNotReady;
    if (wavelength < glass.definition.lowerWavelength || wavelength > glass.definition.upperWavelength)
        return FactorProblem::OutsideWaveband;
    bool ok = false;
    const double n = EvaluateIndex(glass.definition, wavelength, glass.definition.formulaType, ok);
    // A failed evaluation gives n = 0, and a factor of 0 would divide by zero.
    if (!ok || !(n > 0) || !std::isfinite(n)) return FactorProblem::NoIndex;
    factor = 2 * n / (n * n + 1);
    return FactorProblem::None;
}

bool AbsorptionFromInternal(double internal, double thickness, float& alpha) {
    if (!(internal > 0) || internal > 100 || !(thickness > 0)) return false;
    alpha = static_cast<float>(-std::log(internal * 0.01) / thickness);
    if (alpha == 0) alpha = 0;  // no "-0" for 100 %
    return true;
}

float InternalFromAbsorption(double alpha, double thickness) {
    return static_cast<float>(100 * std::exp(-alpha * thickness));
}

std::string ReflectionLossMessage(double factor) {
    return "Reflection Loss at this wavelength  " + Format(1 - factor, "0.0%") +
           "\r\nTherefore total transmittance must be less than  " + Format(factor, "0.0%");
}

std::string FormatTransmittance(float percent, int displayUnit) {
    if (displayUnit == 1) return Format(static_cast<double>(percent) / 100, "0.0000;\\----");
    return Format(percent, "0.00;\\----");
}

std::string FormatAbsorption(float alpha) { return Format(alpha, "0.00000;\\----"); }

bool TransPointEmpty(const MeasuredData& m, int i) {
    const auto k = static_cast<std::size_t>(i);
    return m.transWavelength[k] == 0 && m.absorption[k] == 0 && m.totalTrans[k] == 0 && m.internalTrans[k] == 0;
}

std::string TransRowText(const MeasuredData& m, int i, int displayUnit) {
    if (TransPointEmpty(m, i)) return "\t\t\t";
    const auto k = static_cast<std::size_t>(i);
    const float wave = m.transWavelength[k];
    return (wave > 0 ? ShortestText(wave) : std::string()) + "\t" + FormatTransmittance(m.totalTrans[k], displayUnit) +
           "\t" + FormatTransmittance(m.internalTrans[k], displayUnit) + "\t" + FormatAbsorption(m.absorption[k]);
}

int CompactTransPoints(GlassRecord& glass) {
    MeasuredData& m = glass.measured;
    std::vector<TransPoint> kept;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(kMaxTransPoints); ++i) {
        if (m.transWavelength[i] > 0 && m.absorption[i] >= 0)
            kept.push_back({m.transWavelength[i], m.absorption[i], m.totalTrans[i], m.internalTrans[i]});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const TransPoint& a, const TransPoint& b) { return a.wave > b.wave; });
    // Entries after the count are emptied: left as they were, a deleted point
    // would come back with the next count of 150.
    for (auto* a : {&m.transWavelength, &m.absorption, &m.totalTrans, &m.internalTrans}) a->fill(0);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        m.transWavelength[i + 1] = kept[i].wave;
        m.absorption[i + 1] = kept[i].alpha;
        m.totalTrans[i + 1] = kept[i].total;
        m.internalTrans[i + 1] = kept[i].internal;
    }
    m.transCount = static_cast<std::int16_t>(kept.size());
    GlassDefinition& def = glass.definition;
    def.transWavelength.fill(0);
    def.transAbsorption.fill(static_cast<float>(kEmptyAbsorption));
    for (std::size_t i = 0; i < kept.size() && i < static_cast<std::size_t>(kStandardTransCount); ++i) {
        def.transWavelength[i] = kept[i].wave;
        def.transAbsorption[i] = kept[i].alpha;
    }
    return static_cast<int>(kept.size());
}

void RecalculateTransPoints(GlassRecord& glass) {
    MeasuredData& m = glass.measured;
    const double t = m.thickness;
    for (int i = 1; i <= kMaxTransPoints; ++i) {
        if (TransPointEmpty(m, i)) continue;
        const auto k = static_cast<std::size_t>(i);
        double f = 0;
        const bool factor = ReflectionFactor(glass, m.transWavelength[k], f) == FactorProblem::None;
        switch (m.transDataType) {
        case kTotalTransmission: {
            const float total = m.totalTrans[k];
            if (!factor || !(total > 0) || total > 100) break;
            const double internal = total / f;
            if (internal >= 100) {
                m.totalTrans[k] = static_cast<float>(100 * f);
                m.internalTrans[k] = 100;
                m.absorption[k] = 0;
            } else if (AbsorptionFromInternal(internal, t, m.absorption[k])) {
                m.internalTrans[k] = static_cast<float>(internal);
            }
            break;
        }
        case kInternalTransmission: {
            const float internal = m.internalTrans[k];
            if (!AbsorptionFromInternal(internal, t, m.absorption[k])) break;
            m.totalTrans[k] = factor ? static_cast<float>(internal * f) : kNoTotal;
            break;
        }
        case kAbsorptionCoefficient: {
            const float alpha = m.absorption[k];
            if (alpha < 0) break;
            const float internal = InternalFromAbsorption(alpha, t);
            m.internalTrans[k] = internal;
            m.totalTrans[k] = factor ? static_cast<float>(internal * f) : kNoTotal;
            break;
        }
        default: return;
        }
    }
}

void MarkNoTransData(GlassRecord& glass) {
    const auto empty = static_cast<float>(kEmptyAbsorption);
    glass.standardAbsorption.fill(empty);
    glass.definition.transWavelength.fill(0);
    glass.definition.transAbsorption.fill(empty);
}
