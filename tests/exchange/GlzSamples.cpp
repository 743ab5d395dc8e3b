#include "exchange/GlzSamples.h"

#include <cmath>

GlassRecord GlzSample(const std::string& name, const GlzSampleShape& shape) {
    GlassRecord g;
    InitGlassRecord(g);
    GlassDefinition& d = g.definition;
    d.name.set(name);
    d.source.set("Test, Maker");  // a comma inside a text
    d.formulaType = kSellmeier;
    d.lowerWavelength = 310;
    d.upperWavelength = 2325;
    d.density = 2.51f;
    const double coefficients[kCoefficientSlots] = {1.03961212,    0.231792344, 1.01046945, 0.00600069867,
                                                    0.0200179144,  103.560653,  1.0 / 3.0,  -2.5e-300,
                                                    0.1 + 0.2,     6.02214076e23, 5e-324,   -0.0,
                                                    1.7976931348623157e308, 1e-6};
    for (int i = 0; i < kCoefficientSlots; ++i) d.coefficients[i] = coefficients[i];
    g.reserved = -7;
    g.indexDataType = shape.indexPoints > 0 ? kIndexData : kCoefficients;
    g.indexPointCount = static_cast<std::int16_t>(shape.indexPoints);

    NotesAndDnDt& t = g.notes;
    t.dnDtType = kSchottDnDt;
    t.dnDtSimple = 2.1e-6f;
    t.d0 = 1.86e-6f;
    t.d1 = 1.31e-8f;
    t.d2 = -1.37e-11f;
    t.e0 = 4.34e-7f;
    t.e1 = 6.27e-10f;
    t.lambdaTK = 0.17f;
    t.referenceTemperature = 20.0f;
    t.expansion = 7.1f;

    GlassProperties& p = g.properties;
    p.a3070.set("7.1");
    p.a20300.set("8.3");
    p.tg.set("557");
    p.t1013.set("");
    p.t1076.set("719");
    p.cp.set("0.858");
    p.lambda.set("1.114");
    p.eMod.set("82");
    p.poisson.set("0.206");
    p.torsion.set("34");
    p.knoop.set("610");
    p.cr.set("1");
    p.fr.set("0");
    p.sr.set("1.0");
    p.ar.set("2.3");
    p.pr.set("2.3");
    p.remark.set("Remark with commas, and \xE9 accents \xB5");
    p.cc.set("33/29");
    p.bubble.set("1");
    p.status.set("R");
    p.price.set("1.0");

    MeasuredData& md = g.measured;
    md.transDataType = kInternalTransmission;
    md.transCount = static_cast<std::int16_t>(shape.transPoints);
    md.thickness = 25.0f;
    for (int i = 1; i <= shape.transPoints; ++i) {
        md.transWavelength[i] = 2500.0f - 14.7f * static_cast<float>(i);
        md.absorption[i] = 0.0001f * static_cast<float>(i) + 1e-7f;
        md.internalTrans[i] = 100.0f * std::exp(-md.absorption[i] * md.thickness);
        md.totalTrans[i] = md.internalTrans[i] * 0.91f;
    }
    for (int i = 1; i <= shape.indexPoints; ++i) {
        md.indexWavelength[i] = 2300.0 - 13.1 * i;
        md.index[i] = 1.5 + 1.0 / (i + 7.0);
        md.weight[i] = i % 3 == 0 ? 0.0f : 1.0f / static_cast<float>(i);
    }

    if (shape.meltPairs > 0) {
        MeltBlock& m = g.melt;
        m.meltFlag = kTrue;
        m.parentName.set("N-BK7");
        m.parentSource.set("SCHOTT");
        m.meltCode.set("M-0815");
        m.pairCount = static_cast<std::int16_t>(shape.meltPairs);
        for (int i = 1; i <= shape.meltPairs; ++i) {
            m.pairWavelength[i] = 1014.0f - 31.3f * static_cast<float>(i);
            m.pairIndex[i] = 1.51 + 1.0 / (i + 97.0);
        }
        m.secondCount = static_cast<std::int16_t>(shape.secondRows);
        for (int i = 1; i <= shape.secondRows; ++i)
            for (int c = 1; c <= 3; ++c) m.secondTable[c][i] = c * 1000.0 + 1.0 / (i + 0.5);
    }
    for (SectionStatus& s : g.sections) s.ready = kTrue;
    return g;
}

GlassRecord GlzCarried(const GlassRecord& glass) {
    GlassRecord c;
    InitGlassRecord(c);
    c.indexDataType = glass.indexDataType;
    c.reserved = glass.reserved;
    c.indexPointCount = glass.indexPointCount;
    GlassDefinition& d = c.definition;
    const GlassDefinition& gd = glass.definition;
    d.name.set(gd.name.str());
    d.source.set(gd.source.str());
    d.formulaType = gd.formulaType;
    d.lowerWavelength = gd.lowerWavelength;
    d.upperWavelength = gd.upperWavelength;
    d.density = gd.density;
    d.coefficients = gd.coefficients;

    c.notes = glass.notes;
    for (auto& line : c.notes.notes) line.clear();  // the notes are not carried

    GlassProperties& p = c.properties;
    const GlassProperties& gp = glass.properties;
    p.a3070.set(gp.a3070.str());
    p.a20300.set(gp.a20300.str());
    p.tg.set(gp.tg.str());
    p.t1013.set(gp.t1013.str());
    p.t1076.set(gp.t1076.str());
    p.cp.set(gp.cp.str());
    p.lambda.set(gp.lambda.str());
    p.eMod.set(gp.eMod.str());
    p.poisson.set(gp.poisson.str());
    p.torsion.set(gp.torsion.str());
    p.knoop.set(gp.knoop.str());
    p.cr.set(gp.cr.str());
    p.fr.set(gp.fr.str());
    p.sr.set(gp.sr.str());
    p.ar.set(gp.ar.str());
    p.pr.set(gp.pr.str());
    p.remark.set(gp.remark.str());
    p.cc.set(gp.cc.str());
    p.bubble.set(gp.bubble.str());
    p.status.set(gp.status.str());
    p.price.set(gp.price.str());

    MeasuredData& md = c.measured;
    const MeasuredData& gm = glass.measured;
    md.transDataType = gm.transDataType;
    md.transCount = gm.transCount;
    md.thickness = gm.thickness;
    for (int i = 1; i <= gm.transCount && i <= kMaxTransPoints; ++i) {
        md.transWavelength[i] = gm.transWavelength[i];
        md.absorption[i] = gm.absorption[i];
        md.totalTrans[i] = gm.totalTrans[i];
        md.internalTrans[i] = gm.internalTrans[i];
    }
    for (int i = 1; i <= glass.indexPointCount && i <= kMaxIndexPoints; ++i) {
        md.indexWavelength[i] = gm.indexWavelength[i];
        md.index[i] = gm.index[i];
        md.weight[i] = gm.weight[i];
    }

    const MeltBlock& gmb = glass.melt;
    if (gmb.meltFlag != 0 && gmb.pairCount >= 1) {
        MeltBlock& m = c.melt;
        m.meltFlag = kTrue;
        m.parentName.set(gmb.parentName.str());
        m.parentSource.set(gmb.parentSource.str());
        m.meltCode.set(gmb.meltCode.str());
        m.pairCount = gmb.pairCount;
        for (int i = 1; i <= gmb.pairCount && i <= kMaxMeltPairs; ++i) {
            m.pairWavelength[i] = gmb.pairWavelength[i];
            m.pairIndex[i] = gmb.pairIndex[i];
        }
        m.secondCount = gmb.secondCount;
        for (int i = 1; i <= gmb.secondCount && i <= kMaxMeltPairs; ++i)
            for (int col = 1; col <= 3; ++col) m.secondTable[col][i] = gmb.secondTable[col][i];
    }
    return c;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

std::string GlzHeaderLine() { return "Brevane - Kalvenor  - text file V2, Tuesday, March 4, 2025"; }

std::vector<std::string> GlzMinimalBlock() {
    return {
        "#-- Material Data Start --",
        "#     -- General --",
        "\"Glass\",\"Maker\"",
        "2,310,2325,2.51",
        "1,0.2,1,0.006,0.02,100,0,0,0,0,0,0,0,0",
        "2,0,0",
        "#     -- dn/dt--",
        "1,2E-06",
        "0,0,0,0,0,0,0,20",
        "7.1",
        "#     -- Chem/Mech/Thermal --",
        "\"A3070\",\"7.1\",\"A20300\",\"\",\"Tg\",\"\",\"T1013\",\"\",\"T1076\",\"\",\"Cp\",\"\",\"lambda\",\"\"",
        "\"EMod\",\"\",\"Poisson\",\"\",\"Torsion\",\"\",\"Knoop\",\"\"",
        "\"CR\",\"\",\"FR\",\"\",\"SR\",\"\",\"AR\",\"\",\"PR\",\"\"",
        "\"Remark\",\"\",\"CC\",\"\",\"Bubble\",\"\",\"Status\",\"R\",\"RelPrice\",\"\"",
        "#     -- Transmission --",
        "2,10,1",
        "2000,99,90,0.001",
        "400,50,45,0.0693",
        "#     -- Ref Index --",
        "1000,1.5,1",
        "500,1.52,0.5",
        "#-- Material Data End --",
        " ",
    };
}
