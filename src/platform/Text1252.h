// Texts as the program keeps them: one Windows-1252 byte per character, as in
// the files. The one table between the code page and Unicode lives here; the
// window boundary, the readers of outside text files and the database all
// convert through it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Leading and trailing blanks (only ' ') removed, as the record's texts are
// trimmed wherever they are used.
std::string TrimBlanks(std::string_view text);

// Upper case of Windows-1252 text: ASCII letters and the accented letters of
// the code page (à..þ less ÷, and š, œ, ž, ÿ).
std::string UpperCase1252(std::string_view text);
// The same in place.
void MakeUpperCase1252(std::string& text);

// Equal texts when ASCII letters are compared ignoring case (file, section and
// key names that come from Windows).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The Unicode character of a byte. The five bytes the code page leaves
// undefined map to the C1 controls of the same value, as Windows does, so any
// byte text survives a round trip.
char16_t UnicodeFrom1252(unsigned char byte);
// The byte of a Unicode character; '?' for one the code page lacks.
char Byte1252From(char32_t codePoint);

// Length of the well-formed UTF-8 sequence at p (no overlong forms, no
// surrogates, nothing above U+10FFFF) with its code point, or 0.
std::size_t Utf8Sequence(const unsigned char* p, std::size_t left, char32_t& codePoint);

std::string Utf8From1252(std::string_view text);

// What becomes of bytes that are not well-formed UTF-8.
enum class BrokenUtf8 {
    Question,  // each such byte becomes '?'
    KeepByte   // each such byte is taken as Windows-1252 already
};
// UTF-8 to Windows-1252; characters the code page lacks become '?'.
std::string Text1252FromUtf8(std::string_view text, BrokenUtf8 broken);
