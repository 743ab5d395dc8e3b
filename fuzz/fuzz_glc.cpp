// The OSLO ".GLC" reader over arbitrary bytes: see ReaderChecks.h. Every
// line after the first is a material, kept or listed as skipped.
#include "ReaderChecks.h"
#include "exchange/CImportOsloGLC.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImportOsloGLC reader;
    ImportedMaterials result;
    const bool ok = reader.ImportBytes(data, size, "FUZZ.GLC", result);
    fuzzchecks::check(ok);  // bytes in memory are always read to their end
    fuzzchecks::checkRead(ok, result, true);
    return 0;
}
