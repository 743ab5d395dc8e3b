#include "model/GlassDataInternalOld.h"

#include <filesystem>
#include <string>

#include "model/ByteIO.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"

namespace {

// Offsets shared by the two layouts that keep the current record's first
// 12070 bytes.
constexpr std::size_t kDefinitionAt = 6;
constexpr std::size_t kConstantsAt = 522;
constexpr std::size_t kTailV2At = 12070;      // the old melt block
constexpr std::size_t kSectionsV2At = 12576;
constexpr std::size_t kSectionsV1At = 12070;
// The oldest layout: shorter name and source move every later block 28 bytes down.
constexpr std::size_t kOldestShift = 28;
constexpr std::size_t kSectionsOldestAt = 12042;

template <std::size_t N>
void zeroText(FixedText<N>& t) {
    t.bytes.fill('\0');
}

// The start of every conversion: all zero, texts included.
GlassRecord zeroRecord() {
    GlassRecord g;
    zeroText(g.definition.name);
    zeroText(g.definition.source);
    GlassProperties& p = g.properties;
    for (auto* t : {&p.a3070, &p.a20300, &p.tg, &p.t1013, &p.t1076, &p.cp, &p.lambda, &p.eMod, &p.poisson,
                    &p.torsion, &p.knoop, &p.pr, &p.price})
        zeroText(*t);
    zeroText(p.cr);
    zeroText(p.fr);
    zeroText(p.sr);
    zeroText(p.ar);
    zeroText(p.remark);
    zeroText(p.cc);
    zeroText(p.bubble);
    zeroText(p.status);
    for (auto& note : g.notes.notes) zeroText(note);
    zeroText(g.melt.reserved);
    zeroText(g.melt.parentName);
    zeroText(g.melt.parentSource);
    zeroText(g.melt.meltCode);
    return g;
}

// The three header integers and the blocks from the constants to the
// measured data, which every old layout holds in the current order from
// constantsAt on; then the section pairs and the date.
void readCommon(const std::uint8_t* in, std::size_t constantsAt, std::size_t sectionsAt, GlassRecord& g) {
    ByteReader head(in);
    head.field(g.indexDataType);
    head.field(g.reserved);
    head.field(g.indexPointCount);

    const std::uint8_t* p = in + constantsAt;
    p += ReadDispersionConstants(p, g.constants);
    ByteReader absorption(p);
    absorption.field(g.standardAbsorption);
    p = absorption.position();
    p += ReadGlassProperties(p, g.properties);
    p += ReadNotesAndDnDt(p, g.notes);
    ReadMeasuredData(p, g.measured);

    ReadSectionStatus(in + sectionsAt, g.sections);
    ByteReader date(in + sectionsAt + 20);
    date.field(g.lastStored);
}

bool convertFile(GlassesList& store, const char* fileName, std::size_t recordBytes,
                 void (*convert)(const std::uint8_t*, GlassRecord&)) {
    const std::string path = JoinPath(store.ProgramFolder(), fileName);
    if (!FileExists(path)) return false;
    if (!store.ReadRecordFile(path, recordBytes, convert)) return true;
    // The old file goes only once its records are safely in the current one.
    if (store.SaveUserGlasses()) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    return true;
}

}  // namespace

void ConvertMeltBlockV2(const std::uint8_t* in, MeltBlock& melt) {
    ByteReader r(in);
    r.field(melt.meltFlag);
    r.field(melt.reserved);
    r.field(melt.parentName);
    r.field(melt.parentSource);
    r.field(melt.meltCode);
    r.field(melt.pairCount);
    r.field(melt.pairWavelength);
    OneBased<float, kMaxMeltPairs> singles;
    r.field(singles);
    for (std::size_t i = 1; i <= kMaxMeltPairs; ++i) melt.pairIndex[i] = singles[i];
    r.skip(2);  // the old second count
    for (std::size_t column = 1; column <= 3; ++column) {
        r.field(singles);
        for (std::size_t i = 1; i <= kMaxMeltPairs; ++i) melt.secondTable[column][i] = singles[i];
    }
    melt.secondCount = 0;
}

void ConvertV2Record(const std::uint8_t* in, GlassRecord& glass) {
    glass = zeroRecord();
    readCommon(in, kConstantsAt, kSectionsV2At, glass);
    ReadGlassDefinition(in + kDefinitionAt, glass.definition);
    ConvertMeltBlockV2(in + kTailV2At, glass.melt);
}

void ConvertV1Record(const std::uint8_t* in, GlassRecord& glass) {
    glass = zeroRecord();
    readCommon(in, kConstantsAt, kSectionsV1At, glass);
    ReadGlassDefinition(in + kDefinitionAt, glass.definition);
}

void ConvertOldestRecord(const std::uint8_t* in, GlassRecord& glass) {
    glass = zeroRecord();
    readCommon(in, kConstantsAt - kOldestShift, kSectionsOldestAt, glass);
    GlassDefinition& d = glass.definition;
    ByteReader r(in + kDefinitionAt);
    FixedText<12> name;
    FixedText<20> source;
    r.field(name);
    r.field(d.catalogNumber);
    r.field(source);
    d.name.set(name.raw());  // left-aligned, blank-padded to 30
    d.source.set(source.raw());
    r.field(d.glassCode);
    r.field(d.density);
    r.field(d.formulaType);
    r.field(d.coefficients);
    r.field(d.lowerWavelength);
    r.field(d.upperWavelength);
    r.field(d.transWavelength);
    r.field(d.transAbsorption);
}

bool ConvertV2File(GlassesList& store) {
    return convertFile(store, kCollectionV2FileName, kGlassRecordV2Bytes, ConvertV2Record);
}

bool ConvertV1File(GlassesList& store) {
    return convertFile(store, kCollectionV1FileName, kGlassRecordV1Bytes, ConvertV1Record);
}

bool ConvertOldestFile(GlassesList& store) {
    return convertFile(store, kCollectionOldestFileName, kGlassRecordOldestBytes, ConvertOldestRecord);
}
