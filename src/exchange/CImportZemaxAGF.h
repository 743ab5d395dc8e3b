// The reader of a Zemax glass catalogue (".AGF").
//
// A record runs from one NM line to the next and is read by its lines'
// keywords: ED (expansion, density), CD (formula constants, whose values may
// go on over following lines without a keyword), TD (dn/dt), OD (cost and
// resistances), LD (wavelength range) and IT (internal transmission, each
// line at its own thickness). Lines with any other keyword, comments and
// blank lines are passed over, and a line missing from a record leaves its
// values at their defaults. The catalogue's file name gives every
// material's source; Herzberger and Conrady formulas are refitted to
// Schott formulas.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ImportReader.h"
#include "model/GlassRecord.h"

class TextCursor;

class CImportZemaxAGF : public IMaterialReader {
public:
    // catalogNumber: the number the materials get when it is above 8, else 8.
    explicit CImportZemaxAGF(int catalogNumber = kOwnCatalogNumber) : m_catalogNumber(catalogNumber) {}

    // True when the file was read to its end. A record that cannot be kept
    // (no name, a formula number the reader does not take, a failed refit,
    // more than 150 IT lines) is left out and listed in result.skipped.
    // False with result.errorText set for a file whose first line runs past
    // 200 characters: one saved without line ends.
    bool ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     ImportedMaterials& result) override;

private:
    // Reads the record whose NM line is in line, up to the next NM line,
    // which it leaves in line (atEnd True when the file ended instead), and
    // fills glass (a blank record). False when the record is not kept, with
    // why in reason.
    bool ParseGlass(TextCursor& in, std::string_view& line, bool& atEnd, const std::string& source,
                    GlassRecord& glass, bool& refitted, float& fitError, std::string& reason);

    int m_catalogNumber;
    std::vector<std::string_view> m_fields;  // reused from line to line
};
