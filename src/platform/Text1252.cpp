#include "platform/Text1252.h"

namespace {

// Unicode of the bytes 0x80..0x9F.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    return std::string(text.substr(b, e - b));
}

std::string UpperCase1252(std::string_view text) {
    std::string out(text);
    MakeUpperCase1252(out);
    return out;
}

void MakeUpperCase1252(std::string& text) {
    for (char& ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z') {
            ch = static_cast<char>(c - 32);
        } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
            ch = static_cast<char>(c - 32);
        } else if (c == 0x9A || c == 0x9C || c == 0x9E) {  // š œ ž
            ch = static_cast<char>(c - 16);
        } else if (c == 0xFF) {  // ÿ
            ch = static_cast<char>(0x9F);
        }
    }
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

char16_t UnicodeFrom1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

char Byte1252From(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

std::size_t Utf8Sequence(const unsigned char* p, std::size_t left, char32_t& cp) {
    if (left == 0) return 0;
    const unsigned char b = p[0];
    std::size_t n;
    char32_t min;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        n = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

std::string Utf8From1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) appendUtf8(out, UnicodeFrom1252(static_cast<unsigned char>(ch)));
    return out;
}

std::string Text1252FromUtf8(std::string_view text, BrokenUtf8 broken) {
    std::string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        const std::size_t n = Utf8Sequence(p + i, text.size() - i, cp);
        if (n == 0) {
            out.push_back(broken == BrokenUtf8::Question ? '?' : static_cast<char>(p[i]));
            ++i;
        } else {
            out.push_back(Byte1252From(cp));
            i += n;
        }
    }
    return out;
}
