#include "platform/NumberText.h"

#include <charconv>
#include <system_error>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal magnitude of a number text that matched the grammar: positive for
// values of 1 and above.
bool looksLarge(std::string_view s) {
    long magnitude = 0;
    std::size_t i = 0;
    bool seenNonZero = false;
    while (i < s.size() && isDigit(s[i])) {
        if (s[i] != '0') seenNonZero = true;
        if (seenNonZero) ++magnitude;
        ++i;
    }
    if (!seenNonZero && i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] == '0') --magnitude, ++i;
    }
    while (i < s.size() && s[i] != 'e' && s[i] != 'E') ++i;
    if (i < s.size()) {
        ++i;
        bool neg = false;
        if (s[i] == '+' || s[i] == '-') neg = s[i++] == '-';
        long e = 0;
        while (i < s.size() && e < 100000) e = e * 10 + (s[i++] - '0');
        magnitude += neg ? -e : e;
    }
    return magnitude > 0;
}

}  // namespace

bool ParseNumber(std::string_view text, double& value) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    std::string_view s = text.substr(b, e - b);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;

    // from_chars takes no leading '+', so the sign is applied here.
    double v = 0;
    const char* first = s.data() + mantissaStart;
    const char* last = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ptr != last) return false;
    if (ec == std::errc::result_out_of_range) {
        // Overflow is no number we can hold; underflow reads as zero. The
        // mantissa's first digit tells which: from_chars leaves v unset.
        if (looksLarge(s.substr(mantissaStart))) return false;
        v = 0;
    } else if (ec != std::errc()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

std::string ShortestText(double value) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

std::string ShortestText(float value) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

std::string PlainNumberText(float value) {
    std::string text = ShortestText(value);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}
