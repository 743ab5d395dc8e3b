// Helpers for the tests of the material file readers: a file's text in the
// encodings and line ends the readers take, and reading through the
// interface the Import page uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exchange/GlzSamples.h"
#include "exchange/ImportReader.h"

// UTF-8 text (BMP characters only) as UTF-16 with its byte order mark.
std::vector<std::uint8_t> Utf16Bytes(const std::string& utf8, bool bigEndian);

// Text whose lines end in CR LF, with every CR LF replaced by end.
std::string WithLineEnds(const std::string& crlfText, const std::string& end);

struct EncodedFile {
    std::string what;
    std::vector<std::uint8_t> bytes;
};
// An ASCII text with CR LF line ends in every form a maker's file may come in:
// ASCII, UTF-8 with a byte order mark, UTF-16 little- and big-endian, each
// with CR LF, LF and CR line ends.
std::vector<EncodedFile> EncodedForms(const std::string& asciiCrLf);

// Reads the text in each of its EncodedForms and expects the very materials
// the text itself gives every time (at least one).
void ExpectEveryFormReadsAlike(IMaterialReader& reader, const std::string& asciiCrLf,
                               const std::string& fileName = "TEST.txt");

// Reads text (or bytes) with reader as the Import page does.
bool ReadText(IMaterialReader& reader, const std::string& text, ImportedMaterials& result,
              const std::string& fileName = "TEST.txt");
bool ReadBytes(IMaterialReader& reader, const std::vector<std::uint8_t>& bytes, ImportedMaterials& result,
               const std::string& fileName = "TEST.txt");
