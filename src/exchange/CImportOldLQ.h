// The reader of the design program's old single-material ".GLA" file.
//
// The file is a stream of comma- or line-separated items (texts in double
// quotes or bare, numbers with "."), in a fixed order: identity, index
// points, formula, transmission points. The catalogue program's old ".GLS"
// file (CImportOldVQ) is the same layout with an optional tail, so the
// layout's reading is shared from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "exchange/ImportReader.h"
#include "model/GlassRecord.h"

class TextCursor;

class CImportOldLQ : public IMaterialReader {
public:
    // True with the one material of the file; False on any read error (an
    // item that does not convert, the file ending inside the layout, more
    // than 150 index points or more than 41 transmission points).
    bool ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     ImportedMaterials& result) override;
};

// Typed items of the old files, read the way the platform's Input reads
// them: a number item must be one number as a whole, except that an empty
// item reads as 0. Each read fails at the end of the text.
class OldItemReader {
public:
    explicit OldItemReader(TextCursor& in) : m_in(in) {}

    bool text(std::string& value);
    template <std::size_t N>
    bool text(FixedText<N>& field) {
        std::string value;
        if (!text(value)) return false;
        field.set(value);  // cut to the field's length
        return true;
    }
    bool number(double& value);
    bool single(float& value);
    bool integer(std::int16_t& value);
    bool longInteger(std::int32_t& value);

private:
    TextCursor& m_in;
};

// The layout both old files start with, read into glass (a blank record):
// identity, index points, wavelength limits, formula and transmission
// points, these put longest wavelength first and copied into the design
// table. False on a read error.
bool ReadOldMaterialLayout(OldItemReader& in, GlassRecord& glass);

// The last steps of an old file's material: every section ready, then the
// rules of every imported record.
void FinishOldMaterial(GlassRecord& glass);

// Reads the one material of an old file: decodes the bytes, reads the layout
// and hands the cursor to tail (which may read on and returns False on a
// read error); result holds the material on True.
bool ImportOldMaterial(const std::uint8_t* bytes, std::size_t size, ImportedMaterials& result,
                       bool (*tail)(TextCursor& in, GlassRecord& glass));
