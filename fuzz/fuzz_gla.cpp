// The ".GLA" reader over arbitrary bytes: see ReaderChecks.h.
#include "ReaderChecks.h"
#include "exchange/CImportOldLQ.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImportOldLQ reader;
    ImportedMaterials result;
    const bool ok = reader.ImportBytes(data, size, "FUZZ.GLA", result);
    fuzzchecks::checkRead(ok, result, false);
    fuzzchecks::check(!ok || result.count() == 1);
    return 0;
}
