#include "model/IndexFit.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "model/MatrixCalcs.h"
#include "model/NonLinearOptimise.h"
#include "model/NumberFormat.h"
#include "platform/Boxes.h"

namespace {

const char* const kCrLf = "\r\n";
const char* const kExpPattern = "+0.00000000e+00;-0.00000000e+00";
const char* const kInsufficient = "Insufficient Data Points\r\nAdd More Data";
const char* const kCheckData = "\r\nCheck data or try another polynomial form";

std::string f(const GlassDefinition& def, int slot) {
    return Format(def.coefficients[static_cast<std::size_t>(slot)], kExpPattern);
}
std::string t(const GlassDefinition& def, int slot) {
    return GeneralText(def.coefficients[static_cast<std::size_t>(slot)]);
}

// "A0:   " .. "C5:   "; appended piece by piece (GCC 12 warns falsely on
// "A" + std::to_string(i)).
std::string label(char letter, int i) {
    std::string s(1, letter);
    s += static_cast<char>('0' + i);
    s += ":   ";
    return s;
}

// x^e for e = -10..8, by products so that no pow() call is paid per point.
struct Powers {
    std::array<double, 19> p;
    explicit Powers(double x) {
        p[10] = 1;
        const double inv = 1.0 / x;
        for (int k = 1; k <= 8; ++k) p[static_cast<std::size_t>(10 + k)] = p[static_cast<std::size_t>(9 + k)] * x;
        for (int k = 1; k <= 10; ++k) p[static_cast<std::size_t>(10 - k)] = p[static_cast<std::size_t>(11 - k)] * inv;
    }
    double operator[](int e) const { return p[static_cast<std::size_t>(10 + e)]; }
};

// One linear fit: its basis as exponents of x = L², and how it reports.
struct LinearForm {
    int m;
    std::array<int, 10> exponents;
    const char* failure;
    std::string (*report)(const GlassDefinition&, const std::string&);
};

const LinearForm kCauchyForm{3, {0, -1, -2}, "Failed to fit Cauchy Polynomial", CauchyReport};
const LinearForm kSchottForm{6, {0, 1, -1, -2, -3, -4}, "Failed to fit Schott Polynomial", SchottReport};
const LinearForm kExtendedSchottForm{
    10, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4}, "Failed to fit Extended Schott Polynomial", ExtendedSchottReport};

// The weighted least-squares coefficients of the form for points (L in µm,
// n², weight), by orthogonal factors in the variable L²/x0 (x0 the geometric
// middle of the points' L²): well conditioned from a range of a few nm to one
// of tens of µm, where the normal equations lose what the points hold. Points
// of weight 0 are left out. False when the points determine no solution
// (fewer distinct weighted wavelengths than terms among them), or when a
// weight is negative or not a number.
bool solveLinearForm(const LinearForm& form, std::span<const double> L, std::span<const double> nSquared,
                     std::span<const float> weight, std::span<double> c) {
    const auto m = static_cast<std::size_t>(form.m);
    const auto& exponents = form.exponents;
    std::vector<std::size_t> rows;
    double xMin = 0, xMax = 0;
    for (std::size_t i = 0; i < L.size(); ++i) {
        if (!std::isfinite(weight[i]) || weight[i] < 0) return false;
        if (weight[i] == 0) continue;
        const double x = L[i] * L[i];
        xMin = rows.empty() ? x : std::min(xMin, x);
        xMax = rows.empty() ? x : std::max(xMax, x);
        rows.push_back(i);
    }
    if (rows.size() < m) return false;
    // In s = x/x0 the basis stays near 1 at the middle of the range whatever
    // its width; the solution d(k) of s^e(k) is c(k)·x0^e(k).
    const double x0 = std::sqrt(xMin * xMax);
    if (!(x0 > 0) || !std::isfinite(x0)) return false;
    std::vector<double> a(rows.size() * m), y(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t i = rows[r];
        const double root = std::sqrt(static_cast<double>(weight[i]));
        const Powers s(L[i] * L[i] / x0);
        for (std::size_t k = 0; k < m; ++k) a[r * m + k] = root * s[exponents[k]];
        y[r] = root * nSquared[i];
    }
    std::array<double, 10> d{};
    if (!SolveLeastSquares(a, static_cast<int>(rows.size()), static_cast<int>(m), y, d)) return false;
    const Powers scale(x0);
    for (std::size_t k = 0; k < m; ++k) {
        c[k] = d[k] / scale[exponents[k]];
        if (!std::isfinite(c[k])) return false;
    }
    return true;
}

bool linearFit(const LinearForm& form, std::int16_t& nTerms, std::int16_t count, std::string& report,
               GlassDefinition& definition, MeasuredData& data, IBoxes& boxes) {
    const int m = form.m;
    nTerms = static_cast<std::int16_t>(m);
    if (count < m) {
        boxes.show(kBoxPlain, kInsufficient);
        return false;
    }
    auto fail = [&]() {
        boxes.show(kBoxPlain, std::string(form.failure) + kCheckData);
        return false;
    };
    if (count > kMaxIndexPoints) return fail();

    const auto n = static_cast<std::size_t>(count);
    std::array<double, kMaxIndexPoints> L{}, n2{};
    std::array<float, kMaxIndexPoints> w{};
    for (std::size_t i = 0; i < n; ++i) {
        L[i] = data.indexWavelengthUm[i + 1];
        n2[i] = data.indexSquared[i + 1];
        w[i] = data.weight[i + 1];
    }
    std::array<double, 10> c{};
    if (!solveLinearForm(form, std::span<const double>(L.data(), n), std::span<const double>(n2.data(), n),
                         std::span<const float>(w.data(), n), c))
        return fail();

    // The results go to a copy first: a fault at any point leaves data untouched.
    MeasuredData result = data;
    double sumOfSquares = 0;
    for (int i = 1; i <= count; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        const double Lum = data.indexWavelengthUm[pi];
        const Powers x(Lum * Lum);
        double v = 0;
        for (int k = 0; k < m; ++k) v += c[static_cast<std::size_t>(k)] * x[form.exponents[static_cast<std::size_t>(k)]];
        if (!std::isfinite(v) || v < 0) return fail();
        result.fittedIndex[pi] = std::sqrt(v);
        if (data.weight[pi] != 0) {
            result.residual[pi] = data.index[pi] - result.fittedIndex[pi];
            sumOfSquares += result.residual[pi] * result.residual[pi];
        }
    }
    if (!std::isfinite(sumOfSquares)) return fail();
    result.sumOfSquares = sumOfSquares;

    data = result;
    StoreCoefficients(definition, std::span<const double>(c.data(), static_cast<std::size_t>(m)));
    report = form.report(definition, "");
    return true;
}

// --- The Sellmeier fit ---

// The start poles when none are given (µm²): poles near 56 nm, 114 nm and
// 12 µm.
constexpr std::array<double, 3> kStartPoles{0.00314818243, 0.0129910178, 143.604779};
// Where a formula from the default start is no glass's (a B or a C below 0:
// barely determined points let the poles wander to wherever they
// reproduce the points), the fit tries again from the poles of a typical
// flint and a typical crown, and keeps what these reach when it is a
// glass's and as good.
constexpr std::array<std::array<double, 3>, 2> kTypicalPoles{{{0.012, 0.05, 150}, {0.006, 0.02, 100}}};
// The steps such a second try may take; it never asks.
constexpr int kSecondTrySteps = 20;
// The five-term iterations never ask either: every formula they reach is
// sound and no worse than where they started, and once the two extra terms
// only trade strength along the points the fit would crawl for hundreds of
// steps for nothing a designer could use. They end after this many steps with
// the best formula reached.
constexpr int kFiveTermSteps = 30;

// An accepted step that lowers the sum of squares by less than this part of
// it ends the iteration. Five terms stop sooner: their two extra terms are
// barely determined by most data.
constexpr double kRelativeStop = 1e-6;
constexpr double kRelativeStop5 = 1e-5;
// A damping this large with the step still refused: no step lowers the sum
// any more.
constexpr double kStuckDamping = 1e12;
// Indices given with more decimals than this are exact: no residual bound.
constexpr int kMostDecimals = 9;

// The points of one Sellmeier fit.
struct FitPoints {
    std::array<double, kMaxIndexPoints> x{}, y{}, n{};
    std::size_t count = 0;
    SellmeierPoints view;
    double bound = 0;  // half a unit of the indices' last decimal; 0 for exact data
    double floor = 0;  // what rounding leaves of the sum of squares of exact data
};

// The decimals of a number's shortest text, of the single it is when it is
// one (the editor keeps what is typed in single precision); -1 when there is
// no such text.
int decimalsOf(double v) {
    std::array<char, 400> text{};
    const auto full = std::to_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (full.ec != std::errc()) return -1;
    std::ptrdiff_t length = full.ptr - text.data();
    std::array<char, 400> single{};
    if (static_cast<double>(static_cast<float>(v)) == v) {
        const auto shorter = std::to_chars(single.data(), single.data() + single.size(), static_cast<float>(v),
                                           std::chars_format::fixed);
        if (shorter.ec == std::errc() && shorter.ptr - single.data() < length) {
            length = shorter.ptr - single.data();
            std::copy_n(single.data(), length, text.data());
        }
    }
    const std::string_view t(text.data(), static_cast<std::size_t>(length));
    const auto dot = t.find('.');
    return dot == std::string_view::npos ? 0 : static_cast<int>(t.size() - dot - 1);
}

// Half a unit of the last decimal the indices are given in (the most among
// them); 0 when they are given exactly.
double residualBound(std::span<const double> n) {
    int most = 0;
    for (double v : n) {
        const int d = decimalsOf(v);
        if (d < 0 || d > kMostDecimals) return 0;
        most = std::max(most, d);
    }
    return 0.5 * std::pow(10.0, -most);
}

// The range, µm², that the formula must hold over: the points' and the
// definition's wavelength limits where it has them.
void rangeOf(const FitPoints& p, const GlassDefinition& definition, double& low, double& high) {
    low = *std::min_element(p.x.begin(), p.x.begin() + static_cast<std::ptrdiff_t>(p.count));
    high = *std::max_element(p.x.begin(), p.x.begin() + static_cast<std::ptrdiff_t>(p.count));
    auto xOfLimit = [](std::int16_t nm) {
        const double L = static_cast<float>(nm * 0.001);
        return L * L;
    };
    if (definition.lowerWavelength > 0) low = std::min(low, xOfLimit(definition.lowerWavelength));
    if (definition.upperWavelength > 0) high = std::max(high, xOfLimit(definition.upperWavelength));
}

// A formula of the fit: m terms, B's then C's in their slots.
struct Formula {
    int m = 0;
    std::array<double, 10> a{};
    double chisq = 0;
    double largest = 0;  // residual in n
    bool done = false;   // the points reproduced to their precision
};

double largestResidual(const FitPoints& p, std::span<const double> model) {
    double largest = 0;
    for (std::size_t i = 0; i < p.count; ++i) largest = std::max(largest, std::fabs(p.n[i] - std::sqrt(1 + model[i])));
    return largest;
}

bool reproduced(const FitPoints& p, double largest, double chisq) {
    return chisq <= p.floor || (p.bound > 0 && largest <= p.bound);
}

// A glass's formula: no B and no pole below 0.
bool glassLike(const Formula& f) {
    return std::all_of(f.a.begin(), f.a.begin() + 2 * f.m, [](double v) { return v >= 0; });
}

// A formula as good as another for its user: both reproduce the points to
// their precision, or its largest residual is no more than a tenth larger.
bool asGood(const Formula& f, const Formula& than) {
    return than.done ? f.done : f.largest <= 1.1 * than.largest;
}

// The formula of given terms when it is sound.
bool givenFormula(const FitPoints& p, std::span<const double> a, int m, Formula& f) {
    const auto terms = static_cast<std::size_t>(m);
    std::array<double, kMaxIndexPoints> model{};
    const std::span<const double> values(model.data(), p.count);
    if (!SellmeierFormulaSound(p.view, a.first(terms), a.subspan(terms, terms), m,
                               std::span<double>(model.data(), p.count), f.chisq))
        return false;
    f.m = m;
    f.a = {};
    std::copy_n(a.begin(), 2 * terms, f.a.begin());
    f.largest = largestResidual(p, values);
    f.done = reproduced(p, f.largest, f.chisq);
    return true;
}

enum class Iteration { kConverged, kFailed, kStopped };

// Counts the steps of a fit and asks, every 30th, whether to go on.
class StepCounter {
public:
    StepCounter(bool showMessages, IBoxes& boxes) : m_showMessages(showMessages), m_boxes(boxes) {}
    // After a step that did not end the iteration: False to stop.
    bool goOn() {
        const bool ask = m_step % 30 == 0;
        ++m_step;
        if (!ask) return true;
        if (!m_showMessages) return false;
        return m_boxes.show(kBoxInformationYesNo,
                            "Sellmeier seems to be failing to converge\r\ndo you stop searching now") != kAnswerYes;
    }

private:
    int m_step = 1;
    bool m_showMessages;
    IBoxes& m_boxes;
};

// How long an iteration may take: a counted one goes on as long as the user
// lets it; one without a counter stops after its number of steps, and then
// keeps what it reached, or gives up.
struct StepBudget {
    StepCounter* counter = nullptr;
    int steps = 0;
    bool keepAtLimit = false;
};
constexpr StepBudget kFiveTermBudget{nullptr, kFiveTermSteps, true};

// The iteration on m terms from the poles (µm², in slot order) until the
// points are reproduced to their precision, a step hardly lowers the sum of
// squares, or no step lowers it. On kConverged f holds the formula, each pole
// in the slot of the start pole of the same rank. Where the iteration ends on
// a formula that is no glass's, the last glass's formula on its way replaces
// it when that is as good.
Iteration iterate(const FitPoints& p, std::span<const double> poles, int m, Formula& f, StepBudget budget) {
    const auto terms = static_cast<std::size_t>(m);
    std::array<std::size_t, kMaxSellmeierTerms> slot{};
    for (std::size_t k = 0; k < terms; ++k) slot[k] = k;
    std::stable_sort(slot.begin(), slot.begin() + m, [&](std::size_t i, std::size_t j) { return poles[i] < poles[j]; });
    auto formulaOf = [&](const SellmeierTrial& t) {
        Formula out;
        out.m = m;
        for (std::size_t r = 0; r < terms; ++r) {
            out.a[slot[r]] = t.b[r];
            out.a[slot[r] + terms] = t.c[r];
        }
        out.chisq = t.chisq;
        out.largest = largestResidual(p, std::span<const double>(t.model.data(), p.count));
        out.done = reproduced(p, out.largest, t.chisq);
        return out;
    };

    SellmeierIteration it;
    if (!StartSellmeierIteration(p.view, poles, m, it)) return Iteration::kFailed;
    const double relative = m == 5 ? kRelativeStop5 : kRelativeStop;
    std::optional<Formula> glass;
    f = formulaOf(it.current);
    if (glassLike(f)) glass = f;
    int steps = 0;
    while (!f.done) {
        const double before = it.current.chisq;
        const bool accepted = MarquardtStep(p.view, it) == MarquardtOutcome::kAccepted;
        if (accepted) {
            f = formulaOf(it.current);
            if (glassLike(f)) glass = f;
        }
        // A rejected trial that hardly raises the sum: the bottom is flat to
        // rounding.
        const bool converged = accepted ? before - it.current.chisq <= relative * it.current.chisq
                                        : (it.trialChisq >= 0 && it.trialChisq - before <= relative * before) ||
                                              it.lambda > kStuckDamping;
        if (converged) break;
        if (budget.counter) {
            if (!budget.counter->goOn()) return Iteration::kStopped;
        } else if (++steps >= budget.steps) {
            if (!budget.keepAtLimit) return Iteration::kFailed;
            break;
        }
    }
    if (glass && !glassLike(f) && asGood(*glass, f)) f = *glass;
    return Iteration::kConverged;
}

// The three-term answer: from the given poles when there are some and they
// lead anywhere, else from the default ones or those of the range; when that
// formula is no glass's,
// a glass's as good from a typical start replaces it.
Iteration threeTerms(const FitPoints& p, const std::array<double, 3>* given, StepCounter& counter, Formula& f) {
    Iteration outcome = Iteration::kFailed;
    if (given) outcome = iterate(p, *given, 3, f, {&counter});
    if (outcome == Iteration::kFailed) outcome = iterate(p, kStartPoles, 3, f, {&counter});
    // Points beyond the usual range (an infrared crystal's, say) may hold the
    // default poles: the same poles in proportion to the range's ends.
    if (outcome == Iteration::kFailed) {
        const std::array<double, 3> scaled{0.024 * p.view.xLow, 0.1 * p.view.xLow, 25 * p.view.xHigh};
        outcome = iterate(p, scaled, 3, f, {&counter});
    }
    if (outcome != Iteration::kConverged || glassLike(f)) return outcome;
    for (const auto& poles : kTypicalPoles) {
        Formula other;
        if (iterate(p, poles, 3, other, {nullptr, kSecondTrySteps}) == Iteration::kConverged &&
            glassLike(other) && asGood(other, f)) {
            f = other;
            break;
        }
    }
    return Iteration::kConverged;
}

// The three-term answer as five terms: two more of no strength, their poles
// below and above all others, outside the range.
Formula asFiveTerms(const FitPoints& p, const Formula& three) {
    const double lowest = std::min({three.a[3], three.a[4], three.a[5]});
    const double highest = std::max({three.a[3], three.a[4], three.a[5]});
    Formula five = three;
    five.m = 5;
    five.a = {three.a[0], three.a[1], three.a[2], 0, 0, three.a[3], three.a[4], three.a[5],
              lowest > 0 ? lowest / 2 : 2 * lowest - p.view.xLow,
              highest > p.view.xHigh ? 10 * highest : 20 * p.view.xHigh};
    return five;
}

std::string fiveTermReport(const GlassDefinition& d) {
    std::string r = "Extend Sellmeier Polynomial Constants";
    r += std::string(kCrLf) + kCrLf;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) r += kCrLf;
        r += label('B', i + 1);
        r += t(d, i);
    }
    r += std::string(kCrLf) + kCrLf;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) r += kCrLf;
        r += label('C', i + 1);
        r += t(d, i + 5);
    }
    return r;
}

}  // namespace

bool FitCauchy(std::int16_t& nTerms, std::int16_t count, std::string& report, GlassDefinition& definition,
               MeasuredData& data, IBoxes& boxes) {
    return linearFit(kCauchyForm, nTerms, count, report, definition, data, boxes);
}

bool FitSchott(std::int16_t& nTerms, std::int16_t count, std::string& report, GlassDefinition& definition,
               MeasuredData& data, IBoxes& boxes) {
    return linearFit(kSchottForm, nTerms, count, report, definition, data, boxes);
}

bool FitExtendedSchott(std::int16_t& nTerms, std::int16_t count, std::string& report, GlassDefinition& definition,
                       MeasuredData& data, IBoxes& boxes) {
    return linearFit(kExtendedSchottForm, nTerms, count, report, definition, data, boxes);
}

std::string SchottFitFailure() { return std::string(kSchottForm.failure) + kCheckData; }

bool FitSchottSamples(std::span<const double> L, std::span<const double> nSquared, std::array<double, 6>& c,
                      IBoxes& boxes) {
    const std::size_t n = std::min(L.size(), nSquared.size());
    if (n < static_cast<std::size_t>(kSchottForm.m)) {
        boxes.show(kBoxPlain, kInsufficient);
        return false;
    }
    const std::vector<float> weights(n, 1.0f);
    if (!solveLinearForm(kSchottForm, L.first(n), nSquared.first(n), weights, c)) {
        boxes.show(kBoxPlain, SchottFitFailure());
        return false;
    }
    return true;
}

bool FitSellmeier(std::int16_t count, std::int16_t nTerms, std::string& report, GlassDefinition& definition,
                  MeasuredData& data, const GlassDefinition& start, bool useStart, bool showMessages, IBoxes& boxes) {
    auto fail = [&]() {
        if (showMessages) boxes.show(kBoxPlain, std::string("Failed to fit Sellmeier Polynomial") + kCheckData);
        return false;
    };
    if (count < nTerms) {
        if (showMessages) boxes.show(kBoxPlain, kInsufficient);
        return false;
    }
    if ((nTerms != 3 && nTerms != 5) || count < 1 || count > kMaxIndexPoints) return fail();

    const int m = nTerms;
    FitPoints p;
    p.count = static_cast<std::size_t>(count);
    double yMax = 0;
    for (std::size_t i = 0; i < p.count; ++i) {
        const double L = data.indexWavelengthUm[i + 1];
        p.x[i] = L * L;
        p.y[i] = data.indexSquared[i + 1] - 1.0;
        p.n[i] = data.index[i + 1];
        if (!std::isfinite(p.x[i]) || !(p.x[i] > 0) || !std::isfinite(p.y[i])) return fail();
        yMax = std::max(yMax, std::fabs(p.y[i]));
    }
    p.view.x = std::span<const double>(p.x.data(), p.count);
    p.view.y = std::span<const double>(p.y.data(), p.count);
    rangeOf(p, definition, p.view.xLow, p.view.xHigh);
    p.bound = residualBound(std::span<const double>(p.n.data(), p.count));
    p.floor = static_cast<double>(p.count) * std::pow(16 * std::numeric_limits<double>::epsilon() * yMax, 2);

    Formula result;
    bool found = false;
    // No dispersion: the points are a constant index, n² = 1 + B1, or no
    // index at all.
    double mean = 0;
    for (std::size_t i = 0; i < p.count; ++i) mean += p.y[i];
    mean /= static_cast<double>(p.count);
    std::array<double, 10> constant{mean};
    Formula flat;
    const bool noDispersion = givenFormula(p, constant, m, flat) && flat.done;
    bool notAnIndex = true;
    for (std::size_t i = 0; i < p.count; ++i) notAnIndex = notAnIndex && std::fabs(p.y[i]) <= std::sqrt(p.floor);
    if (noDispersion) {
        result = flat;
        found = true;
    } else if (notAnIndex) {
        return fail();
    }

    StepCounter counter(showMessages, boxes);
    if (!found && m == 3) {
        std::array<double, 3> given{start.coefficients[3], start.coefficients[4], start.coefficients[5]};
        const Iteration outcome = threeTerms(p, useStart ? &given : nullptr, counter, result);
        if (outcome == Iteration::kStopped) return false;
        found = outcome == Iteration::kConverged;
    } else if (!found) {
        // Five terms hold the three: the five-term iteration from the start
        // when one is given, and the three-term answer, which the five terms
        // then start from with two weak terms beside it; the fit ends with
        // the best of these, never worse than the three-term answer.
        std::optional<Formula> five;
        std::array<double, 3> strongest{};
        if (useStart) {
            Formula given;
            if (givenFormula(p, std::span<const double>(start.coefficients.data(), 10), 5, given) && given.done) {
                result = given;
                found = true;
            } else {
                Formula f;
                const Iteration outcome =
                    iterate(p, std::span<const double>(start.coefficients.data() + 5, 5), 5, f, kFiveTermBudget);
                if (outcome == Iteration::kStopped) return false;
                if (outcome == Iteration::kConverged) five = f;
                if (five && five->done) {
                    result = *five;
                    found = true;
                }
            }
            // The start's three strongest terms, for the three-term answer.
            std::array<std::size_t, 5> order{0, 1, 2, 3, 4};
            std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
                return std::fabs(start.coefficients[i]) > std::fabs(start.coefficients[j]);
            });
            std::sort(order.begin(), order.begin() + 3);
            for (std::size_t k = 0; k < 3; ++k) strongest[k] = start.coefficients[order[k] + 5];
        }
        if (!found) {
            Formula three;
            const Iteration outcome = threeTerms(p, useStart ? &strongest : nullptr, counter, three);
            if (outcome == Iteration::kStopped) return false;
            if (outcome == Iteration::kConverged) {
                // Points the three terms reproduce need no more.
                result = asFiveTerms(p, three);
                if (!three.done) {
                    Formula fromThree;
                    const Iteration more =
                        iterate(p, std::span<const double>(result.a.data() + 5, 5), 5, fromThree, kFiveTermBudget);
                    if (more == Iteration::kStopped) return false;
                    if (more == Iteration::kConverged && fromThree.chisq < result.chisq) result = fromThree;
                    if (five && five->chisq < result.chisq) result = *five;
                }
                found = true;
            } else if (five) {
                result = *five;
                found = true;
            }
        }
    }
    if (!found) return fail();

    const auto ma = static_cast<std::size_t>(2 * m);
    MeasuredData fitted = data;
    double sumOfSquares = 0;
    for (std::size_t i = 1; i <= p.count; ++i) {
        const double L = data.indexWavelengthUm[i];
        const double xi = L * L;
        double s = 1;
        for (std::size_t k = 0; k < static_cast<std::size_t>(m); ++k)
            s += result.a[k] * xi / (xi - result.a[k + static_cast<std::size_t>(m)]);
        if (!std::isfinite(s) || s < 0) return fail();
        fitted.fittedIndex[i] = std::sqrt(s);
        if (data.weight[i] != 0) {
            fitted.residual[i] = data.index[i] - fitted.fittedIndex[i];
            sumOfSquares += fitted.residual[i] * fitted.residual[i];
        }
    }
    if (!std::isfinite(sumOfSquares)) return fail();
    fitted.sumOfSquares = sumOfSquares;

    data = fitted;
    StoreCoefficients(definition, std::span<const double>(result.a.data(), ma));
    report = m == 3 ? SellmeierReport(definition, "") : fiveTermReport(definition);
    return true;
}

void StoreCoefficients(GlassDefinition& definition, std::span<const double> c) {
    definition.coefficients.fill(0);
    for (std::size_t k = 0; k < c.size() && k < definition.coefficients.size(); ++k) definition.coefficients[k] = c[k];
}

std::string CauchyReport(const GlassDefinition& d, const std::string& prefix) {
    return prefix + "Cauchy Polynomial Constants" + kCrLf + kCrLf + "A0:   " + f(d, 0) + kCrLf + "A1:   " + f(d, 1) +
           kCrLf + "A2:   " + f(d, 2);
}

std::string SchottReport(const GlassDefinition& d, const std::string& prefix) {
    std::string r = prefix + "Schott Polynomial Constants" + kCrLf;
    for (int i = 0; i < 6; ++i) {
        r += kCrLf;
        r += label('A', i);
        r += f(d, i);
    }
    return r;
}

std::string ExtendedSchottReport(const GlassDefinition& d, const std::string& prefix) {
    std::string r = prefix + "Extended Schott Polynomial Constants" + kCrLf + kCrLf + "A0:    " + f(d, 5) + kCrLf;
    for (int i = 1; i <= 9; ++i) {
        if (i == 5) r += kCrLf;
        r += kCrLf;
        r += label('A', i);
        r += f(d, i <= 4 ? 5 + i : 9 - i);
    }
    return r;
}

std::string SellmeierReport(const GlassDefinition& d, const std::string& prefix) {
    return prefix + "Sellmeier Polynomial Constants" + kCrLf + kCrLf + "B1:   " + f(d, 0) + kCrLf + "B2:   " +
           f(d, 1) + kCrLf + "B3:   " + f(d, 2) + kCrLf + kCrLf + "C1:   " + f(d, 3) + kCrLf + "C2:   " + f(d, 4) +
           kCrLf + "C3:   " + f(d, 5);
}
