#include "exchange/TextFileDecode.h"

namespace {

// Unicode of the bytes 0x80..0x9F of Windows-1252. The five bytes the code page
// leaves undefined map to the C1 control of the same value, as Windows does.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toCodePage(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHighTable[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

// Length of the well-formed UTF-8 sequence at p (RFC 3629: no overlong forms,
// no surrogates, nothing above U+10FFFF), or 0.
std::size_t utf8Sequence(const std::uint8_t* p, std::size_t left, char32_t& cp) {
    const std::uint8_t b = p[0];
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

// True when the bytes are valid UTF-8 holding at least one multi-byte character.
bool looksUtf8(const std::uint8_t* p, std::size_t size) {
    bool multiByte = false;
    std::size_t i = 0;
    while (i < size) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        const std::size_t n = utf8Sequence(p + i, size - i, cp);
        if (n == 0) return false;
        multiByte = true;
        i += n;
    }
    return multiByte;
}

std::string fromUtf8(const std::uint8_t* p, std::size_t size) {
    std::string out;
    out.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        char32_t cp;
        const std::size_t n = utf8Sequence(p + i, size - i, cp);
        if (n == 0) {
            out.push_back('?');
            ++i;
        } else {
            out.push_back(toCodePage(cp));
            i += n;
        }
    }
    return out;
}

std::string fromUtf16(const std::uint8_t* p, std::size_t size, bool bigEndian) {
    std::string out;
    out.reserve(size / 2 + 1);
    auto unit = [&](std::size_t i) -> char16_t {
        return bigEndian ? static_cast<char16_t>(p[i] << 8 | p[i + 1])
                         : static_cast<char16_t>(p[i + 1] << 8 | p[i]);
    };
    std::size_t i = 0;
    while (i + 1 < size) {
        const char16_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < size) {
            const char16_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) i += 2;  // a pair: outside the code page anyway
            out.push_back('?');
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back('?');
        } else {
            out.push_back(toCodePage(u));
        }
    }
    if (i < size) out.push_back('?');  // odd last byte
    return out;
}

}  // namespace

std::string DecodeTextFile(const std::uint8_t* bytes, std::size_t size) {
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return fromUtf16(bytes + 2, size - 2, false);
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return fromUtf16(bytes + 2, size - 2, true);
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return fromUtf8(bytes + 3, size - 3);
    if (looksUtf8(bytes, size)) return fromUtf8(bytes, size);
    return std::string(reinterpret_cast<const char*>(bytes), size);
}
