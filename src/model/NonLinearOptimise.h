// The Levenberg-Marquardt iteration of the Sellmeier fit.
//
// The iteration moves the poles only. For any set of poles the B's are linear
// and are solved by least squares (variable projection), so each step sees
// the best formula the poles allow, and a valley along which terms trade
// strength against each other cannot slow it down. The poles themselves are
// moved as the coefficients of the denominator of
//   Σ Bi·s/(s − ci) = s·P(s)/Q(s),   Q(s) = Σ qk·s^k (k = 0..m),
// in s = x/x0 (x0 the geometric middle of the range): two poles that
// approach each other, or a pole that leaves for infinity, are ordinary
// points of Q's coefficients. One coefficient is held at 1, that of s^u with
// u the number of poles below the range: the one that two ultraviolet poles
// meeting, or an infrared pole leaving, never make 0.
//
// Only sound formulas are ever accepted: m distinct real poles, none inside
// the range, every |B| at most kLargestSellmeierB and n > 1 all over the
// range. A step to anything else is refused like one that raises the sum of
// squares.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/GlassRecord.h"
#include "model/MatrixCalcs.h"

constexpr int kMaxSellmeierTerms = 5;
// Terms stronger than this only cancel each other: they reproduce the points
// and nothing else, and multiply every rounding of their reader.
constexpr double kLargestSellmeierB = 100;

// The points of one fit and the range its formula must hold over, which
// spans the points.
struct SellmeierPoints {
    std::span<const double> x;  // L², µm²
    std::span<const double> y;  // n² − 1
    double xLow = 0, xHigh = 0;
};

// A sound formula of m terms and what the next step is built from.
struct SellmeierTrial {
    int m = 0;
    std::array<double, kMaxSellmeierTerms> b{}, c{};  // B's and poles (µm²), poles ascending
    double chisq = 0;
    std::array<double, kMaxIndexPoints> model{};  // Σ Bi·x/(x − Ci) at the points
    // The columns x/(x − Ci) made orthonormal, point by point, for the step's
    // projection.
    std::array<std::array<double, kMaxSellmeierTerms>, kMaxIndexPoints> basis{};
};

// Where the iteration stands: the denominator's coefficients, which of them
// is held, the scale, the damping and the formula they make.
struct SellmeierIteration {
    int m = 0;
    int held = 0;
    double x0 = 1;
    std::array<double, kMaxSellmeierTerms + 1> q{};
    double lambda = 0.001;
    SellmeierTrial current;
    double trialChisq = 0;  // of the last step's trial, refused or not; -1 when it was not sound
};

// y = Σ Bi·x/(x − Ci) of m = ma/2 terms, a = B1..Bm, C1..Cm; dyda[i] = ∂y/∂a[i].
void SellmeierModel(double x, std::span<const double> a, double& y, std::span<double> dyda, int ma);

// Whether the formula of m terms, B's b and poles c (µm²), is sound over the
// points' range; when it is, model receives its values at the points and
// chisq their sum of squares.
bool SellmeierFormulaSound(const SellmeierPoints& points, std::span<const double> b, std::span<const double> c, int m,
                           std::span<double> model, double& chisq);

// The sound formula with these poles (µm², any order), its B's solved by
// least squares; False when there is none.
bool SellmeierWithPoles(const SellmeierPoints& points, std::span<const double> poles, int m, SellmeierTrial& trial);

// Starts the iteration at the given poles (µm²); False when they make no
// sound formula.
bool StartSellmeierIteration(const SellmeierPoints& points, std::span<const double> poles, int m,
                             SellmeierIteration& it);

// The curvature matrix alpha (1-based, m × m) and beta of the free
// coefficients at the current formula, for the step that best lowers the sum
// of squares when the B's follow the poles.
void MarquardtCoefficients(const SellmeierPoints& points, const SellmeierIteration& it, MatrixD& alpha,
                           std::span<double> beta);

enum class MarquardtOutcome { kAccepted, kRejected };

// One damped step: accepted when it leads to a sound formula with a smaller
// sum of squares (a trial that is not sound is first shortened, halving it a
// few times), which becomes current and divides lambda by 10; otherwise
// lambda is multiplied by 10. A step matrix that cannot be solved counts as
// rejected.
MarquardtOutcome MarquardtStep(const SellmeierPoints& points, SellmeierIteration& it);
