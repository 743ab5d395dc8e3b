#include "melt/MeltFit.h"

#include <algorithm>
#include <cmath>

#include "model/GlassData.h"
#include "model/IndexFit.h"
#include "model/LeastSquares.h"
#include "model/NumberFormat.h"
#include "model/Verification.h"
#include "platform/Boxes.h"

namespace {

const char* const kCrLf = "\r\n";

int pairCount(const GlassRecord& glass) { return std::clamp<int>(glass.melt.pairCount, 0, kMaxMeltPairs); }

double indexAt(const GlassDefinition& definition, float wavelength, std::int16_t formulaType, bool& ok) {
    return EvaluateIndex(definition, wavelength, formulaType, ok);
}

std::string parentUnusableText(float wavelength) {
    return "The parent glass gives no index at " + Format(wavelength, "0.0###") +
           " nm, so the melt cannot be fitted.\r\n\r\n"
           "Check that the parent glass is in the Vitrarch database and has a dispersion formula.";
}

std::string noWavebandText(std::int16_t lower, std::int16_t upper) {
    return "The wavelength range of the parent glass (" + std::to_string(lower) + " nm to " + std::to_string(upper) +
           " nm) is not valid, so no index points can be made for the melt.";
}

using Evaluator = bool (*)(const GlassDefinition&, float, double&);

// The formula evaluators "Show index" compares with; null for a type without one.
Evaluator evaluatorFor(std::int16_t formulaType) {
    switch (formulaType) {
        case kSchott: return IndexSchott;
        case kSellmeier: return IndexSellmeier;
        case kSchottPlus: return IndexSchottPlus;
        case kCauchy: return IndexCauchy;
        case kSellmeierPlus: return IndexSellmeierPlus;
        default: return nullptr;
    }
}

using Report = std::string (*)(const GlassDefinition&, const std::string&);

Report reportFor(std::int16_t formulaType) {
    switch (formulaType) {
        case kSchott: return SchottReport;
        case kSellmeier: return SellmeierReport;
        case kSchottPlus: return ExtendedSchottReport;
        case kCauchy: return CauchyReport;
        default: return nullptr;
    }
}

}  // namespace

bool CheckPairCount(const GlassRecord& working, IBoxes& boxes) {
    if (pairCount(working) >= kMinMeltPairs) return true;
    boxes.show(kBoxExclamation, "You need at least " + std::to_string(kMinMeltPairs) +
                                    " full melt index/wavelength pairs to create a melt glass");
    return false;
}

bool ComputeMeltDifferences(const GlassRecord& working, const GlassRecord& parent, std::vector<float>& x,
                            std::vector<double>& y, IBoxes& boxes) {
    const int n = pairCount(working);
    std::vector<float> xs(static_cast<std::size_t>(n));
    std::vector<double> ys(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        const float wavelength = working.melt.pairWavelength[pi];
        bool ok = false;
        const double np = indexAt(parent.definition, wavelength, parent.definition.formulaType, ok);
        if (!ok) {
            boxes.show(kBoxExclamation, parentUnusableText(wavelength));
            return false;
        }
        const auto k = static_cast<std::size_t>(n - i);  // ascending wavelength
        xs[k] = wavelength;
        ys[k] = working.melt.pairIndex[pi] - np;
    }
    x = std::move(xs);
    y = std::move(ys);
    return true;
}

std::vector<double> MeltSampleWavelengths(std::int16_t lower, std::int16_t upper) {
    std::vector<double> out;
    if (!(lower > 0 && lower < upper)) return out;
    const double step = (static_cast<double>(upper) - lower) / 20.0;
    float value = upper;
    while (!(value < static_cast<float>(lower)) && static_cast<int>(out.size()) < kMaxMeltSamples) {
        out.push_back(value);
        value = static_cast<float>(static_cast<double>(value) - step);
    }
    return out;
}

bool MakeMeltIndexPoints(GlassRecord& working, const GlassRecord& parent, std::span<const float> x,
                         std::span<const double> y, IBoxes& boxes) {
    const std::int16_t lower = working.definition.lowerWavelength;
    const std::int16_t upper = working.definition.upperWavelength;
    // Refused before sampling: with an empty range the sampling never ends.
    if (!(lower > 0 && lower < upper)) {
        boxes.show(kBoxExclamation, noWavebandText(lower, upper));
        return false;
    }
    const std::vector<double> xe = MeltSampleWavelengths(lower, upper);
    const std::size_t n = std::min({x.size(), y.size(), static_cast<std::size_t>(kMaxMeltPairs)});
    std::vector<double> X(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
    std::vector<double> Y(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));
    const std::vector<float> W(n, 1.0f);
    std::vector<double> ye;
    // A failed quadratic has told the user and left ye all 0: the melt then
    // takes the parent's indices.
    QuadFitEvaluate(static_cast<std::int16_t>(n), X, Y, W, static_cast<std::int16_t>(xe.size()), xe, ye, boxes);

    MeasuredData& m = working.measured;
    m.indexWavelength.fill(0);
    m.indexWavelengthUm.fill(0);
    m.weight.fill(0);
    m.index.fill(0);
    m.indexSquared.fill(0);
    std::size_t j = 0;
    for (std::size_t i = 0; i < xe.size(); ++i) {
        const auto lambda = static_cast<float>(xe[i]);
        bool ok = false;
        const double np = indexAt(parent.definition, lambda, parent.definition.formulaType, ok);
        if (!ok) continue;  // no point where the parent gives no index
        ++j;
        m.indexWavelength[j] = lambda;
        m.indexWavelengthUm[j] = static_cast<double>(lambda) * 0.001;
        m.index[j] = np + ye[i];
        m.indexSquared[j] = m.index[j] * m.index[j];
        m.weight[j] = 1.0f;
    }
    working.indexPointCount = static_cast<std::int16_t>(j);

    // The total transmittance from the internal one with the formula as it
    // stands before the refit.
    const int transCount = std::clamp<int>(m.transCount, 0, kMaxTransPoints);
    for (int t = 1; t <= transCount; ++t) {
        const auto pt = static_cast<std::size_t>(t);
        bool ok = false;
        const double nt = indexAt(working.definition, m.transWavelength[pt], working.definition.formulaType, ok);
        if (!ok) continue;
        m.totalTrans[pt] = static_cast<float>(m.internalTrans[pt] * 2.0 * nt / (nt * nt + 1.0));
    }
    return true;
}

bool RefitMeltFormula(GlassRecord& working, const GlassRecord& parent, std::string& report, IBoxes& boxes) {
    GlassDefinition& definition = working.definition;
    MeasuredData& data = working.measured;
    const std::int16_t count = working.indexPointCount;
    bool fitted = false;
    switch (definition.formulaType) {
        case kSchott:
            fitted = FitSchott(working.reserved, count, report, definition, data, boxes);
            break;
        case kSchottPlus:
            fitted = FitExtendedSchott(working.reserved, count, report, definition, data, boxes);
            break;
        case kCauchy:
            fitted = FitCauchy(working.reserved, count, report, definition, data, boxes);
            break;
        case kSellmeier:
        case kSellmeierPlus: {
            const GlassDefinition start = parent.definition;
            const std::int16_t terms = definition.formulaType == kSellmeier ? 3 : 5;
            fitted = FitSellmeier(count, terms, report, definition, data, start, true, true, boxes);
            break;
        }
        default:
            break;
    }
    SectionStatus& index = working.sections[kIndex];
    if (fitted) {
        index.editCount = static_cast<std::int16_t>(index.editCount + 1);
        index.ready = kTrue;
    } else {
        index.ready = kFalse;
    }
    return fitted;
}

FitDifferences ShowFitDifferences(const GlassRecord& working, const GlassRecord& parent) {
    FitDifferences out;
    const std::int16_t type = parent.definition.formulaType;
    double errorSum = 0;
    int errorCount = 0;
    for (int i = 1; i <= pairCount(working); ++i) {
        const auto pi = static_cast<std::size_t>(i);
        const float wavelength = working.melt.pairWavelength[pi];
        bool parentOk = false, fitOk = false;
        const double np = indexAt(parent.definition, wavelength, type, parentOk);
        const double nf = indexAt(working.definition, wavelength, type, fitOk);
        std::string cell;
        if (parentOk && fitOk) cell = Format(nf - np, "0.000000");
        if (fitOk) {
            // The mean size of the fit's error against the user's indices,
            // which is what the line's label promises.
            errorSum += std::fabs(working.melt.pairIndex[pi] - nf);
            ++errorCount;
        }
        out.columnText += cell + kCrLf;
        out.cells.push_back(std::move(cell));
    }
    if (errorCount > 0) out.averageLine = kAverageErrorPrefix + Format(errorSum / errorCount, "0.000000");
    return out;
}

MeltFitResult FitMeltGlass(GlassRecord& working, const GlassRecord& parent, std::string& report, IBoxes& boxes) {
    MeltFitResult result;
    if (!CheckPairCount(working, boxes)) {
        result.outcome = MeltFitOutcome::kTooFewPairs;
        return result;
    }
    std::vector<float> x;
    std::vector<double> y;
    if (!ComputeMeltDifferences(working, parent, x, y, boxes)) {
        result.outcome = MeltFitOutcome::kParentUnusable;
        return result;
    }
    if (!MakeMeltIndexPoints(working, parent, x, y, boxes)) {
        result.outcome = MeltFitOutcome::kNoWaveband;
        return result;
    }
    RefitMeltFormula(working, parent, report, boxes);
    const bool ready = working.sections[kIndex].ready != kFalse;
    if (ready) NormaliseGlassRecord(working);
    result.outcome = ready ? MeltFitOutcome::kFitted : MeltFitOutcome::kFitFailed;
    result.differences = ShowFitDifferences(working, parent);
    return result;
}

std::string IndexComparisonText(const GlassRecord& working, const GlassRecord& parent) {
    const std::int16_t lower = parent.definition.lowerWavelength;
    const std::int16_t upper = parent.definition.upperWavelength;
    const float step = static_cast<float>((static_cast<double>(upper) - lower) / 20.0);
    if (!(step > 0)) return kNoWavebandText;

    std::string text = std::string("Index comparison over waveband [parent & melt glasses]") + kCrLf + kCrLf +
                       "Wave\t\tParent\tMelt\t\tDifference" + kCrLf;
    const Evaluator evaluate = evaluatorFor(parent.definition.formulaType);
    int lines = 0;
    for (float lambda = lower; lambda <= static_cast<float>(upper) && lines < kMaxMeltSamples;
         lambda = lambda + step, ++lines) {
        text += Format(lambda, "0.0") + "\t";
        const auto L = static_cast<float>(static_cast<double>(lambda) * 0.001);
        double nP = 0, nM = 0;
        const bool parentOk = evaluate && evaluate(parent.definition, L, nP);
        const bool meltOk = evaluate && evaluate(working.definition, L, nM);
        if (!meltOk) {
            text += std::string("           ") + "index < 1 !!" + kCrLf;
            continue;
        }
        // Where the parent gives no index its cell and the difference stay blank.
        const std::string parentText = parentOk ? Format(nP, "0.000000  ") : "          ";
        const std::string difference = parentOk ? Format(nM - nP, "0.000000") : "";
        text += "   \t" + parentText + "\t" + Format(nM, "0.000000") + "\t\t" + difference + kCrLf;
    }
    return text;
}

void ShowIndexComparison(const GlassRecord& working, const GlassRecord& parent, IBoxes& boxes) {
    boxes.show(kBoxPlain, IndexComparisonText(working, parent), kMeltMakerTitle);
}

std::string DispersionConstantsText(const GlassRecord& working, const GlassRecord& parent) {
    std::string text;
    if (const Report report = reportFor(working.definition.formulaType))
        text = report(working.definition, "Melt glass: ") + kCrLf + kCrLf + report(parent.definition, "Parent glass: ");
    text += std::string(kCrLf) + kCrLf + "WaveLen Min:   " + std::to_string(working.definition.lowerWavelength) + "nm" +
            kCrLf + "WaveLen Max:   " + std::to_string(working.definition.upperWavelength) + "nm";
    return text;
}

void ShowDispersionConstants(const GlassRecord& working, const GlassRecord& parent, IBoxes& boxes) {
    boxes.show(kBoxPlain, DispersionConstantsText(working, parent));
}
