#include "model/NonLinearOptimise.h"

#include <algorithm>
#include <cmath>

#include "platform/Boxes.h"

namespace {

// The step is shortened this many times, each time by half, before a trial
// that is not sound counts as refused.
constexpr int kShortenings = 4;
// n > 1 is checked at the points and at this many intervals over the range.
constexpr int kRangeChecks = 64;
// Two poles closer than this (relative) are one pole.
constexpr double kDistinctPoles = 1e-9;
// A column that keeps less than this part of itself once the others are
// taken out of it depends on them.
constexpr double kDependentColumn = 1e-13;

// The step's solver tells nobody: a step it cannot solve is refused.
class SilentBoxes : public IBoxes {
public:
    int show(int, const std::string&, const std::string&) override { return kAnswerOk; }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

// Q(z) = z^m + Σ d[k]·z^k and its derivative.
template <class T>
void monic(std::span<const double> d, std::size_t m, T z, T& value, T& slope) {
    value = 1;
    slope = 0;
    for (std::size_t k = m; k-- > 0;) {
        slope = slope * z + value;
        value = value * z + d[k];
    }
}

// The m roots of the monic Q, when they are all real, ascending: Laguerre's
// iteration on the real line, root after root, each taken out of Q before the
// next. On a polynomial whose roots are all real it reaches one from any
// start; where a root is not real it meets a negative square.
bool realRoots(std::span<const double> d, std::size_t m, std::span<double> roots) {
    std::array<double, kMaxSellmeierTerms + 1> a{};  // the rest of Q, a[degree] = 1
    std::copy_n(d.begin(), m, a.begin());
    a[m] = 1;
    for (std::size_t degree = m; degree > 0; --degree) {
        const auto n = static_cast<double>(degree);
        double x = 0;
        bool settled = false;
        for (int round = 0; round < 60 && !settled; ++round) {
            double p = a[degree], dp = 0, ddp = 0;
            for (std::size_t k = degree; k-- > 0;) {
                ddp = ddp * x + 2 * dp;
                dp = dp * x + p;
                p = p * x + a[k];
            }
            if (p == 0) break;
            const double g = dp / p;
            const double h = g * g - ddp / p;
            const double square = (n - 1) * (n * h - g * g);
            if (square < -1e-12 * g * g) return false;
            const double root = std::sqrt(std::max(square, 0.0));
            const double denominator = std::fabs(g + root) >= std::fabs(g - root) ? g + root : g - root;
            if (denominator == 0 || !std::isfinite(denominator)) return false;
            const double step = n / denominator;
            x -= step;
            settled = std::fabs(step) <= 1e-15 * std::fabs(x);
        }
        if (!std::isfinite(x)) return false;
        roots[degree - 1] = x;
        // Q/(z − x), by synthetic division from the top.
        double carry = a[degree];
        for (std::size_t k = degree; k-- > 0;) {
            const double next = a[k];
            a[k] = carry;
            carry = next + carry * x;
        }
    }
    for (std::size_t k = 0; k < m; ++k) {
        double& x = roots[k];
        for (int round = 0; round < 3; ++round) {
            double value = 0, slope = 0;
            monic(d, m, x, value, slope);
            if (slope == 0) break;
            x -= value / slope;
        }
        if (!std::isfinite(x)) return false;
    }
    std::sort(roots.begin(), roots.begin() + static_cast<std::ptrdiff_t>(m));
    return true;
}

// The same from real guesses near the roots, the poles of the step before:
// Aberth's iteration on the real line, which can only end on real roots.
// False when it does not settle within a few rounds.
bool realRootsNear(std::span<const double> d, std::size_t m, std::span<const double> guesses,
                   std::span<double> roots) {
    std::array<double, kMaxSellmeierTerms> z{};
    std::copy_n(guesses.begin(), m, z.begin());
    for (int round = 0; round < 30; ++round) {
        double largest = 0;
        for (std::size_t k = 0; k < m; ++k) {
            double value = 0, slope = 0;
            monic(d, m, z[k], value, slope);
            if (value == 0) continue;
            const double w = value / slope;
            double s = 0;
            for (std::size_t j = 0; j < m; ++j)
                if (j != k) s += 1.0 / (z[k] - z[j]);
            const double step = w / (1.0 - w * s);
            if (!std::isfinite(step)) return false;
            z[k] -= step;
            largest = std::max(largest, std::fabs(step) / std::max(std::fabs(z[k]), 1e-300));
        }
        if (largest < 1e-14) {
            std::copy_n(z.begin(), m, roots.begin());
            std::sort(roots.begin(), roots.begin() + static_cast<std::ptrdiff_t>(m));
            return true;
        }
    }
    return false;
}

// The scaled poles of Q's coefficients q (q[m] not 0), ascending: from the
// guesses when they lead there, else from nothing.
bool polesOf(const std::array<double, kMaxSellmeierTerms + 1>& q, int m, std::span<const double> guesses,
             std::span<double> poles) {
    const auto n = static_cast<std::size_t>(m);
    if (q[n] == 0) return false;
    std::array<double, kMaxSellmeierTerms> d{};
    for (std::size_t k = 0; k < n; ++k) d[k] = q[k] / q[n];
    return realRootsNear(d, n, guesses, poles) || realRoots(d, n, poles);
}

// Q = Π (s − ci), scaled so that the coefficient held is 1; False when it is 0.
bool coefficientsOf(std::span<const double> poles, int m, int held, std::array<double, kMaxSellmeierTerms + 1>& q) {
    q = {};
    q[0] = 1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i)
        for (std::size_t k = i + 1; k-- > 0;) {
            q[k + 1] += q[k];
            q[k] *= -poles[i];
        }
    const double h = q[static_cast<std::size_t>(held)];
    if (h == 0 || !std::isfinite(h)) return false;
    for (double& v : q) v /= h;
    return true;
}

}  // namespace

void SellmeierModel(double x, std::span<const double> a, double& y, std::span<double> dyda, int ma) {
    const auto m = static_cast<std::size_t>(ma / 2);
    y = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double b = a[i];
        const double d = x - a[i + m];
        y += b * x / d;
        dyda[i] = x / d;
        dyda[i + m] = b * x / (d * d);
    }
}

bool SellmeierFormulaSound(const SellmeierPoints& points, std::span<const double> b, std::span<const double> c, int m,
                           std::span<double> model, double& chisq) {
    const auto terms = static_cast<std::size_t>(m);
    for (std::size_t k = 0; k < terms; ++k)
        if (!(std::fabs(b[k]) <= kLargestSellmeierB) || !std::isfinite(c[k]) ||
            (c[k] >= points.xLow && c[k] <= points.xHigh))
            return false;
    auto value = [&](double x) {
        double y = 0;
        for (std::size_t k = 0; k < terms; ++k) y += b[k] * x / (x - c[k]);
        return y;
    };
    chisq = 0;
    for (std::size_t i = 0; i < points.x.size(); ++i) {
        model[i] = value(points.x[i]);
        if (!(model[i] > 0)) return false;
        const double d = points.y[i] - model[i];
        chisq += d * d;
    }
    for (int g = 0; g <= kRangeChecks; ++g) {
        const double x = points.xLow + (points.xHigh - points.xLow) * g / kRangeChecks;
        if (!(value(x) > 0)) return false;
    }
    return std::isfinite(chisq);
}

bool SellmeierWithPoles(const SellmeierPoints& points, std::span<const double> poles, int m, SellmeierTrial& trial) {
    const std::size_t n = points.x.size();
    const auto terms = static_cast<std::size_t>(m);
    if (m < 1 || m > kMaxSellmeierTerms || n < terms || n > kMaxIndexPoints || poles.size() < terms) return false;
    trial.m = m;
    std::copy_n(poles.begin(), terms, trial.c.begin());
    std::sort(trial.c.begin(), trial.c.begin() + m);
    for (std::size_t k = 0; k < terms; ++k) {
        const double c = trial.c[k];
        if (!std::isfinite(c)) return false;
        if (k > 0 && !(c - trial.c[k - 1] > kDistinctPoles * std::max(std::fabs(c), std::fabs(trial.c[k - 1]))))
            return false;
    }

    // The columns x/(x − Ci), made orthonormal by Gram-Schmidt, twice over so
    // that nearly alike columns stay orthogonal; R holds what was taken out.
    auto& u = trial.basis;
    std::array<std::array<double, kMaxSellmeierTerms>, kMaxSellmeierTerms> r{};
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < terms; ++k) u[i][k] = points.x[i] / (points.x[i] - trial.c[k]);
    for (std::size_t k = 0; k < terms; ++k) {
        double before = 0;
        for (std::size_t i = 0; i < n; ++i) before += u[i][k] * u[i][k];
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t j = 0; j < k; ++j) {
                double dot = 0;
                for (std::size_t i = 0; i < n; ++i) dot += u[i][j] * u[i][k];
                r[j][k] += dot;
                for (std::size_t i = 0; i < n; ++i) u[i][k] -= dot * u[i][j];
            }
        double after = 0;
        for (std::size_t i = 0; i < n; ++i) after += u[i][k] * u[i][k];
        if (!std::isfinite(before) || !(std::sqrt(after) > kDependentColumn * std::sqrt(before))) return false;
        r[k][k] = std::sqrt(after);
        for (std::size_t i = 0; i < n; ++i) u[i][k] /= r[k][k];
    }
    std::array<double, kMaxSellmeierTerms> t{};
    for (std::size_t k = 0; k < terms; ++k)
        for (std::size_t i = 0; i < n; ++i) t[k] += u[i][k] * points.y[i];
    for (std::size_t k = terms; k-- > 0;) {
        double s = t[k];
        for (std::size_t j = k + 1; j < terms; ++j) s -= r[k][j] * trial.b[j];
        trial.b[k] = s / r[k][k];
    }

    return SellmeierFormulaSound(points, std::span<const double>(trial.b.data(), terms),
                                 std::span<const double>(trial.c.data(), terms), m,
                                 std::span<double>(trial.model.data(), n), trial.chisq);
}

bool StartSellmeierIteration(const SellmeierPoints& points, std::span<const double> poles, int m,
                             SellmeierIteration& it) {
    it = SellmeierIteration{};
    it.m = m;
    it.x0 = std::sqrt(points.xLow * points.xHigh);
    if (!(it.x0 > 0) || !SellmeierWithPoles(points, poles, m, it.current)) return false;
    std::array<double, kMaxSellmeierTerms> scaled{};
    for (std::size_t k = 0; k < static_cast<std::size_t>(m); ++k) {
        scaled[k] = it.current.c[k] / it.x0;
        if (it.current.c[k] < points.xLow) ++it.held;
    }
    return coefficientsOf(scaled, m, it.held, it.q);
}

void MarquardtCoefficients(const SellmeierPoints& points, const SellmeierIteration& it, MatrixD& alpha,
                           std::span<double> beta) {
    const std::size_t n = points.x.size();
    const auto m = static_cast<std::size_t>(it.m);
    const SellmeierTrial& f = it.current;
    // With the B's solved for every set of poles, the residuals move with Q's
    // coefficient of s^k as the part of s^k·model/Q that no B can follow.
    std::array<std::array<double, kMaxSellmeierTerms>, kMaxIndexPoints> jac{};
    for (std::size_t i = 0; i < n; ++i) {
        const double s = points.x[i] / it.x0;
        double q = 0;
        for (std::size_t k = m + 1; k-- > 0;) q = q * s + it.q[k];
        double power = 1;
        std::size_t j = 0;
        for (std::size_t k = 0; k <= m; ++k, power *= s)
            if (static_cast<int>(k) != it.held) jac[i][j++] = power * f.model[i] / q;
    }
    for (std::size_t j = 0; j < m; ++j) {
        for (std::size_t k = 0; k < m; ++k) {
            double dot = 0;
            for (std::size_t i = 0; i < n; ++i) dot += f.basis[i][k] * jac[i][j];
            for (std::size_t i = 0; i < n; ++i) jac[i][j] -= dot * f.basis[i][k];
        }
    }
    for (std::size_t a = 0; a < m; ++a) {
        double g = 0;
        for (std::size_t i = 0; i < n; ++i) g += jac[i][a] * (points.y[i] - f.model[i]);
        beta[a] = -g;
        for (std::size_t b = 0; b <= a; ++b) {
            double s = 0;
            for (std::size_t i = 0; i < n; ++i) s += jac[i][a] * jac[i][b];
            alpha(static_cast<int>(a) + 1, static_cast<int>(b) + 1) = s;
            alpha(static_cast<int>(b) + 1, static_cast<int>(a) + 1) = s;
        }
    }
}

MarquardtOutcome MarquardtStep(const SellmeierPoints& points, SellmeierIteration& it) {
    const int m = it.m;
    MatrixD alpha, rhs;
    std::array<double, kMaxSellmeierTerms> beta{};
    MarquardtCoefficients(points, it, alpha, beta);
    double largest = 0;
    for (int j = 1; j <= m; ++j) largest = std::max(largest, alpha(j, j));
    for (int j = 1; j <= m; ++j) {
        // A pole the points do not feel still gets some damping.
        alpha(j, j) += it.lambda * std::max(alpha(j, j), 1e-12 * largest);
        rhs(j, 1) = beta[static_cast<std::size_t>(j - 1)];
    }
    SilentBoxes quiet;
    it.trialChisq = -1;
    if (GaussJordanSolve(alpha, m, rhs, 1, false, quiet)) {
        std::array<double, kMaxSellmeierTerms> guesses{};
        for (std::size_t k = 0; k < static_cast<std::size_t>(m); ++k) guesses[k] = it.current.c[k] / it.x0;
        SellmeierTrial trial;
        double length = 1;
        for (int shortened = 0; shortened <= kShortenings; ++shortened, length /= 2) {
            std::array<double, kMaxSellmeierTerms + 1> q = it.q;
            std::size_t j = 1;
            for (std::size_t k = 0; k <= static_cast<std::size_t>(m); ++k)
                if (static_cast<int>(k) != it.held) q[k] += length * rhs(static_cast<int>(j++), 1);
            std::array<double, kMaxSellmeierTerms> poles{};
            if (!polesOf(q, m, guesses, poles)) continue;
            for (double& c : poles) c *= it.x0;
            if (!SellmeierWithPoles(points, poles, m, trial)) continue;
            it.trialChisq = trial.chisq;
            if (trial.chisq < it.current.chisq) {
                it.q = q;
                it.current = trial;
                it.lambda = std::max(it.lambda * 0.1, 1e-15);
                return MarquardtOutcome::kAccepted;
            }
            break;
        }
    }
    it.lambda *= 10;
    return MarquardtOutcome::kRejected;
}
