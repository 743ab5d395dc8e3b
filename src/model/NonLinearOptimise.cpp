#include "model/NonLinearOptimise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>

namespace {

struct StepState {
    int freeCount = 0;
    double lastChisq = 0;
    double trialChisq = 0;
    std::array<double, kMaxMatrixOrder> trial{};
    std::array<double, kMaxMatrixOrder> beta{};
    std::array<double, kMaxMatrixOrder> step{};
};
StepState s_state;

bool countsFit(std::size_t xs, std::size_t ys, std::size_t sigs, int count, std::size_t as, std::size_t frees,
               int ma) {
    if (count < 0 || ma < 1 || ma > kMaxMatrixOrder) return false;
    const auto n = static_cast<std::size_t>(count);
    const auto m = static_cast<std::size_t>(ma);
    return xs >= n && ys >= n && sigs >= n && as >= m && frees >= m;
}

}  // namespace

void ToRationalParameters(std::span<const double> a, std::span<double> q, int ma) {
    const auto m = static_cast<std::size_t>(ma / 2);
    // Q = Π (x − Ci) and P = Σ Bi·Π(j≠i) (x − Cj), coefficients from x^0 up.
    std::array<double, kMaxMatrixOrder + 1> full{};
    full[0] = 1;
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t k = i + 1; k-- > 0;) {
            full[k + 1] += full[k];
            full[k] *= -a[m + i];
        }
    }
    std::array<double, kMaxMatrixOrder> p{};
    for (std::size_t i = 0; i < m; ++i) {
        std::array<double, kMaxMatrixOrder> t{};
        t[0] = 1;
        std::size_t degree = 0;
        for (std::size_t j = 0; j < m; ++j) {
            if (j == i) continue;
            ++degree;
            for (std::size_t k = degree + 1; k-- > 1;) t[k] = t[k - 1] - a[m + j] * t[k];
            t[0] *= -a[m + j];
        }
        for (std::size_t k = 0; k < m; ++k) p[k] += a[i] * t[k];
    }
    for (std::size_t k = 0; k < m; ++k) {
        q[k] = p[k];
        q[m + k] = full[k];
    }
}

namespace {

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

// The m roots of the monic Q, when they are real and distinct, ascending:
// Aberth's simultaneous iteration, then Newton's on the real line.
bool realRoots(std::span<const double> d, std::size_t m, std::span<double> roots) {
    using Complex = std::complex<double>;
    double bound = 0;
    for (std::size_t k = 0; k < m; ++k) bound = std::max(bound, std::fabs(d[k]));
    bound += 1;
    std::array<Complex, kMaxMatrixOrder> z{};
    for (std::size_t k = 0; k < m; ++k)
        z[k] = std::polar(bound, 0.4 + 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(m));
    for (int round = 0; round < 500; ++round) {
        double largest = 0;
        for (std::size_t k = 0; k < m; ++k) {
            Complex value, slope;
            monic(d, m, z[k], value, slope);
            if (value == Complex(0)) continue;
            const Complex w = value / slope;
            Complex s = 0;
            for (std::size_t j = 0; j < m; ++j)
                if (j != k) s += 1.0 / (z[k] - z[j]);
            const Complex step = w / (1.0 - w * s);
            if (!std::isfinite(step.real()) || !std::isfinite(step.imag())) return false;
            z[k] -= step;
            largest = std::max(largest, std::abs(step) / std::max(std::abs(z[k]), 1e-300));
        }
        if (largest < 1e-15) break;
    }
    for (std::size_t k = 0; k < m; ++k) {
        if (std::fabs(z[k].imag()) > 1e-7 * std::abs(z[k])) return false;
        double x = z[k].real();
        for (int round = 0; round < 3; ++round) {
            double value = 0, slope = 0;
            monic(d, m, x, value, slope);
            if (slope == 0) break;
            x -= value / slope;
        }
        roots[k] = x;
    }
    std::sort(roots.begin(), roots.begin() + static_cast<std::ptrdiff_t>(m));
    for (std::size_t k = 1; k < m; ++k)
        if (!(roots[k] - roots[k - 1] > 1e-9 * std::max(std::fabs(roots[k]), std::fabs(roots[k - 1])))) return false;
    return true;
}

}  // namespace

bool FromRationalParameters(std::span<const double> q, std::span<double> a, int ma, std::span<const double> like) {
    const auto m = static_cast<std::size_t>(ma / 2);
    const std::span<const double> d = q.subspan(m, m);
    std::array<double, kMaxMatrixOrder> poles{};
    if (!realRoots(d, m, poles)) return false;
    // The slots of like's poles, smallest first.
    std::array<std::size_t, kMaxMatrixOrder> slot{};
    for (std::size_t k = 0; k < m; ++k) slot[k] = k;
    std::stable_sort(slot.begin(), slot.begin() + static_cast<std::ptrdiff_t>(m),
                     [&](std::size_t i, std::size_t j) { return like[m + i] < like[m + j]; });
    std::array<double, kMaxMatrixOrder> out{};
    for (std::size_t k = 0; k < m; ++k) {
        const double c = poles[k];
        double numerator = 0;
        for (std::size_t j = m; j-- > 0;) numerator = numerator * c + q[j];
        double value = 0, slope = 0;
        monic(d, m, c, value, slope);
        const double b = numerator / slope;
        if (!std::isfinite(b)) return false;
        out[slot[k]] = b;
        out[m + slot[k]] = c;
    }
    std::copy_n(out.begin(), 2 * m, a.begin());
    return true;
}

void SellmeierModel(double x, std::span<const double> q, double& y, std::span<double> dyda, int ma,
                    SellmeierForm form) {
    const auto m = static_cast<std::size_t>(ma / 2);
    if (form == SellmeierForm::kTerms) {
        y = 0;
        for (std::size_t i = 0; i < m; ++i) {
            const double b = q[i];
            const double d = x - q[i + m];
            y += b * x / d;
            dyda[i] = x / d;
            dyda[i + m] = b * x / (d * d);
        }
        return;
    }
    double p = 0, den = 1;
    for (std::size_t k = m; k-- > 0;) {
        p = p * x + q[k];
        den = den * x + q[m + k];
    }
    y = x * p / den;
    double power = 1;  // x^k
    for (std::size_t k = 0; k < m; ++k) {
        dyda[k] = x * power / den;
        dyda[m + k] = -y * power / den;
        power *= x;
    }
}

bool MarquardtCoefficients(std::span<const double> x, std::span<const double> y, std::span<const double> sig, int count,
                           std::span<const double> a, std::span<const std::int16_t> free, int ma, MatrixD& alpha,
                           std::span<double> beta, double& chisq, SellmeierForm form) {
    if (!countsFit(x.size(), y.size(), sig.size(), count, a.size(), free.size(), ma) ||
        beta.size() < static_cast<std::size_t>(ma))
        return false;
    int freeCount = 0;
    for (int l = 0; l < ma; ++l)
        if (free[static_cast<std::size_t>(l)]) ++freeCount;
    for (int j = 1; j <= freeCount; ++j) {
        for (int k = 1; k <= j; ++k) alpha(j, k) = 0;
        beta[static_cast<std::size_t>(j - 1)] = 0;
    }
    chisq = 0;
    std::array<double, kMaxMatrixOrder> dyda{};
    for (int i = 0; i < count; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        double ymod = 0;
        SellmeierModel(x[pi], a, ymod, dyda, ma, form);
        const double sig2i = 1.0 / (sig[pi] * sig[pi]);
        const double dy = y[pi] - ymod;
        int j = 0;
        for (int l = 0; l < ma; ++l) {
            if (!free[static_cast<std::size_t>(l)]) continue;
            const double wt = dyda[static_cast<std::size_t>(l)] * sig2i;
            ++j;
            int k = 0;
            for (int mm = 0; mm <= l; ++mm) {
                if (!free[static_cast<std::size_t>(mm)]) continue;
                ++k;
                alpha(j, k) += wt * dyda[static_cast<std::size_t>(mm)];
            }
            beta[static_cast<std::size_t>(j - 1)] += dy * wt;
        }
        chisq += dy * dy * sig2i;
    }
    for (int j = 2; j <= freeCount; ++j)
        for (int k = 1; k < j; ++k) alpha(k, j) = alpha(j, k);

    if (!std::isfinite(chisq)) return false;
    for (int j = 1; j <= freeCount; ++j) {
        if (!std::isfinite(beta[static_cast<std::size_t>(j - 1)])) return false;
        for (int k = 1; k <= freeCount; ++k)
            if (!std::isfinite(alpha(j, k))) return false;
    }
    return true;
}

double MarquardtTrialChisq() { return s_state.trialChisq; }

bool MarquardtStep(std::span<const double> x, std::span<const double> y, std::span<const double> sig, int count,
                   std::span<double> a, std::span<const std::int16_t> free, int ma, MatrixD& covar, MatrixD& alpha,
                   double& chisq, double& lambda, bool showMessages, IBoxes& boxes, SellmeierForm form) {
    if (!countsFit(x.size(), y.size(), sig.size(), count, a.size(), free.size(), ma)) return false;
    StepState& s = s_state;
    if (lambda < 0) {
        s = StepState{};
        for (int l = 0; l < ma; ++l)
            if (free[static_cast<std::size_t>(l)]) ++s.freeCount;
        lambda = 0.001;
        if (!MarquardtCoefficients(x, y, sig, count, a, free, ma, alpha, s.beta, chisq, form)) return false;
        s.lastChisq = chisq;
        for (int l = 0; l < ma; ++l) s.trial[static_cast<std::size_t>(l)] = a[static_cast<std::size_t>(l)];
    }
    const int mfit = s.freeCount;
    if (mfit < 1) return false;

    MatrixD rhs;
    for (int j = 1; j <= mfit; ++j) {
        for (int k = 1; k <= mfit; ++k) covar(j, k) = alpha(j, k);
        covar(j, j) = alpha(j, j) * (1.0 + lambda);
        if (!std::isfinite(covar(j, j))) return false;
        rhs(j, 1) = s.beta[static_cast<std::size_t>(j - 1)];
    }
    if (!GaussJordanSolve(covar, mfit, rhs, 1, showMessages, boxes)) return false;
    for (int j = 1; j <= mfit; ++j) s.step[static_cast<std::size_t>(j - 1)] = rhs(j, 1);

    int j = 0;
    for (int l = 0; l < ma; ++l) {
        const auto pl = static_cast<std::size_t>(l);
        if (free[pl]) s.trial[pl] = a[pl] + s.step[static_cast<std::size_t>(j++)];
    }
    if (!MarquardtCoefficients(x, y, sig, count, std::span<const double>(s.trial.data(), static_cast<std::size_t>(ma)),
                               free, ma, covar, s.step, chisq, form))
        return false;

    s.trialChisq = chisq;
    if (chisq < s.lastChisq) {
        lambda = std::max(lambda * 0.1, kLeastDamping);
        s.lastChisq = chisq;
        for (int jj = 1; jj <= mfit; ++jj) {
            for (int k = 1; k <= mfit; ++k) alpha(jj, k) = covar(jj, k);
            s.beta[static_cast<std::size_t>(jj - 1)] = s.step[static_cast<std::size_t>(jj - 1)];
        }
        for (int l = 0; l < ma; ++l)
            if (free[static_cast<std::size_t>(l)]) a[static_cast<std::size_t>(l)] = s.trial[static_cast<std::size_t>(l)];
    } else {
        lambda *= 10;
        chisq = s.lastChisq;
    }
    // A damping that overflowed can take no further step.
    return std::isfinite(lambda);
}
