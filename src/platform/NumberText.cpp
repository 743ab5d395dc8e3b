#include "platform/NumberText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
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
    return std::string(buf, ShortestChars(buf, buf + sizeof buf, value));
}

namespace {

// Shortest decimal digits of a float (digits x 10^exponent), after the
// Schubfach method: the value's rounding interval is scaled by a power of ten
// taken from the table below (10^k rounded up to 64 significant bits), so
// that at most two candidates, with one decimal less or not, need a look.
struct Decimal {
    std::uint32_t digits;
    int exponent;
};

std::uint64_t pow10Rounded(int k) {
    // ceil(10^k * 2^-r) with r such that the result lies in [2^63, 2^64), k = -31..45.
    static constexpr std::uint64_t kTable[] = {
        0x81CEB32C4B43FCF5, 0xA2425FF75E14FC32, 0xCAD2F7F5359A3B3F,
        0xFD87B5F28300CA0E, 0x9E74D1B791E07E49, 0xC612062576589DDB,
        0xF79687AED3EEC552, 0x9ABE14CD44753B53, 0xC16D9A0095928A28,
        0xF1C90080BAF72CB2, 0x971DA05074DA7BEF, 0xBCE5086492111AEB,
        0xEC1E4A7DB69561A6, 0x9392EE8E921D5D08, 0xB877AA3236A4B44A,
        0xE69594BEC44DE15C, 0x901D7CF73AB0ACDA, 0xB424DC35095CD810,
        0xE12E13424BB40E14, 0x8CBCCC096F5088CC, 0xAFEBFF0BCB24AAFF,
        0xDBE6FECEBDEDD5BF, 0x89705F4136B4A598, 0xABCC77118461CEFD,
        0xD6BF94D5E57A42BD, 0x8637BD05AF6C69B6, 0xA7C5AC471B478424,
        0xD1B71758E219652C, 0x83126E978D4FDF3C, 0xA3D70A3D70A3D70B,
        0xCCCCCCCCCCCCCCCD, 0x8000000000000000, 0xA000000000000000,
        0xC800000000000000, 0xFA00000000000000, 0x9C40000000000000,
        0xC350000000000000, 0xF424000000000000, 0x9896800000000000,
        0xBEBC200000000000, 0xEE6B280000000000, 0x9502F90000000000,
        0xBA43B74000000000, 0xE8D4A51000000000, 0x9184E72A00000000,
        0xB5E620F480000000, 0xE35FA931A0000000, 0x8E1BC9BF04000000,
        0xB1A2BC2EC5000000, 0xDE0B6B3A76400000, 0x8AC7230489E80000,
        0xAD78EBC5AC620000, 0xD8D726B7177A8000, 0x878678326EAC9000,
        0xA968163F0A57B400, 0xD3C21BCECCEDA100, 0x84595161401484A0,
        0xA56FA5B99019A5C8, 0xCECB8F27F4200F3A, 0x813F3978F8940985,
        0xA18F07D736B90BE6, 0xC9F2C9CD04674EDF, 0xFC6F7C4045812297,
        0x9DC5ADA82B70B59E, 0xC5371912364CE306, 0xF684DF56C3E01BC7,
        0x9A130B963A6C115D, 0xC097CE7BC90715B4, 0xF0BDC21ABB48DB21,
        0x96769950B50D88F5, 0xBC143FA4E250EB32, 0xEB194F8E1AE525FE,
        0x92EFD1B8D0CF37BF, 0xB7ABC627050305AE, 0xE596B7B0C643C71A,
        0x8F7E32CE7BEA5C70, 0xB35DBF821AE4F38C,
    };
    return kTable[k + 31];
}

int floorLog2Pow10(int e) { return (e * 1741647) >> 19; }
int floorLog10Pow2(int e) { return (e * 1262611) >> 22; }
int floorLog10ThreeQuartersPow2(int e) { return (e * 1262611 - 524031) >> 22; }

std::uint32_t roundToOdd(std::uint64_t g, std::uint32_t cp) {
    const unsigned __int128 p = static_cast<unsigned __int128>(g) * cp;
    const auto y1 = static_cast<std::uint32_t>(p >> 64);
    const auto y0 = static_cast<std::uint32_t>(p >> 32);
    return y1 | (y0 > 1 ? 1u : 0u);
}

// value finite and above 0.
Decimal shortestDecimal(float value) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t fraction = bits & 0x7FFFFF;
    const std::uint32_t biased = bits >> 23;
    std::uint32_t c;
    int q;
    if (biased != 0) {
        c = fraction | 0x800000;
        q = static_cast<int>(biased) - 150;
    } else {
        c = fraction;
        q = -149;
    }
    const bool even = c % 2 == 0;
    const bool lowerCloser = fraction == 0 && biased > 1;
    const std::uint32_t cbl = 4 * c - 2 + (lowerCloser ? 1 : 0);
    const std::uint32_t cb = 4 * c;
    const std::uint32_t cbr = 4 * c + 2;
    const int k = lowerCloser ? floorLog10ThreeQuartersPow2(q) : floorLog10Pow2(q);
    const int h = q + floorLog2Pow10(-k) + 1;
    const std::uint64_t pow10 = pow10Rounded(-k);
    const std::uint32_t vbl = roundToOdd(pow10, cbl << h);
    const std::uint32_t vb = roundToOdd(pow10, cb << h);
    const std::uint32_t vbr = roundToOdd(pow10, cbr << h);
    const std::uint32_t lower = vbl + (even ? 0 : 1);
    const std::uint32_t upper = vbr - (even ? 0 : 1);
    const std::uint32_t s = vb / 4;
    if (s >= 10) {
        const std::uint32_t sp = s / 10;
        const bool upInside = lower <= 40 * sp;
        const bool wpInside = 40 * sp + 40 <= upper;
        if (upInside != wpInside) return {sp + (wpInside ? 1u : 0u), k + 1};
    }
    const bool uInside = lower <= 4 * s;
    const bool wInside = 4 * s + 4 <= upper;
    if (uInside != wInside) return {s + (wInside ? 1u : 0u), k};
    const std::uint32_t mid = 4 * s + 2;
    const bool roundUp = vb > mid || (vb == mid && (s & 1) != 0);
    return {s + (roundUp ? 1u : 0u), k};
}

}  // namespace

char* ShortestChars(char* first, char* last, float value) {
    if (last - first < 32 || !std::isfinite(value)) {
        const auto r = std::to_chars(first, last, value);
        return r.ec == std::errc() ? r.ptr : first;
    }
    char* out = first;
    if (std::signbit(value)) *out++ = '-';
    if (value == 0) {
        *out++ = '0';
        return out;
    }
    Decimal d = shortestDecimal(std::fabs(value));
    while (d.digits % 10 == 0) d.digits /= 10, ++d.exponent;
    // The digits, two at a time, into the end of buf; buf[i] is the digit of 10^i.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char buf[12];
    int n = 0;
    std::uint32_t v = d.digits;
    while (v >= 100) {
        const std::uint32_t pair = v % 100;
        v /= 100;
        buf[n++] = kPairs[2 * pair + 1];
        buf[n++] = kPairs[2 * pair];
    }
    if (v >= 10) {
        buf[n++] = kPairs[2 * v + 1];
        buf[n++] = kPairs[2 * v];
    } else {
        buf[n++] = static_cast<char>('0' + v);
    }
    // The fixed form unless the scientific one is shorter, as std::to_chars chooses.
    const int point = n + d.exponent;  // digits before the decimal point
    const int fixedLength = d.exponent >= 0 ? point : (point > 0 ? n + 1 : 2 - d.exponent);
    const int scientific = point - 1;
    const int scientificLength = n + (n > 1 ? 1 : 0) + 2 + (scientific >= 100 || scientific <= -100 ? 3 : 2);
    if (fixedLength <= scientificLength) {
        if (point <= 0) {
            *out++ = '0';
            *out++ = '.';
            for (int i = point; i < 0; ++i) *out++ = '0';
            for (int i = n - 1; i >= 0; --i) *out++ = buf[i];
        } else if (point > n) {
            // A whole number written out in full is its exact value, not the
            // shortest digits padded with zeros (6528615424, not 6528615400).
            const auto whole = static_cast<std::uint64_t>(std::fabs(value));
            return std::to_chars(out, last, whole).ptr;
        } else {
            for (int i = n - 1; i >= 0; --i) {
                *out++ = buf[i];
                if (n - i == point && i > 0) *out++ = '.';
            }
        }
        return out;
    }
    *out++ = buf[n - 1];
    if (n > 1) {
        *out++ = '.';
        for (int i = n - 2; i >= 0; --i) *out++ = buf[i];
    }
    *out++ = 'e';
    *out++ = scientific < 0 ? '-' : '+';
    const int e = scientific < 0 ? -scientific : scientific;
    *out++ = static_cast<char>('0' + e / 10);
    *out++ = static_cast<char>('0' + e % 10);
    return out;
}

std::string PlainNumberText(float value) {
    std::string text = ShortestText(value);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}
