// The collection record reader over arbitrary bytes, a whole record at a
// time: it must never read outside the record, and writing what it read gives
// the same bytes back.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/GlassRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(kGlassRecordBytes);
    for (std::size_t at = 0; at + kGlassRecordBytes <= size; at += kGlassRecordBytes) {
        // A heap copy of exactly one record, so the sanitizer sees any read past it.
        const std::vector<std::uint8_t> record(data + at, data + at + kGlassRecordBytes);
        GlassRecord glass;
        ReadGlassRecord(record.data(), glass);
        WriteGlassRecord(glass, out.data());
        if (out != record) std::abort();
    }
    return 0;
}
