// The formula fits to measured index points: the linear least-squares fits
// (Cauchy, Schott, extended Schott) by orthogonal factors, the
// Levenberg-Marquardt Sellmeier fit with 3 or 5 terms, and the constants
// reports the editor and the melt maker show.
//
// Each fit uses points 1..count of data, works on copies and writes the
// fitted indices, the residuals (of points with a weight other than 0), the
// sum of squares and the coefficients only when it succeeds; a failed fit
// shows its message and leaves definition and data as they were. The formula
// type field is never touched: the caller sets it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/GlassRecord.h"

class IBoxes;

bool FitCauchy(std::int16_t& nTerms, std::int16_t count, std::string& report, GlassDefinition& definition,
               MeasuredData& data, IBoxes& boxes);
bool FitSchott(std::int16_t& nTerms, std::int16_t count, std::string& report, GlassDefinition& definition,
               MeasuredData& data, IBoxes& boxes);
bool FitExtendedSchott(std::int16_t& nTerms, std::int16_t count, std::string& report, GlassDefinition& definition,
                       MeasuredData& data, IBoxes& boxes);

// A Schott formula fitted to the index squared at many wavelengths (L in µm),
// every sample counting equally, for the refit of a formula the program cannot
// keep: least squares by orthogonal factors in the variable L²/x0 (x0 the
// geometric middle of the samples' L²), well conditioned from a range of a few
// nm to one of tens of µm. c receives the coefficients of slots 0..5. On
// failure the Schott fit's box (too few samples, or no solution) and False.
bool FitSchottSamples(std::span<const double> L, std::span<const double> nSquared, std::array<double, 6>& c,
                      IBoxes& boxes);
// The Schott fit's failure text, as its box shows it.
std::string SchottFitFailure();

// nTerms 3 (Sellmeier) or 5 (Sellmeier Plus). The formula must hold over the
// range of the points and the definition's wavelength limits: every formula
// the fit reaches has its poles outside that range, every |B| at most 100 and
// n > 1 all over it, and where none reproduces the points the fit fails. The
// iteration ends as soon as every point is reproduced to half a unit of the
// last decimal the indices are given in (exact indices give no such bound),
// or when a step hardly lowers the sum of squares. With useStart it starts
// from the poles in slots nTerms..2·nTerms−1 of start (the melt maker's
// parent), falling back to its own start when they lead nowhere. Five terms
// end with the better of the five-term iteration and the three-term answer
// with two terms of no strength, never worse than three. Points without
// dispersion end at once. Every 30th step of the three-term iteration asks
// whether to go on; without showMessages no box is shown and the fit gives up
// there instead.
bool FitSellmeier(std::int16_t count, std::int16_t nTerms, std::string& report, GlassDefinition& definition,
                  MeasuredData& data, const GlassDefinition& start, bool useStart, bool showMessages, IBoxes& boxes);

// The constants of the definition's current slots, prefix first; no final line break.
std::string CauchyReport(const GlassDefinition& definition, const std::string& prefix);
std::string SchottReport(const GlassDefinition& definition, const std::string& prefix);
std::string ExtendedSchottReport(const GlassDefinition& definition, const std::string& prefix);
std::string SellmeierReport(const GlassDefinition& definition, const std::string& prefix);

// All 14 slots 0, then slot k = c[k] for the (at most 14) values given.
void StoreCoefficients(GlassDefinition& definition, std::span<const double> c);
