// The Levenberg-Marquardt step of the Sellmeier fit: one damped step, the
// curvature matrix it is built on, and the Sellmeier model with its
// derivatives. Arrays are 0-based spans: a[0] is the first parameter, x[0] the
// first point. Everything is in double precision: the Sellmeier terms are so
// nearly alike over a usual range that single precision cannot tell the way
// to the optimum once the fit is within some 1e-6 of the data.
//
// The step keeps its state between calls (the free-parameter count, the last
// accepted chi-square, the trial parameters and their chi-square, beta, the
// step), room for kMaxMatrixOrder parameters: one fit at a time, and each fit
// resets it with its first step (lambda < 0).
#pragma once

#include <cstdint>
#include <span>

#include "model/MatrixCalcs.h"

class IBoxes;

// The iteration does not move the terms' B and C themselves: over a usual
// range two ultraviolet poles act almost as one, as do the infrared ones of a
// range that ends near 1 µm, and the fit would crawl for hundreds of steps
// along the curved valley where they trade places. It moves the coefficients
// of the same function written as one fraction instead,
//   Σ Bi·x/(x − Ci) = x·P(x)/Q(x),  P = Σ pk·x^k (k < m),  Q = x^m + Σ dk·x^k,
// in which that valley is nearly straight: the parameters q of m = ma/2 terms
// are p0..p(m−1), then d0..d(m−1). The poles are the roots of Q, the Bi the
// residues P(Ci)/Q'(Ci).

// Sellmeier coefficients a (B1..Bm, C1..Cm) as the iteration's parameters q.
void ToRationalParameters(std::span<const double> a, std::span<double> q, int ma);
// And back, the poles in the slots of like's poles of the same rank (smallest
// to smallest). False when the poles are not m distinct real numbers, a then
// unchanged.
bool FromRationalParameters(std::span<const double> q, std::span<double> a, int ma, std::span<const double> like);

// The parameters the iteration moves: the terms' own (B's, then C's), or the
// fraction's (p's, then d's).
enum class SellmeierForm { kTerms, kFraction };

// y = Σ Bi·x/(x − Ci) of m = ma/2 terms at the parameters q of form;
// dyda[i] = ∂y/∂q[i].
void SellmeierModel(double x, std::span<const double> q, double& y, std::span<double> dyda, int ma,
                    SellmeierForm form = SellmeierForm::kTerms);

// alpha (the free parameters' curvature, 1-based), beta and chi-square at the
// parameters a of form, every point with uncertainty sig. False when a value
// is not finite or the counts do not fit the arrays.
bool MarquardtCoefficients(std::span<const double> x, std::span<const double> y, std::span<const double> sig, int count,
                           std::span<const double> a, std::span<const std::int16_t> free, int ma, MatrixD& alpha,
                           std::span<double> beta, double& chisq, SellmeierForm form = SellmeierForm::kTerms);

// The least damping: below it a rejected step would need ever more steps to
// get its damping back.
constexpr double kLeastDamping = 1e-15;

// The chi-square of the last step's trial parameters, also when the step was
// rejected: a rejection that leaves it as good as the accepted one means the
// bottom of the valley has been reached.
double MarquardtTrialChisq();

// One damped step. An accepted step (lower chi-square) updates a, alpha and
// chisq and divides lambda by 10 (not below kLeastDamping); a rejected one
// leaves them and multiplies lambda by 10, returning the last accepted
// chi-square. False when the step matrix cannot be solved (the solver's box,
// when showMessages), when a value stops being finite, lambda overflowing
// included, or the counts are out of range.
bool MarquardtStep(std::span<const double> x, std::span<const double> y, std::span<const double> sig, int count,
                   std::span<double> a, std::span<const std::int16_t> free, int ma, MatrixD& covar, MatrixD& alpha,
                   double& chisq, double& lambda, bool showMessages, IBoxes& boxes,
                   SellmeierForm form = SellmeierForm::kTerms);
