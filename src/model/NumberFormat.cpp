#include "model/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/NumberText.h"

namespace {

// One section of a pattern, split into the literal text around one number field.
struct Section {
    std::string prefix;  // literals before the number field
    std::string suffix;  // literals after it
    bool hasNumber = false;
    int intZeros = 0;      // "0" before the point: digits always shown
    int intDigits = 0;     // "0" and "#" before the point
    bool hasPoint = false;
    int decZeros = 0;      // decimals always shown
    int decDigits = 0;     // decimals at most
    bool percent = false;
    bool scientific = false;
    bool exponentPlus = false;
    char exponentChar = 'e';
    int expZeros = 0;
};

std::vector<std::string> splitSections(const std::string& pattern) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (!quoted && c == '\\' && i + 1 < pattern.size()) {
            parts.back() += c;
            parts.back() += pattern[++i];
        } else if (c == '"') {
            quoted = !quoted;
            parts.back() += c;
        } else if (!quoted && c == ';') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

Section parseSection(const std::string& text) {
    Section s;
    enum { kBefore, kInteger, kDecimals, kExponent, kAfter } where = kBefore;
    auto literal = [&](char c) {
        if (where == kBefore) s.prefix += c;
        else {
            s.suffix += c;
            where = kAfter;
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 < text.size()) literal(text[++i]);
        } else if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) literal(text[i]);
        } else if ((c == '0' || c == '#') && where != kAfter) {
            s.hasNumber = true;
            if (where == kBefore || where == kInteger) {
                where = kInteger;
                ++s.intDigits;
                if (c == '0') ++s.intZeros;
            } else if (where == kDecimals) {
                ++s.decDigits;
                if (c == '0') s.decZeros = s.decDigits;  // a "0" after a "#" makes both shown
            } else {
                if (c == '0') ++s.expZeros;
            }
        } else if (c == '.' && (where == kBefore || where == kInteger)) {
            s.hasNumber = true;
            s.hasPoint = true;
            where = kDecimals;
        } else if ((c == 'e' || c == 'E') && (where == kInteger || where == kDecimals) && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            s.scientific = true;
            s.exponentChar = c;
            s.exponentPlus = text[++i] == '+';
            where = kExponent;
        } else {
            if (c == '%') s.percent = true;
            literal(c);
        }
    }
    return s;
}

// The decimal digits of a finite, non-negative value to `precision` significant
// digits: value = 0.digits × 10^pointPos; no digits for 0.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

template <class T>
Decimal toDecimal(T value, int precision) {
    Decimal d;
    if (value == 0) return d;
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
    if (ec != std::errc()) return d;
    const std::string text(buf, ptr);
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    d.pointPos = std::atoi(text.c_str() + e + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.pointPos = 0;
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
void roundDigits(Decimal& d, int keep) {
    if (keep < 0) {
        d = Decimal{};
        return;
    }
    if (static_cast<std::size_t>(keep) >= d.digits.size()) return;
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) ++d.digits[static_cast<std::size_t>(i)];
        else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.pointPos = 0;
}

// Digit k of the decimal (0 = the first after the point when pointPos is 0).
char digitAt(const Decimal& d, int k) {
    return k >= 0 && static_cast<std::size_t>(k) < d.digits.size() ? d.digits[static_cast<std::size_t>(k)] : '0';
}

std::string fractionText(const Decimal& d, int first, const Section& s) {
    std::string frac;
    for (int k = 0; k < s.decDigits; ++k) frac += digitAt(d, first + k);
    while (static_cast<int>(frac.size()) > s.decZeros && frac.back() == '0') frac.pop_back();
    return frac;
}

std::string fixedText(Decimal d, const Section& s) {
    roundDigits(d, d.pointPos + s.decDigits);
    std::string whole;
    for (int k = 0; k < d.pointPos; ++k) whole += digitAt(d, k);
    if (static_cast<int>(whole.size()) < s.intZeros) whole.insert(0, static_cast<std::size_t>(s.intZeros) - whole.size(), '0');
    std::string out = whole;
    if (s.hasPoint) out += '.' + fractionText(d, d.pointPos, s);
    return out;
}

std::string scientificText(Decimal d, const Section& s) {
    const int lead = s.intDigits > 0 ? s.intDigits : 1;
    int exponent = 0;
    if (!d.digits.empty()) {
        roundDigits(d, lead + s.decDigits);
        exponent = d.pointPos - lead;
    }
    std::string out;
    for (int k = 0; k < lead; ++k) out += digitAt(d, k);
    if (s.hasPoint) out += '.' + fractionText(d, lead, s);
    std::string expDigits = std::to_string(std::abs(exponent));
    if (static_cast<int>(expDigits.size()) < s.expZeros)
        expDigits.insert(0, static_cast<std::size_t>(s.expZeros) - expDigits.size(), '0');
    out += s.exponentChar;
    if (exponent < 0) out += '-';
    else if (s.exponentPlus) out += '+';
    return out + expDigits;
}

template <class T>
std::string formatValue(T value, const std::string& pattern, int precision) {
    if (pattern.empty() || !std::isfinite(value)) return ShortestText(value);
    const std::vector<std::string> parts = splitSections(pattern);
    std::string sectionText = parts[0];
    bool minus = value < 0;
    if (value < 0 && parts.size() >= 2 && !parts[1].empty()) {
        sectionText = parts[1];
        minus = false;
    } else if (value == 0 && parts.size() >= 3 && !parts[2].empty()) {
        sectionText = parts[2];
    }
    const Section s = parseSection(sectionText);
    if (!s.hasNumber) return (minus ? "-" : "") + s.prefix + s.suffix;
    T magnitude = value < 0 ? -value : value;
    if (s.percent) magnitude *= 100;
    const Decimal d = toDecimal(magnitude, precision);
    const std::string number = s.scientific ? scientificText(d, s) : fixedText(d, s);
    return (minus ? "-" : "") + s.prefix + number + s.suffix;
}

template <class T>
std::string generalText(T value, int precision) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

}  // namespace

std::string Format(double value, const std::string& pattern) { return formatValue(value, pattern, 15); }
std::string Format(float value, const std::string& pattern) { return formatValue(value, pattern, 7); }

std::string GeneralText(double value) { return generalText(value, 15); }
std::string GeneralText(float value) { return generalText(value, 7); }
