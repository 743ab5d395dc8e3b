// Numbers as text, independent of the locale: "." is always the decimal point.
#pragma once

#include <string>
#include <string_view>

// True when the whole text is one number of the grammar
//   blanks* [+|-] (digits [. digits*] | . digits) [(e|E) [+|-] digits] blanks*
// and, on True, value holds it. "nan", "inf", "0x1A", "1,5", "1.5 e-3" and ""
// are not numbers. value is left unchanged on False.
bool ParseNumber(std::string_view text, double& value);
inline bool IsNumberText(std::string_view text) {
    double v;
    return ParseNumber(text, v);
}

// The shortest text that reads back to the same value ("0.1", "1e-06", "1.5").
std::string ShortestText(double value);
std::string ShortestText(float value);

// The platform's plain conversion of a number to text: the shortest text, its
// exponent written with "E" ("3E-06", "1.5E+20").
std::string PlainNumberText(float value);

// The text ShortestText(value) gives, written into [first, last) without a
// string: the end of what was written. The common values of material files
// (a few significant digits in fixed notation) take a quicker road to the
// very same characters.
char* ShortestChars(char* first, char* last, float value);
