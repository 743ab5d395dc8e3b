#include "model/IndexFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
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
    bool fromPowerSums;  // the ten-term matrix is built from the sums of x^k
};

const LinearForm kCauchyForm{3, {0, -1, -2}, "Failed to fit Cauchy Polynomial", CauchyReport, false};
const LinearForm kSchottForm{6, {0, 1, -1, -2, -3, -4}, "Failed to fit Schott Polynomial", SchottReport, false};
const LinearForm kExtendedSchottForm{
    10, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4}, "Failed to fit Extended Schott Polynomial", ExtendedSchottReport, true};

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

    MatrixD a;
    std::array<double, kMaxMatrixOrder> b{};
    std::array<double, 19> sums{};  // Σ w·x^k, k = -10..8
    for (int i = 1; i <= count; ++i) {
        const double w = data.weight[static_cast<std::size_t>(i)];
        if (w == 0) continue;
        const double L = data.indexWavelengthUm[static_cast<std::size_t>(i)];
        const Powers x(L * L);
        const double y = data.indexSquared[static_cast<std::size_t>(i)];
        for (int r = 0; r < m; ++r) {
            const double phiR = x[form.exponents[static_cast<std::size_t>(r)]];
            b[static_cast<std::size_t>(r)] += w * phiR * y;
            if (!form.fromPowerSums)
                for (int c = 0; c < m; ++c) a(r + 1, c + 1) += w * phiR * x[form.exponents[static_cast<std::size_t>(c)]];
        }
        if (form.fromPowerSums)
            for (int k = -10; k <= 8; ++k) sums[static_cast<std::size_t>(k + 10)] += w * x[k];
    }
    if (form.fromPowerSums)
        for (int r = 0; r < m; ++r)
            for (int c = 0; c < m; ++c)
                a(r + 1, c + 1) = sums[static_cast<std::size_t>(
                    form.exponents[static_cast<std::size_t>(r)] + form.exponents[static_cast<std::size_t>(c)] + 10)];

    if (!GaussJordanInvert(a, m)) return fail();
    std::array<double, kMaxMatrixOrder> c{};
    for (int r = 0; r < m; ++r) {
        double s = 0;
        for (int k = 0; k < m; ++k) s += a(r + 1, k + 1) * b[static_cast<std::size_t>(k)];
        if (!std::isfinite(s)) return fail();
        c[static_cast<std::size_t>(r)] = s;
    }

    // The results go to a copy first: a fault at any point leaves data untouched.
    MeasuredData result = data;
    double sumOfSquares = 0;
    for (int i = 1; i <= count; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        const double L = data.indexWavelengthUm[pi];
        const Powers x(L * L);
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

// The start values of the Sellmeier iteration when none are given, B's first.
// Three terms: poles near 56 nm, 114 nm and 12 µm.
constexpr std::array<double, 6> kSellmeierStart3{0.730713411,   0.636951703,  0.856177259,
                                                 0.00314818243, 0.0129910178, 143.604779};
// Five terms, when the three-term fit finds no answer to start from: the
// three-term start, and two weaker poles outside any data, C4 in the far
// ultraviolet (141 nm) and C5 at 31.6 µm. Reading the three-term list in the
// five-term order instead put C2 = C3 = 0.73 µm², a double pole at 855 nm
// inside most data, from which the iteration never came back.
constexpr std::array<double, 10> kSellmeierStart5{0.730713411,   0.636951703,  0.856177259, 0.2,  0.3,
                                                  0.00314818243, 0.0129910178, 143.604779,  0.02, 1000};
// The strength of the two terms the five-term fit adds to the three-term
// answer: enough for the iteration to see them, too little to move the start.
constexpr double kWeakTerm = 1e-4;

// An accepted step that lowers the sum of squares by less than this part of
// it ends the iteration: the fit is at its optimum. Five terms stop sooner:
// their two extra terms are barely determined by most data, and the fit would
// crawl along them for hundreds of steps for the last tenth of a percent.
constexpr double kRelativeStop = 1e-6;
constexpr double kRelativeStop5 = 1e-5;
// A damping this large with the step still rejected: no step along the
// gradient lowers the sum any more, the fit is at its optimum too.
constexpr double kStuckDamping = 1e12;

struct SellmeierPoints {
    std::span<const double> x, y, sig;
    int count;
};

enum class Iteration { kConverged, kFailed, kStopped };

// The Levenberg-Marquardt iteration on m terms from the coefficients a (B's,
// then C's) to its optimum, which a receives, chisq its sum of squares there.
// step counts the steps of the whole fit, which asks whether to go on every
// 30th (without messages it stops there). Without solverMessages a failure
// shows nothing: the caller has an answer to fall back on.
Iteration iterateSellmeier(const SellmeierPoints& p, int m, SellmeierForm form, std::span<double> a, double& chisq,
                           int& step, bool showMessages, bool solverMessages, IBoxes& boxes) {
    const int ma = 2 * m;
    const auto n = static_cast<std::size_t>(ma);
    // The fraction hides a start pole sitting on a point: the formula itself
    // must hold at the start.
    for (int i = 0; i < p.count; ++i) {
        const double x = p.x[static_cast<std::size_t>(i)];
        for (std::size_t k = 0; k < static_cast<std::size_t>(m); ++k)
            if (!std::isfinite(a[k] * x / (x - a[k + static_cast<std::size_t>(m)]))) return Iteration::kFailed;
    }
    std::array<double, kMaxMatrixOrder> q{};
    if (form == SellmeierForm::kFraction) ToRationalParameters(a, q, ma);
    else std::copy_n(a.begin(), n, q.begin());
    std::array<std::int16_t, kMaxMatrixOrder> free{};
    std::fill_n(free.begin(), ma, kTrue);
    double yMax = 0;
    for (int i = 0; i < p.count; ++i) yMax = std::max(yMax, std::fabs(p.y[static_cast<std::size_t>(i)]));
    // What rounding leaves of a sum of squares of data reproduced exactly.
    const double roundingFloor = p.count * std::pow(16 * std::numeric_limits<double>::epsilon() * yMax, 2);

    MatrixD covar, alpha;
    double lambda = -1;
    double chisqPrev = std::numeric_limits<double>::max();
    for (;; ++step) {
        if (!MarquardtStep(p.x, p.y, p.sig, p.count, std::span<double>(q.data(), n),
                           std::span<const std::int16_t>(free.data(), n), ma, covar, alpha, chisq, lambda,
                           showMessages && solverMessages, boxes, form))
            return Iteration::kFailed;
        const bool accepted = chisq < chisqPrev;
        // At the data, after a step that hardly lowers the sum, after one
        // rejected as hardly raising it (the bottom is flat to rounding), or
        // with all damping spent: no step can lower the sum further.
        const double change = accepted ? chisqPrev - chisq : MarquardtTrialChisq() - chisq;
        if (chisq <= roundingFloor || change <= (m == 5 ? kRelativeStop5 : kRelativeStop) * chisq ||
            (!accepted && lambda > kStuckDamping)) {
            if (form == SellmeierForm::kTerms) {
                std::copy_n(q.begin(), n, a.begin());
                return Iteration::kConverged;
            }
            std::array<double, kMaxMatrixOrder> start{};
            std::copy_n(a.begin(), n, start.begin());
            return FromRationalParameters(q, a, ma, start) ? Iteration::kConverged : Iteration::kFailed;
        }
        chisqPrev = chisq;
        if (step % 30 == 0) {
            if (!showMessages) return Iteration::kStopped;
            if (boxes.show(kBoxInformationYesNo,
                           "Sellmeier seems to be failing to converge\r\ndo you stop searching now") == kAnswerYes)
                return Iteration::kStopped;
        }
    }
}

// The iteration on the fraction, and when that ends without an answer, on
// the terms themselves from the same start.
Iteration fitTerms(const SellmeierPoints& p, int m, std::span<double> a, double& chisq, int& step, bool showMessages,
                   bool solverMessages, IBoxes& boxes) {
    std::array<double, kMaxMatrixOrder> start{};
    std::copy_n(a.begin(), 2 * m, start.begin());
    const Iteration fraction =
        iterateSellmeier(p, m, SellmeierForm::kFraction, a, chisq, step, showMessages, false, boxes);
    if (fraction != Iteration::kFailed) return fraction;
    std::copy_n(start.begin(), 2 * m, a.begin());
    ++step;
    return iterateSellmeier(p, m, SellmeierForm::kTerms, a, chisq, step, showMessages, solverMessages, boxes);
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
    const auto m = static_cast<std::size_t>(kSchottForm.m);
    const auto& exponents = kSchottForm.exponents;
    if (n < m) {
        boxes.show(kBoxPlain, kInsufficient);
        return false;
    }
    double xMin = 0, xMax = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = L[i] * L[i];
        xMin = i == 0 ? x : std::min(xMin, x);
        xMax = i == 0 ? x : std::max(xMax, x);
    }
    // In s = x/x0 the basis stays near 1 at the middle of the range whatever
    // its width; the solution d(k) of s^e(k) is c(k)·x0^e(k).
    const double x0 = std::sqrt(xMin * xMax);
    std::vector<double> a(n * m), y(nSquared.begin(), nSquared.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const Powers s(L[i] * L[i] / x0);
        for (std::size_t k = 0; k < m; ++k) a[i * m + k] = s[exponents[k]];
    }
    std::array<double, 6> d{};
    if (!(x0 > 0) || !SolveLeastSquares(a, static_cast<int>(n), static_cast<int>(m), y, d)) {
        boxes.show(kBoxPlain, SchottFitFailure());
        return false;
    }
    const Powers scale(x0);
    for (std::size_t k = 0; k < m; ++k) c[k] = d[k] / scale[exponents[k]];
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
    if ((nTerms != 3 && nTerms != 5) || count > kMaxIndexPoints) return fail();

    const int m = nTerms;
    const int ma = 2 * m;
    const auto n = static_cast<std::size_t>(count);
    std::array<double, kMaxIndexPoints> x{}, y{}, sig{};
    for (std::size_t i = 0; i < n; ++i) {
        const double L = data.indexWavelengthUm[i + 1];
        x[i] = L * L;
        y[i] = data.indexSquared[i + 1] - 1.0;
        sig[i] = 1;
    }
    const SellmeierPoints points{std::span<const double>(x.data(), n), std::span<const double>(y.data(), n),
                                 std::span<const double>(sig.data(), n), count};

    std::array<double, kMaxMatrixOrder> a{};
    int step = 1;
    double chisq = 0;
    Iteration outcome = Iteration::kFailed;
    if (useStart || m == 3) {
        if (useStart) std::copy_n(start.coefficients.begin(), ma, a.begin());
        else std::copy(kSellmeierStart3.begin(), kSellmeierStart3.end(), a.begin());
        outcome = fitTerms(points, m, a, chisq, step, showMessages, true, boxes);
    } else {
        // Five terms hold the three: start from the three-term answer with
        // two weak terms beside it, and end no worse than that answer.
        std::array<double, kMaxMatrixOrder> three{};
        std::copy(kSellmeierStart3.begin(), kSellmeierStart3.end(), three.begin());
        double threeChisq = 0;
        const Iteration first = fitTerms(points, 3, three, threeChisq, step, showMessages, false, boxes);
        if (first == Iteration::kStopped) return false;
        const bool haveThree = first == Iteration::kConverged;
        if (haveThree) {
            a = {three[0], three[1], three[2], kWeakTerm, kWeakTerm,
                 three[3], three[4], three[5], three[3] / 2, three[5] * 10};
        } else {
            std::copy(kSellmeierStart5.begin(), kSellmeierStart5.end(), a.begin());
        }
        const std::array<double, kMaxMatrixOrder> fiveStart = a;
        ++step;
        outcome = fitTerms(points, 5, a, chisq, step, showMessages, !haveThree, boxes);
        if (haveThree && (outcome == Iteration::kFailed || (outcome == Iteration::kConverged && chisq > threeChisq))) {
            // The three-term answer as five terms; the unused poles stay
            // where they started, outside the data.
            a = {three[0], three[1], three[2], 0, 0, three[3], three[4], three[5], fiveStart[8], fiveStart[9]};
            outcome = Iteration::kConverged;
        }
    }
    if (outcome == Iteration::kStopped) return false;
    if (outcome == Iteration::kFailed) return fail();

    MeasuredData result = data;
    double sumOfSquares = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        const double L = data.indexWavelengthUm[i];
        const double xi = L * L;
        double s = 1;
        for (int k = 0; k < m; ++k) {
            const auto pk = static_cast<std::size_t>(k);
            s += a[pk] * xi / (xi - a[pk + static_cast<std::size_t>(m)]);
        }
        if (!std::isfinite(s) || s < 0) return fail();
        result.fittedIndex[i] = std::sqrt(s);
        if (data.weight[i] != 0) {
            result.residual[i] = data.index[i] - result.fittedIndex[i];
            sumOfSquares += result.residual[i] * result.residual[i];
        }
    }
    if (!std::isfinite(sumOfSquares)) return fail();
    result.sumOfSquares = sumOfSquares;

    data = result;
    StoreCoefficients(definition, std::span<const double>(a.data(), static_cast<std::size_t>(ma)));
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
