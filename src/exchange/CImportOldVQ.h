// The reader of the catalogue program's old single-material ".GLS" file: the
// ".GLA" layout (CImportOldLQ) followed by an optional tail with the optical
// constants, the property texts and the notes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "exchange/ImportReader.h"

class TextCursor;
struct GlassRecord;

class CImportOldVQ : public IMaterialReader {
public:
    // True with the one material of the file; False on any read error, also
    // when the file ends inside a tail it has started. A file that holds
    // nothing but blank lines after the layout has no tail.
    bool ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     ImportedMaterials& result) override;

private:
    static bool readTail(TextCursor& in, GlassRecord& glass);
};
