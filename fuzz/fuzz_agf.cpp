// The Zemax ".AGF" reader over arbitrary bytes: see ReaderChecks.h. The
// length's parity picks the file name, so the rule for one maker's
// "chengdu" files is fuzzed too.
#include "ReaderChecks.h"
#include "exchange/CImportZemaxAGF.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImportZemaxAGF reader;
    ImportedMaterials result;
    const bool ok = reader.ImportBytes(data, size, size % 2 == 0 ? "chengdu.agf" : "FUZZ.AGF", result);
    fuzzchecks::checkRead(ok, result, true);
    fuzzchecks::check(ok || !result.errorText.empty());
    return 0;
}
