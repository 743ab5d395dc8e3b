// Numbers written through a format pattern, the way every cell, label and
// report of the program shows them. "." is always the decimal point, whatever
// the locale.
#pragma once

#include <string>

// The value written by pattern, in the platform's number-format syntax:
//   "0"  a digit that is always shown    "#"  a digit shown only when needed
//   "."  the decimal point               "%"  the value × 100, and a "%"
//   "e+00" / "e-00" (or "E")  scientific notation, at least that many exponent
//   digits, "+" showing the exponent's sign also when it is positive
//   "\x" the character x itself; text in double quotes as it stands
//   ";"  sections: positive-and-zero;negative[;zero]. A negative value in
//        its own section shows no minus sign of its own.
// Any other character is shown as it stands. Rounding is half away from zero on
// the decimal value (15 significant digits for a double, 7 for a single), so
// 0.125 gives "0.13" with "0.00" and 2.675 gives "2.68". An empty pattern gives
// the shortest text (ShortestText); a value that is not finite gives that text too.
std::string Format(double value, const std::string& pattern);
std::string Format(float value, const std::string& pattern);
inline std::string Format(int value, const std::string& pattern) { return Format(static_cast<double>(value), pattern); }

// The general number text: at most 15 significant digits for a double, 7 for a
// single, no trailing zeros, exponent form ("1e-05") only for very small or
// large values. Used where a text must be limited to the precision of its type.
std::string GeneralText(double value);
std::string GeneralText(float value);
