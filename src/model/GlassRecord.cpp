#include "model/GlassRecord.h"

#include <cstring>
#include <memory>

#include "model/ByteIO.h"

void InitGlassRecord(GlassRecord& glass) {
    // Built in place: a blank record made aside and copied over would write
    // its 14 KB twice, and readers blank one record per material.
    std::destroy_at(&glass);
    std::construct_at(&glass);
    glass.sections[kDnDt].ready = kTrue;
}

namespace {

// The flags and counts of a record with their names; G is GlassRecord or
// const GlassRecord.
template <class G, class F>
void forEachFlag(G& g, F f) {
    f("melt flag", g.melt.meltFlag);
    f("ECO flag", g.catalogFlags.statusECO);
    f("mould flag", g.catalogFlags.statusMold);
    f("i-line flag", g.catalogFlags.statusILine);
    f("catalogue melt flag", g.catalogFlags.statusMelt);
    static constexpr const char* kReady[5] = {"General ready flag", "Index ready flag", "Trans ready flag",
                                              "dn/dt ready flag", "Other ready flag"};
    for (std::size_t s = 0; s < g.sections.size(); ++s) f(kReady[s], g.sections[s].ready);
}

template <class G, class F>
void forEachCount(G& g, F f) {
    f("index point count", g.indexPointCount, kMaxIndexPoints);
    f("transmission point count", g.measured.transCount, kMaxTransPoints);
    f("melt pair count", g.melt.pairCount, kMaxMeltPairs);
    f("second melt table count", g.melt.secondCount, kMaxMeltPairs);
}

}  // namespace

std::string GlassRecordFault(const GlassRecord& glass) {
    std::string fault;
    // Appended piece by piece: GCC 12 warns falsely on "text" + std::to_string(n).
    const auto note = [&](const char* name, std::int16_t value) {
        if (!fault.empty()) return;
        fault = name;
        fault += ' ';
        fault += std::to_string(value);
    };
    forEachFlag(glass, [&](const char* name, std::int16_t flag) {
        if (flag != kFalse && flag != kTrue) note(name, flag);
    });
    forEachCount(glass, [&](const char* name, std::int16_t count, int max) {
        if (count < 0 || count > max) note(name, count);
    });
    return fault;
}

void MakeGlassRecordSound(GlassRecord& glass) {
    forEachFlag(glass, [](const char*, std::int16_t& flag) {
        if (flag != kFalse) flag = kTrue;
    });
    forEachCount(glass, [](const char*, std::int16_t& count, int max) {
        if (count < 0) count = 0;
        if (count > max) count = static_cast<std::int16_t>(max);
    });
}

namespace {

// One description of each packed layout serves both directions: IO is a
// ByteReader (G non-const) or a ByteWriter (G const).
template <class IO, class G>
void layoutDefinition(IO& io, G& d) {
    io.field(d.name);
    io.field(d.catalogNumber);
    io.field(d.source);
    io.field(d.glassCode);
    io.field(d.density);
    io.field(d.formulaType);
    io.field(d.coefficients);
    io.field(d.lowerWavelength);
    io.field(d.upperWavelength);
    io.field(d.transWavelength);
    io.field(d.transAbsorption);
}

template <class IO, class C>
void layoutConstants(IO& io, C& c) {
    io.field(c.nd);
    io.field(c.vd);
    io.field(c.nFnC);
    io.field(c.ne);
    io.field(c.ve);
    io.field(c.nFpnCp);
    io.field(c.pCs);
    io.field(c.pdC);
    io.field(c.pgF);
    io.field(c.nC);
    io.field(c.nF);
    io.field(c.nCp);
    io.field(c.nFp);
}

template <class IO, class P>
void layoutProperties(IO& io, P& p) {
    io.field(p.a3070);
    io.field(p.a20300);
    io.field(p.tg);
    io.field(p.t1013);
    io.field(p.t1076);
    io.field(p.cp);
    io.field(p.lambda);
    io.field(p.eMod);
    io.field(p.poisson);
    io.field(p.torsion);
    io.field(p.knoop);
    io.field(p.cr);
    io.field(p.fr);
    io.field(p.sr);
    io.field(p.ar);
    io.field(p.pr);
    io.field(p.remark);
    io.field(p.cc);
    io.field(p.reserved);
    io.field(p.bubble);
    io.field(p.status);
    io.field(p.price);
}

template <class IO, class N>
void layoutNotes(IO& io, N& n) {
    io.field(n.notes);
    io.field(n.expansion);
    io.field(n.dnDtType);
    io.field(n.dnDtSimple);
    io.field(n.d0);
    io.field(n.d1);
    io.field(n.d2);
    io.field(n.e0);
    io.field(n.e1);
    io.field(n.lambdaTK);
    io.field(n.referenceTemperature);
}

template <class IO, class M>
void layoutMeasured(IO& io, M& m) {
    io.field(m.indexWavelength);
    io.field(m.indexWavelengthUm);
    io.field(m.weight);
    io.field(m.index);
    io.field(m.indexSquared);
    io.field(m.fittedIndex);
    io.field(m.residual);
    io.field(m.sumOfSquares);
    io.field(m.transDataType);
    io.field(m.transCount);
    io.field(m.thickness);
    io.field(m.transWavelength);
    io.field(m.absorption);
    io.field(m.totalTrans);
    io.field(m.internalTrans);
}

template <class IO, class M>
void layoutMelt(IO& io, M& m) {
    io.field(m.meltFlag);
    io.field(m.reserved);
    io.field(m.parentName);
    io.field(m.parentSource);
    io.field(m.meltCode);
    io.field(m.pairCount);
    io.field(m.pairWavelength);
    io.field(m.pairIndex);
    io.field(m.secondCount);
    io.field(m.secondTable);
}

template <class IO, class F>
void layoutCatalogFlags(IO& io, F& f) {
    io.field(f.statusECO);
    io.field(f.statusMold);
    io.field(f.statusILine);
    io.field(f.reserved1);
    io.field(f.reserved2);
    io.field(f.statusMelt);
    io.field(f.abrasion);
    io.field(f.reserved3);
    io.field(f.dataDate);
}

template <class IO, class S>
void layoutSections(IO& io, S& sections) {
    for (auto& s : sections) {
        io.field(s.editCount);
        io.field(s.ready);
    }
}

template <class IO, class G>
void layoutRecord(IO& io, G& g) {
    io.field(g.indexDataType);
    io.field(g.reserved);
    io.field(g.indexPointCount);
    layoutDefinition(io, g.definition);
    layoutConstants(io, g.constants);
    io.field(g.standardAbsorption);
    layoutProperties(io, g.properties);
    layoutNotes(io, g.notes);
    layoutMeasured(io, g.measured);
    layoutMelt(io, g.melt);
    layoutCatalogFlags(io, g.catalogFlags);
    layoutSections(io, g.sections);
    io.field(g.lastStored);
}

template <class Block, class Layout>
std::size_t readBlock(const std::uint8_t* in, Block& b, Layout layout) {
    ByteReader r(in);
    layout(r, b);
    return static_cast<std::size_t>(r.position() - in);
}

}  // namespace

void WriteGlassDefinition(const GlassDefinition& def, std::uint8_t* out) {
    ByteWriter w(out);
    layoutDefinition(w, def);
}

void ReadGlassDefinition(const std::uint8_t* in, GlassDefinition& def) {
    ByteReader r(in);
    layoutDefinition(r, def);
}

void WriteGlassRecord(const GlassRecord& glass, std::uint8_t* out) {
    ByteWriter w(out);
    layoutRecord(w, glass);
}

void ReadGlassRecord(const std::uint8_t* in, GlassRecord& glass) {
    ByteReader r(in);
    layoutRecord(r, glass);
}

void WriteDesignGlassRecord(const DesignGlassRecord& rec, std::uint8_t* out) {
    ByteWriter w(out);
    layoutDefinition(w, rec.definition);
    w.field(rec.unused);
}

void ReadDesignGlassRecord(const std::uint8_t* in, DesignGlassRecord& rec) {
    ByteReader r(in);
    layoutDefinition(r, rec.definition);
    r.field(rec.unused);
}

std::size_t ReadDispersionConstants(const std::uint8_t* in, DispersionConstants& c) {
    return readBlock(in, c, [](ByteReader& r, DispersionConstants& b) { layoutConstants(r, b); });
}
std::size_t ReadGlassProperties(const std::uint8_t* in, GlassProperties& p) {
    return readBlock(in, p, [](ByteReader& r, GlassProperties& b) { layoutProperties(r, b); });
}
std::size_t ReadNotesAndDnDt(const std::uint8_t* in, NotesAndDnDt& n) {
    return readBlock(in, n, [](ByteReader& r, NotesAndDnDt& b) { layoutNotes(r, b); });
}
std::size_t ReadMeasuredData(const std::uint8_t* in, MeasuredData& m) {
    return readBlock(in, m, [](ByteReader& r, MeasuredData& b) { layoutMeasured(r, b); });
}
std::size_t ReadSectionStatus(const std::uint8_t* in, std::array<SectionStatus, 5>& s) {
    return readBlock(in, s, [](ByteReader& r, std::array<SectionStatus, 5>& b) { layoutSections(r, b); });
}
