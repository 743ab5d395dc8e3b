#include "exchange/TextFileDecode.h"

#include <cstring>

#include "platform/Text1252.h"

namespace {

// True when the bytes are valid UTF-8 holding at least one multi-byte character.
bool looksUtf8(const std::uint8_t* p, std::size_t size) {
    bool multiByte = false;
    std::size_t i = 0;
    // Most files are ASCII: eight bytes at a time up to the first that is not.
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    while (i + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if ((word & kHighBits) != 0) break;
        i += 8;
    }
    while (i < size) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        const std::size_t n = Utf8Sequence(p + i, size - i, cp);
        if (n == 0) return false;
        multiByte = true;
        i += n;
    }
    return multiByte;
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
            out.push_back(Byte1252From(u));
        }
    }
    if (i < size) out.push_back('?');  // odd last byte
    return out;
}

}  // namespace

std::string_view DecodeTextFile(const std::uint8_t* bytes, std::size_t size, std::string& storage,
                                Unmarked unmarked) {
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return storage = fromUtf16(bytes + 2, size - 2, false);
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return storage = fromUtf16(bytes + 2, size - 2, true);
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return storage = Text1252FromUtf8({reinterpret_cast<const char*>(bytes) + 3, size - 3}, BrokenUtf8::Question);
    if (unmarked == Unmarked::kUtf8When && looksUtf8(bytes, size))
        return storage = Text1252FromUtf8({reinterpret_cast<const char*>(bytes), size}, BrokenUtf8::Question);
    return {reinterpret_cast<const char*>(bytes), size};
}

std::string DecodeTextFile(const std::uint8_t* bytes, std::size_t size, Unmarked unmarked) {
    std::string storage;
    const std::string_view text = DecodeTextFile(bytes, size, storage, unmarked);
    if (text.data() == storage.data()) return storage;
    return std::string(text);
}
