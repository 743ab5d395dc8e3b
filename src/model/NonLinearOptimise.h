// The Levenberg-Marquardt step of the Sellmeier fit: one damped step, the
// curvature matrix it is built on, and the Sellmeier model with its
// derivatives. Arrays are 0-based spans: a[0] is the first parameter, x[0] the
// first point. Inside the iteration x goes to the model as a single, and the
// model, the derivatives, the curvature, chi-square and the damping are
// singles; the parameters stay doubles.
//
// The step keeps its state between calls (the free-parameter count, the last
// accepted chi-square, the trial parameters, beta, the step), room for
// kMaxMatrixOrder parameters: one fit at a time, and each fit resets it with
// its first step (lambda < 0).
#pragma once

#include <cstdint>
#include <span>

#include "model/MatrixCalcs.h"

class IBoxes;

// y = Σ a[i]·x/(x − a[i+m]) over m = ma/2 terms; dyda[i] = ∂y/∂a[i].
void SellmeierModel(float x, std::span<const double> a, float& y, std::span<float> dyda, int ma);

// alpha (the free parameters' curvature, 1-based), beta and chi-square at a,
// every point with uncertainty sig. False when a value is not finite or the
// counts do not fit the arrays.
bool MarquardtCoefficients(std::span<const double> x, std::span<const double> y, std::span<const float> sig, int count,
                           std::span<const double> a, std::span<const std::int16_t> free, int ma, MatrixF& alpha,
                           std::span<float> beta, float& chisq);

// One damped step. An accepted step (lower chi-square) updates a, alpha and
// chisq and divides lambda by 10; a rejected one leaves them and multiplies
// lambda by 10, returning the last accepted chi-square. False when the step
// matrix cannot be solved (the solver's box, when showMessages), when a value
// stops being finite, lambda overflowing included, or the counts are out of range.
bool MarquardtStep(std::span<const double> x, std::span<const double> y, std::span<const float> sig, int count,
                   std::span<double> a, std::span<const std::int16_t> free, int ma, MatrixF& covar, MatrixF& alpha,
                   float& chisq, float& lambda, bool showMessages, IBoxes& boxes);
