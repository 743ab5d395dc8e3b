// The GLZ reader over arbitrary bytes. Beyond not crashing: a failed read
// keeps nothing, every material read has its counts in range, and what was
// read writes out and reads back; after that first round the text is settled
// (writing what was read back gives the same text again). The bytes as a
// file on disk, read a small window at a time, give the same outcome.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "exchange/CImportNewGLZ.h"
#include "exchange/frm5Export.h"

namespace {

bool countsInRange(const GlassRecord& g) {
    return g.indexPointCount >= 0 && g.indexPointCount <= kMaxIndexPoints && g.measured.transCount >= 0 &&
           g.measured.transCount <= kMaxTransPoints && g.melt.pairCount >= 0 &&
           g.melt.pairCount <= kMaxMeltPairs && g.melt.secondCount >= 0 && g.melt.secondCount <= kMaxMeltPairs &&
           g.measured.thickness > 0;
}

std::string writeAll(std::vector<GlassRecord>& glasses) {
    return MakeGLZText(glasses, 1, static_cast<int>(glasses.size()), "Monday, January 1, 2024");
}

// The same bytes as a file on disk, read through a small window, read as
// they do in memory.
void checkReadAsFile(const std::uint8_t* data, std::size_t size, bool ok, const std::vector<GlassRecord>& glasses) {
    static const std::string path = FuzzFolder() + "read.GLZ";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SilentBoxes boxes;
    CImportNewGLZ reader(boxes, 64 + size % 97);
    std::vector<GlassRecord> read;
    int count = -1;
    check(reader.ImportFile(path, read, count) == ok);
    check(count == static_cast<int>(read.size()));
    check(read == glasses);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilentBoxes boxes;
    CImportNewGLZ reader(boxes);
    std::vector<GlassRecord> first;
    int count = -1;
    const bool ok = reader.ImportBytes(data, size, first, count);
    checkReadAsFile(data, size, ok, first);
    if (!ok) {
        check(first.empty() && count == 0);
        return 0;
    }
    check(count == static_cast<int>(first.size()));
    if (first.empty()) return 0;
    for (const GlassRecord& g : first) check(countsInRange(g));

    std::string text = writeAll(first);
    std::vector<GlassRecord> second;
    check(reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), second, count));
    check(count == static_cast<int>(first.size()));
    text = writeAll(second);
    std::vector<GlassRecord> third;
    check(reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), third, count));
    check(writeAll(third) == text);
    return 0;
}
