#include "model/GlassData.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>
#include <system_error>
#include <vector>

#include "model/IndexFit.h"
#include "platform/ListControl.h"
#include "model/NumberFormat.h"
#include "platform/Boxes.h"
#include "platform/NumberText.h"

// Every evaluator works in double precision on X = L², with L the single the
// caller gives. An index is valid only when it is finite and meets its
// formula's rule; the arithmetic raises nothing, so a pole, an overflow or a
// wavelength of 0 shows up as inf or NaN and is refused here.

namespace {

// n² to n under the rule n² > minimum (or ≥ when inclusive).
bool fromSquare(double n2, double& n) {
    if (std::isfinite(n2) && n2 > 0) {
        n = std::sqrt(n2);
        return true;
    }
    n = 0;
    return false;
}

// A Sellmeier term B·X/(X − C). A C slot that is not finite would make the
// term a silent 0; it counts as a fault.
inline double sellmeierTerm(double b, double c, double x, bool& finite) {
    finite = finite && std::isfinite(c);
    return b * x / (x - c);
}

// Nearest integer, an exact half going to the even neighbour.
double roundHalfEven(double v) {
    const double r = std::round(v);  // halves away from zero
    if (std::fabs(v - std::trunc(v)) == 0.5 && std::fmod(r, 2.0) != 0) return r - std::copysign(1.0, v);
    return r;
}

// The text of the 16-bit integer nearest to v, or "" when there is none.
std::string nearestInt16Text(float v) {
    if (!std::isfinite(v)) return "";
    const double r = roundHalfEven(v);
    if (r < -32768.0 || r > 32767.0) return "";
    return std::to_string(static_cast<int>(r));
}

// A number text read as a single; 0 when it is not a number or no single
// can hold it. Read straight to float, so no double rounding comes between.
float textToSingle(const std::string& text) {
    double check = 0;
    if (!ParseNumber(text, check)) return 0;
    std::string_view s = text;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    float v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    // Out of the single's range (either way) reads as 0 too.
    if (ec != std::errc() || ptr != s.data() + s.size()) return 0;
    return negative ? -v : v;
}

// The refit's samples and the finer grid it is checked on.
constexpr int kRefitSamples = 300;
constexpr int kRefitChecks = 1200;

// The wavelength a fraction t of the way from lower to upper nm on a log
// scale, logRatio the log of upper/lower.
float refitWavelength(double lower, double upper, double logRatio, double t) {
    if (t >= 1) return static_cast<float>(upper);
    return static_cast<float>(lower * std::exp(logRatio * t));
}

// The joined glass-code digits as a 32-bit integer; 0 when they are not one.
std::int32_t int32FromText(const std::string& text) {
    std::int32_t v = 0;
    if (text.empty()) return 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size()) return 0;
    return v;
}

}  // namespace

bool IndexSchott(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double x = static_cast<double>(L) * static_cast<double>(L);
    const double i1 = 1.0 / x;
    const double i2 = i1 * i1;
    const double i3 = i2 * i1;
    const double i4 = i3 * i1;
    const double n2 = c[0] + c[1] * x + c[2] * i1 + c[3] * i2 + c[4] * i3 + c[5] * i4;
    return fromSquare(n2, n);
}

bool IndexSellmeier(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double x = static_cast<double>(L) * static_cast<double>(L);
    bool finite = true;
    const double n2 = 1.0 + sellmeierTerm(c[0], c[3], x, finite) + sellmeierTerm(c[1], c[4], x, finite) +
                      sellmeierTerm(c[2], c[5], x, finite);
    if (!finite) {
        n = 0;
        return false;
    }
    return fromSquare(n2, n);
}

bool IndexSchottPlus(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double x = static_cast<double>(L) * static_cast<double>(L);
    const double i1 = 1.0 / x;
    const double i2 = i1 * i1;
    const double i3 = i2 * i1;
    const double i4 = i3 * i1;
    const double i5 = i4 * i1;
    const double x2 = x * x;
    const double x3 = x2 * x;
    const double x4 = x3 * x;
    const double n2 = c[0] * i5 + c[1] * i4 + c[2] * i3 + c[3] * i2 + c[4] * i1 + c[5] + c[6] * x + c[7] * x2 +
                      c[8] * x3 + c[9] * x4;
    return fromSquare(n2, n);
}

bool IndexCauchy(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double x = static_cast<double>(L) * static_cast<double>(L);
    const double i1 = 1.0 / x;
    const double n2 = c[0] + c[1] * i1 + c[2] * (i1 * i1);
    // An index below 1 is no Cauchy index, although its square is positive.
    if (std::isfinite(n2) && n2 >= 1.0) {
        n = std::sqrt(n2);
        return true;
    }
    n = 0;
    return false;
}

bool IndexSellmeierPlus(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double x = static_cast<double>(L) * static_cast<double>(L);
    bool finite = true;
    double n2 = 1.0;
    for (int i = 0; i < 5; ++i) n2 += sellmeierTerm(c[i], c[i + 5], x, finite);
    if (!finite) {
        n = 0;
        return false;
    }
    return fromSquare(n2, n);
}

bool IndexConrady(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double l = L;
    const double v = c[0] + c[1] / l + c[2] / std::pow(l, 3.5);
    if (std::isfinite(v) && v >= 1.0) {
        n = v;
        return true;
    }
    n = 0;
    return false;
}

bool IndexHerzberger(const GlassDefinition& definition, float L, double& n) {
    const auto& c = definition.coefficients;
    const double x = static_cast<double>(L) * static_cast<double>(L);
    const double d = 1.0 / (x - 0.028);
    const double v = c[0] + c[1] * d + c[2] * (d * d) + c[3] * x + c[4] * (x * x) + c[5] * (x * x * x);
    if (std::isfinite(v) && v > 0) {
        n = v;
        return true;
    }
    n = 0;
    return false;
}

double EvaluateIndex(const GlassDefinition& definition, float wavelengthNm, std::int16_t formulaType, bool& ok) {
    // The product with 0.001 itself, rounded once to a single: a single 0.001f
    // is off by 5e-8 and would move L by an ulp for most wavelengths.
    const float L = static_cast<float>(static_cast<double>(wavelengthNm) * 0.001);
    double n = 0;
    switch (formulaType) {
    case kSchott: ok = IndexSchott(definition, L, n); break;
    case kSellmeier: ok = IndexSellmeier(definition, L, n); break;
    case kSchottPlus: ok = IndexSchottPlus(definition, L, n); break;
    case kCauchy: ok = IndexCauchy(definition, L, n); break;
    case kSellmeierPlus: ok = IndexSellmeierPlus(definition, L, n); break;
    case kConrady: ok = IndexConrady(definition, L, n); break;
    case kHerzberger: ok = IndexHerzberger(definition, L, n); break;
    default: ok = false; return 0;
    }
    return ok ? n : 0;
}

void IndexAtRangeEnds(const GlassRecord& glass, float& nMin, float& nMax) {
    const GlassDefinition& def = glass.definition;
    nMin = 0;
    nMax = 0;
    bool ok = false;
    if (def.lowerWavelength > 0) {
        const double n = EvaluateIndex(def, static_cast<float>(def.lowerWavelength), def.formulaType, ok);
        if (ok) nMin = static_cast<float>(n);
    }
    if (def.upperWavelength > 0) {
        const double n = EvaluateIndex(def, static_cast<float>(def.upperWavelength), def.formulaType, ok);
        if (ok) nMax = static_cast<float>(n);
    }
}

void ComputeGlassCode(GlassRecord& glass) {
    GlassDefinition& def = glass.definition;
    bool ok = false;
    const float nd = static_cast<float>(EvaluateIndex(def, kLineD, def.formulaType, ok));
    const float nC = static_cast<float>(EvaluateIndex(def, kLineC, def.formulaType, ok));
    const float nF = static_cast<float>(EvaluateIndex(def, kLineF, def.formulaType, ok));
    float vd = 0;
    if (nF != nC) vd = (nd - 1.0f) / (nF - nC);
    def.glassCode = MakeGlassCode(GeneralText(nd), GeneralText(vd));
}

std::int32_t MakeGlassCode(const std::string& ndText, const std::string& vdText) {
    const float nd = textToSingle(ndText);
    if (nd == 0) return 0;
    const float a = (nd - 1.0f) * 1000.0f;
    const std::string ndPart = nearestInt16Text(a);

    const float vd = textToSingle(vdText);
    const float b = vd * 10.0f;
    std::string vdPart = nearestInt16Text(b);
    if (vdPart.size() < 3) vdPart.insert(0, 3 - vdPart.size(), '0');

    return int32FromText(ndPart + vdPart);
}

bool ConvertToSchott(GlassDefinition& definition, float& rms, IBoxes& boxes) {
    if (definition.formulaType == kHerzberger && definition.lowerWavelength < 650) definition.lowerWavelength = 650;
    const double lower = definition.lowerWavelength;
    const double upper = definition.upperWavelength;
    if (!(upper > lower) || !(lower > 0)) return false;

    // The samples crowd towards both ends of the range, on a log scale, so
    // most lie at the short wavelengths where the index changes fastest: a
    // least-squares fit through them comes near the one of least largest error.
    const double logRatio = std::log(upper / lower);
    std::vector<double> L, nSquared;
    L.reserve(kRefitSamples);
    nSquared.reserve(kRefitSamples);
    for (int i = 0; i < kRefitSamples; ++i) {
        const double t = 0.5 - 0.5 * std::cos(std::numbers::pi * i / (kRefitSamples - 1));
        const float w = refitWavelength(lower, upper, logRatio, t);
        bool ok = false;
        const double n = EvaluateIndex(definition, w, definition.formulaType, ok);
        if (!ok) continue;
        L.push_back(static_cast<float>(static_cast<double>(w) * 0.001));
        nSquared.push_back(n * n);
    }
    std::array<double, 6> c{};
    if (!FitSchottSamples(L, nSquared, c, boxes)) return false;
    GlassDefinition fitted = definition;
    StoreCoefficients(fitted, c);
    fitted.formulaType = kSchott;

    // Checked on a finer grid, even on the log scale: the formula must be an
    // index all over the range, and its error there is the one reported.
    double sum = 0;
    int compared = 0;
    for (int i = 0; i <= kRefitChecks; ++i) {
        const float w = refitWavelength(lower, upper, logRatio, static_cast<double>(i) / kRefitChecks);
        bool ok = false;
        const double n = EvaluateIndex(fitted, w, kSchott, ok);
        if (!ok || n < 1) {
            const std::string why = ok ? "n below 1" : "n squared 0 or less";
            boxes.show(kBoxPlain, "Schott formula invalid at " + std::to_string(std::lround(w)) + " nm: " + why);
            return false;
        }
        const double old = EvaluateIndex(definition, w, definition.formulaType, ok);
        if (!ok) continue;
        sum += (n - old) * (n - old);
        ++compared;
    }
    // A formula so far from its source that no single holds the error is no fit.
    const float error = compared > 0 ? static_cast<float>(std::sqrt(sum / compared)) : 0.0f;
    if (!std::isfinite(error)) {
        boxes.show(kBoxPlain, SchottFitFailure());
        return false;
    }
    definition = fitted;
    rms = error;
    return true;
}

std::string FormulaName(std::int16_t formulaType) {
    switch (formulaType) {
    case kSchott: return "Schott";
    case kSellmeier: return "Sellmeier";
    case kSchottPlus: return "Schott Plus";
    case kCauchy: return "Cauchy";
    case kSellmeierPlus: return "Sellmeier Plus";
    default: return "";
    }
}

std::int16_t FormulaCoefCount(std::int16_t formulaType) {
    switch (formulaType) {
    case kSchott: return 6;
    case kSellmeier: return 6;
    case kSchottPlus: return 12;
    case kCauchy: return 3;
    case kSellmeierPlus: return 12;
    default: return 0;
    }
}

void FillFormulaCombo(IListControl& combo) {
    combo.clear();
    for (std::int16_t code : {kSchott, kSellmeier, kCauchy, kSchottPlus}) {
        const int i = combo.addItem(FormulaName(code));
        combo.setItemData(i, code);
    }
}

void SelectComboByItemData(std::int16_t value, IListControl& combo) {
    const int n = combo.count();
    for (int i = 0; i < n; ++i) {
        if (combo.itemData(i) == value) {
            combo.select(i);
            return;
        }
    }
}

void FillMakerList(IListControl& list) {
    list.clear();
    for (const char* maker : {"Corning", "Hikari", "Hoya", "Ohara", "Pilkington", "Schott", "Sumita", "CDGM"})
        list.addItem(maker);
}
