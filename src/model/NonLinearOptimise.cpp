#include "model/NonLinearOptimise.h"

#include <array>
#include <cmath>

namespace {

struct StepState {
    int freeCount = 0;
    float lastChisq = 0;
    std::array<double, kMaxMatrixOrder> trial{};
    std::array<float, kMaxMatrixOrder> beta{};
    std::array<float, kMaxMatrixOrder> step{};
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

void SellmeierModel(float x, std::span<const double> a, float& y, std::span<float> dyda, int ma) {
    const int m = ma / 2;
    const double xd = x;
    y = 0;
    for (int i = 0; i < m; ++i) {
        const double b = a[static_cast<std::size_t>(i)];
        const double d = xd - a[static_cast<std::size_t>(i + m)];
        y = static_cast<float>(y + b * xd / d);
        dyda[static_cast<std::size_t>(i)] = static_cast<float>(xd / d);
        dyda[static_cast<std::size_t>(i + m)] = static_cast<float>(b * xd / (d * d));
    }
}

bool MarquardtCoefficients(std::span<const double> x, std::span<const double> y, std::span<const float> sig, int count,
                           std::span<const double> a, std::span<const std::int16_t> free, int ma, MatrixF& alpha,
                           std::span<float> beta, float& chisq) {
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
    std::array<float, kMaxMatrixOrder> dyda{};
    for (int i = 0; i < count; ++i) {
        const auto pi = static_cast<std::size_t>(i);
        float ymod = 0;
        SellmeierModel(static_cast<float>(x[pi]), a, ymod, dyda, ma);
        const float sig2i = 1.0f / (sig[pi] * sig[pi]);
        const float dy = static_cast<float>(y[pi] - ymod);
        int j = 0;
        for (int l = 0; l < ma; ++l) {
            if (!free[static_cast<std::size_t>(l)]) continue;
            const float wt = dyda[static_cast<std::size_t>(l)] * sig2i;
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

bool MarquardtStep(std::span<const double> x, std::span<const double> y, std::span<const float> sig, int count,
                   std::span<double> a, std::span<const std::int16_t> free, int ma, MatrixF& covar, MatrixF& alpha,
                   float& chisq, float& lambda, bool showMessages, IBoxes& boxes) {
    if (!countsFit(x.size(), y.size(), sig.size(), count, a.size(), free.size(), ma)) return false;
    StepState& s = s_state;
    if (lambda < 0) {
        s = StepState{};
        for (int l = 0; l < ma; ++l)
            if (free[static_cast<std::size_t>(l)]) ++s.freeCount;
        lambda = 0.001f;
        if (!MarquardtCoefficients(x, y, sig, count, a, free, ma, alpha, s.beta, chisq)) return false;
        s.lastChisq = chisq;
        for (int l = 0; l < ma; ++l) s.trial[static_cast<std::size_t>(l)] = a[static_cast<std::size_t>(l)];
    }
    const int mfit = s.freeCount;
    if (mfit < 1) return false;

    MatrixF rhs;
    for (int j = 1; j <= mfit; ++j) {
        for (int k = 1; k <= mfit; ++k) covar(j, k) = alpha(j, k);
        covar(j, j) = static_cast<float>(alpha(j, j) * (1.0 + lambda));
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
                               free, ma, covar, s.step, chisq))
        return false;

    if (chisq < s.lastChisq) {
        lambda = static_cast<float>(lambda * 0.1);
        s.lastChisq = chisq;
        for (int jj = 1; jj <= mfit; ++jj) {
            for (int k = 1; k <= mfit; ++k) alpha(jj, k) = covar(jj, k);
            s.beta[static_cast<std::size_t>(jj - 1)] = s.step[static_cast<std::size_t>(jj - 1)];
        }
        for (int l = 0; l < ma; ++l)
            if (free[static_cast<std::size_t>(l)]) a[static_cast<std::size_t>(l)] = s.trial[static_cast<std::size_t>(l)];
    } else {
        lambda = static_cast<float>(lambda * 10.0);
        chisq = s.lastChisq;
    }
    // A damping that overflowed can take no further step.
    return std::isfinite(lambda);
}
