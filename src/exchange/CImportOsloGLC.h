// The reader of an OSLO glass catalogue (".GLC"): the catalogue's name on the
// first line, then one material per line, its name in columns 1-10 and its
// values in blank-separated fields after them. The catalogue's name becomes
// every material's source; Conrady formulas are refitted to Schott formulas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ImportReader.h"
#include "model/GlassRecord.h"

class CImportOsloGLC : public IMaterialReader {
public:
    // True when the file was read to its end. A line that cannot be kept (no
    // name, a formula or dn/dt flag the catalogue does not define, too few
    // fields, more than 41 transmission points, a failed refit) is left out
    // and listed in result.skipped; blank lines are no materials.
    bool ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     ImportedMaterials& result) override;

private:
    // Fills glass (a blank record) from one material line. False drops the
    // line, with why in reason.
    bool ParseGlassLine(std::string_view line, const std::string& catalogName, GlassRecord& glass, bool& refitted,
                        float& fitError, std::string& reason);

    std::vector<std::string_view> m_fields;  // reused from line to line
};
