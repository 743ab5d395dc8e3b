// The design program's name lists over arbitrary files: the first byte picks
// the list (catalogue names or supplied materials) and how its file name is
// spelt, the rest is the file. Beyond not crashing: the list's key set holds
// exactly the identities of the file's whole records whose names are usable,
// read record by record here without the store's chunked reading; the other
// list stays empty; each of these materials is refused as a user material; and
// the formulas of the supplied records evaluate to a finite index or fail.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"

namespace {

const char* const kCatalogueSpellings[] = {"STTessaralExA.dat", "sttessaralexa.DAT"};
const char* const kSuppliedSpellings[] = {"SPTessaral.dat", "SPTESSARAL.DAT"};

std::string_view field(const std::uint8_t* record, std::size_t at, std::size_t length) {
    return {reinterpret_cast<const char*>(record + at), length};
}

void evaluates(const GlassDefinition& definition) {
    GlassRecord glass;
    InitGlassRecord(glass);
    glass.definition = definition;
    for (const float wavelength : {kLineD, kLineC, kLineF, 250.0f, 2500.0f}) {
        bool ok = true;
        const double n = EvaluateIndex(glass.definition, wavelength, glass.definition.formulaType, ok);
        check(ok ? std::isfinite(n) : n == 0);
    }
    float nMin = 0, nMax = 0;
    IndexAtRangeEnds(glass, nMin, nMax);
    ComputeGlassCode(glass);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool supplied = data[0] & 1;
    const std::string name = supplied ? kSuppliedSpellings[(data[0] >> 1) & 1] : kCatalogueSpellings[(data[0] >> 1) & 1];
    const std::uint8_t* content = data + 1;
    const std::size_t length = size - 1;
    const std::string folder = FreshFolder("design");
    WriteBytes(folder + name, content, length);

    SilentBoxes boxes;
    StillClock clock;
    GlassesList store(boxes, clock, FuzzFolder());
    if (supplied) store.LoadSuppliedNames(folder);
    else store.LoadCatalogNames(folder);

    const std::size_t recordBytes = supplied ? kDesignGlassRecordBytes : kCatalogNameRecordBytes;
    GlassKeySet expected;
    for (std::size_t at = 0; at + recordBytes <= length; at += recordBytes) {
        const std::string_view glassName = field(content + at, 0, 30);
        if (TrimBlanks(glassName).empty() || glassName.find('\0') != std::string_view::npos) continue;
        expected.insert(MakeGlassKey(glassName, field(content + at, 32, 30)));
    }
    const GlassKeySet& keys = supplied ? store.SuppliedKeys() : store.CatalogKeys();
    check(keys == expected);
    check((supplied ? store.CatalogKeys() : store.SuppliedKeys()).empty());

    int evaluated = 0;
    for (std::size_t at = 0; at + recordBytes <= length; at += recordBytes) {
        GlassRecord glass;
        InitGlassRecord(glass);
        glass.definition.name.set(field(content + at, 0, 30));
        glass.definition.source.set(field(content + at, 32, 30));
        if (GlassKeyExists(glass.definition, keys)) {
            check(store.IsCatalogOrSuppliedGlass(glass));
            std::string msg;
            check(!store.CheckNameAllowed(glass, true, msg) && !msg.empty());
        }
        if (supplied && evaluated++ < 8) {
            GlassDefinition definition;
            ReadGlassDefinition(content + at, definition);
            evaluates(definition);
        }
    }
    return 0;
}
