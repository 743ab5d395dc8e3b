#include "exchange/CImportOldVQ.h"

#include <string_view>

#include "exchange/CImportOldLQ.h"
#include "exchange/ImportText.h"

namespace {

// The property texts of the tail, in file order.
constexpr std::size_t kTailTexts = 22;

// Texts that read null, in any case and with blanks around them, are empty.
void BlankNullTexts(std::array<std::string, kTailTexts>& texts) {
    for (std::string& t : texts)
        if (UpperCase1252(TrimBlanks(t)) == "NULL") t.clear();
}

}  // namespace

bool CImportOldVQ::readTail(TextCursor& in, GlassRecord& g) {
    if (in.onlyBlanksLeft()) return true;  // no tail: blank lines end the file
    OldItemReader r(in);
    DispersionConstants& c = g.constants;
    std::string ignored;
    if (!r.single(c.nd) || !r.single(c.nC) || !r.single(c.nF) || !r.single(c.vd) || !r.single(c.nFnC) ||
        !r.text(ignored) || !r.single(c.ne) || !r.single(c.nCp) || !r.single(c.nFp) || !r.single(c.ve) ||
        !r.single(c.nFpnCp))
        return false;
    std::array<std::string, kTailTexts> t;
    for (std::string& text : t)
        if (!r.text(text)) return false;
    BlankNullTexts(t);
    GlassProperties& p = g.properties;
    p.a3070.set(t[0]);
    p.a20300.set(t[1]);
    p.tg.set(t[2]);
    p.t1013.set(t[3]);
    p.t1076.set(t[4]);
    p.cp.set(t[5]);
    p.lambda.set(t[6]);
    p.eMod.set(t[7]);
    p.poisson.set(t[8]);
    p.torsion.set(t[9]);
    p.knoop.set(t[10]);
    p.cr.set(t[11]);
    p.fr.set(t[12]);
    p.sr.set(t[13]);
    p.ar.set(t[14]);
    p.pr.set(t[15]);
    p.remark.set(t[16]);
    p.cc.set(t[17]);
    // t[18] is read and ignored.
    p.bubble.set(t[19]);
    p.status.set(t[20]);
    p.price.set(t[21]);
    if (p.status.isBlank()) p.status.set("A");
    if (!r.single(c.pCs) || !r.single(c.pdC) || !r.single(c.pgF)) return false;
    for (FixedText<120>& note : g.notes.notes)
        if (!r.text(note)) return false;
    return true;
}

bool CImportOldVQ::ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string&,
                               ImportedMaterials& result) {
    return ImportOldMaterial(bytes, size, result, readTail);
}
