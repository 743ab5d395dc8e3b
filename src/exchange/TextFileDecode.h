// Text files from outside the program arrive in Windows-1252, in UTF-8 (with
// or without a byte order mark) or in UTF-16 with a byte order mark. The
// readers work on Windows-1252 bytes, as the record's texts are kept, so every
// file is turned into those bytes first. The program's own files are written
// in Windows-1252, whose bytes may happen to form UTF-8 too: their readers
// take UTF-8 only behind its byte order mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How a file without a byte order mark is taken.
enum class Unmarked {
    kUtf8When,  // as UTF-8 when its bytes are valid UTF-8 with a multi-byte character
    k1252,      // as Windows-1252, always
};

// The file's text as Windows-1252 bytes, byte order mark removed. UTF-16 (FF FE
// or FE FF first) and UTF-8 (EF BB BF first, or without a mark as unmarked
// says) are converted; a character the code page lacks, a broken sequence or a
// lone surrogate becomes '?'. Any other file is taken as Windows-1252 already.
// Line ends are left as they are.
std::string DecodeTextFile(const std::uint8_t* bytes, std::size_t size, Unmarked unmarked = Unmarked::kUtf8When);

// The same without copying a file that needs no conversion: the result views
// bytes then, and otherwise the converted text, which is kept in storage.
std::string_view DecodeTextFile(const std::uint8_t* bytes, std::size_t size, std::string& storage,
                                Unmarked unmarked = Unmarked::kUtf8When);
