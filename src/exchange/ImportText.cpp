#include "exchange/ImportText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

// The powers of ten a double holds exactly.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

std::size_t TextCursor::count(std::string_view text) const {
    std::size_t n = 0;
    for (std::size_t at = m_text.find(text, m_pos); at != std::string_view::npos; at = m_text.find(text, at + 1))
        ++n;
    return n;
}

bool TextCursor::readLine(std::string_view& line) {
    if (atEnd()) return false;
    m_lastLine = m_line;
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !isLineEnd(m_text[m_pos])) ++m_pos;
    line = m_text.substr(start, m_pos - start);
    skipLineEnd();
    return true;
}

bool TextCursor::atLine(std::string_view text) const {
    if (m_pos != 0 && !isLineEnd(m_text[m_pos - 1])) return false;
    if (atEnd()) return false;
    const std::string_view rest = m_text.substr(m_pos);
    return rest.starts_with(text) && (rest.size() == text.size() || isLineEnd(rest[text.size()]));
}

bool TextCursor::readItem(std::string_view& item) {
    while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
    if (atEnd()) return false;
    if (m_text[m_pos] == '"') {
        const std::size_t start = ++m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != '"' && !isLineEnd(m_text[m_pos])) ++m_pos;
        item = m_text.substr(start, m_pos - start);
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos])) ++m_pos;
    } else {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos])) ++m_pos;
        std::size_t end = m_pos;
        while (end > start && isBlank(m_text[end - 1])) --end;
        item = m_text.substr(start, end - start);
    }
    if (m_pos < m_text.size() && m_text[m_pos] == ',') {
        ++m_pos;
    } else {
        skipLineEnd();
    }
    return true;
}

bool TextCursor::onlyBlanksLeft() const {
    for (std::size_t i = m_pos; i < m_text.size(); ++i)
        if (!isBlank(m_text[i]) && !isLineEnd(m_text[i])) return false;
    return true;
}

void TextCursor::skipLineEnd() {
    if (m_pos >= m_text.size()) return;
    if (m_text[m_pos] == '\r') {
        ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
        ++m_line;
    } else if (m_text[m_pos] == '\n') {
        ++m_pos;
        ++m_line;
    }
}

void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    const char* p = line.data();
    const char* const end = p + line.size();
    for (;;) {
        while (p != end && (*p == ' ' || *p == '\t')) ++p;
        if (p == end) return;
        const char* start = p;
        while (p != end && *p != ' ' && *p != '\t') ++p;
        fields.emplace_back(start, static_cast<std::size_t>(p - start));
    }
}

double Val(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    // The significant digits as a whole number too, for the quick road below.
    std::uint64_t mantissa = 0;
    int significant = 0, decimals = 0;
    std::size_t digits = 0;
    auto takeDigit = [&](char c, bool afterPoint) {
        ++digits;
        if (afterPoint) ++decimals;
        if (mantissa == 0 && c == '0') return;  // a leading zero
        if (++significant <= 19) mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    };
    while (i < n && text[i] >= '0' && text[i] <= '9') takeDigit(text[i++], false);
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9') takeDigit(text[i++], true);
    }
    if (digits == 0) return 0;
    const std::size_t mantissaEnd = i;
    // The exponent counts only when digits follow its letter.
    std::size_t expSign = 0, expDigitsStart = 0, expEnd = 0;
    int exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) expSign = j++;
        const std::size_t d = j;
        while (j < n && text[j] >= '0' && text[j] <= '9') {
            if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
            ++j;
        }
        if (j > d) {
            expDigitsStart = d;
            expEnd = j;
            if (expSign != 0 && text[expSign] == '-') exponent = -exponent;
        } else {
            exponent = 0;
        }
    }

    // The quick road: at most 15 digits and a power of ten a double holds
    // exactly, so one multiplication or division rounds correctly.
    const int scale = exponent - decimals;
    if (significant <= 15 && scale >= -22 && scale <= 22) {
        const auto m = static_cast<double>(mantissa);
        const double value = scale >= 0 ? m * kPow10[scale] : m / kPow10[-scale];
        return negative ? -value : value;
    }

    double value = 0;
    std::from_chars_result r{};
    if (expEnd == 0) {
        r = std::from_chars(text.data() + start, text.data() + mantissaEnd, value, std::chars_format::fixed);
    } else if (text[mantissaEnd] == 'e' || text[mantissaEnd] == 'E') {
        r = std::from_chars(text.data() + start, text.data() + expEnd, value, std::chars_format::general);
    } else {
        // A "D" exponent: the same number with an "e", in a buffer of its own.
        char buffer[400];
        const std::size_t mantissaLength = mantissaEnd - start;
        const std::size_t exponentLength = expEnd - expDigitsStart;
        if (mantissaLength + exponentLength + 2 > sizeof buffer) return 0;
        std::size_t k = 0;
        for (std::size_t m = start; m < mantissaEnd; ++m) buffer[k++] = text[m];
        buffer[k++] = 'e';
        if (expSign != 0 && text[expSign] == '-') buffer[k++] = '-';
        for (std::size_t m = expDigitsStart; m < expEnd; ++m) buffer[k++] = text[m];
        r = std::from_chars(buffer, buffer + k, value, std::chars_format::general);
    }
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow is 0; a number beyond a double is none the program can hold.
        return 0;
    }
    if (r.ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

namespace {

// The quick road of a whole plain decimal into a double, exact or False.
bool quickDouble(std::string_view text, double& value) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t mantissa = 0;
    int significant = 0, decimals = 0;
    const char* const digitsStart = p;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        if (mantissa == 0 && *p == '0') continue;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        if (++significant > 15) return false;
    }
    if (p == digitsStart) return false;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            ++decimals;
            if (mantissa == 0 && *p == '0') continue;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            if (++significant > 15) return false;
        }
        if (p == fraction) return false;
    }
    int exponent = 0;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p != end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
        const char* const exponentStart = p;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            exponent = exponent * 10 + (*p - '0');
            if (exponent > 100) return false;
        }
        if (p == exponentStart) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (p != end) return false;
    const int scale = exponent - decimals;
    if (scale < -22 || scale > 22) return false;
    const auto m = static_cast<double>(mantissa);
    const double v = scale >= 0 ? m * kPow10[scale] : m / kPow10[-scale];
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool QuickDecimal(std::string_view text, double& value) { return quickDouble(text, value); }

bool QuickDecimal(std::string_view text, float& value) {
    double d = 0;
    if (!quickDouble(text, d)) return false;
    // The double is the decimal rounded once; rounding it again to a single
    // gives the single nearest to the decimal unless the double lies on, or
    // next to, the midway point between two singles. Those, and results
    // outside the normal singles, take the full road.
    const double magnitude = std::fabs(d);
    if (magnitude != 0 && (magnitude < static_cast<double>(std::numeric_limits<float>::min()) ||
                           magnitude > static_cast<double>(std::numeric_limits<float>::max())))
        return false;
    const std::uint64_t below = std::bit_cast<std::uint64_t>(d) & ((std::uint64_t{1} << 29) - 1);
    constexpr std::uint64_t kMidway = std::uint64_t{1} << 28;
    if (below >= kMidway - 1 && below <= kMidway + 1) return false;
    value = static_cast<float>(d);
    return true;
}

float ValSingle(std::string_view text) {
    const double v = Val(text);
    return std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max()) ? static_cast<float>(v) : 0.0f;
}

bool WholeNumber(double value, std::int64_t min, std::int64_t max, std::int64_t& result) {
    if (!std::isfinite(value)) return false;
    const double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (r < static_cast<double>(min) || r > static_cast<double>(max)) return false;
    result = static_cast<std::int64_t>(r);
    return true;
}
