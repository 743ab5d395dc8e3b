#include "melt/GlassMelt.h"

#include <gtest/gtest.h>

#include <cmath>

#include "manage/ManageFixtures.h"
#include "melt/MeltFixtures.h"
#include "model/FileUtil.h"
#include "model/TransCalcs.h"
#include "support/ScriptedBoxes.h"

namespace {

std::size_t standardIndexOf(float wavelength) {
    for (std::size_t k = 0; k < StandardTransWavelengths.size(); ++k)
        if (StandardTransWavelengths[k] == wavelength) return k;
    ADD_FAILURE() << wavelength;
    return 0;
}

DbRowSet rowsOf(const CatalogueFolder& cat, const std::string& maker) {
    CatalogueDatabase db;
    EXPECT_TRUE(db.open(cat.dir())) << db.lastError().description;
    DbRowSet rows;
    EXPECT_TRUE(OpenRecordSet(db, GlassQuery(maker), rows)) << db.lastError().description;
    return rows;
}

TEST(GlassMeltTest, ARowWrittenByTheCatalogueOutputReadsBackIntoTheRecord) {
    CatalogueFolder cat;
    GlassRecord g = SellmeierParent("N-BK7", "Schott");
    g.properties.tg.set("557");
    g.properties.cp.set("0.858");
    g.properties.knoop.set("610");
    g.properties.remark.set("Borosilicate crown");
    g.properties.cc.set("33/29");
    g.properties.bubble.set("0");
    g.properties.status.set("R");
    g.properties.price.set("1.5");
    g.catalogFlags = {};
    g.catalogFlags.statusECO = kTrue;
    g.catalogFlags.statusILine = kTrue;
    g.catalogFlags.abrasion = 90;
    g.catalogFlags.dataDate = 45000.25;
    g.melt.meltFlag = kTrue;
    g.standardAbsorption.fill(static_cast<float>(kEmptyAbsorption));
    g.standardAbsorption[standardIndexOf(400.0f)] = 0.001f;
    g.standardAbsorption[standardIndexOf(546.1f)] = 0.0005f;
    g.standardAbsorption[standardIndexOf(700.0f)] = 0.0002f;
    g.notes.notes[1].set("Line two");
    g.notes.dnDtType = kSchottDnDt;
    g.notes.d0 = 1.86e-6f;
    g.notes.lambdaTK = 0.17f;
    cat.addGlass(5, g);

    const DbRowSet rows = rowsOf(cat, "SCHOTT");  // makers match ignoring case
    ASSERT_EQ(rows.rows.size(), 1u);
    GlassRecord r;
    InitGlassRecord(r);
    r.indexPointCount = 7;  // the reader leaves these alone
    r.melt.meltCode.set("M1");
    ReadGlassRow(rows, 0, r);

    const GlassDefinition& d = r.definition;
    EXPECT_EQ(d.catalogNumber, kOwnCatalogNumber);
    EXPECT_EQ(d.name.str(), "N-BK7");
    EXPECT_EQ(d.source.str(), "Schott");
    EXPECT_EQ(d.glassCode, 517642);
    EXPECT_EQ(d.formulaType, kSellmeier);
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_EQ(d.coefficients[k], static_cast<float>(g.definition.coefficients[k])) << k;
    EXPECT_EQ(d.coefficients[6], 0.0);
    EXPECT_EQ(d.density, 2.51f);
    EXPECT_EQ(d.lowerWavelength, 310);
    EXPECT_EQ(d.upperWavelength, 2325);
    EXPECT_EQ(r.constants.nd, 1.5168f);
    EXPECT_EQ(r.constants.vd, 64.17f);
    EXPECT_NEAR(r.constants.nFnC, 0.008054, 1e-6);
    EXPECT_EQ(r.constants.nC, 0.0f);  // not read

    const GlassProperties& p = r.properties;
    EXPECT_EQ(p.tg.str(), "557");
    EXPECT_EQ(p.cp.str(), "0.858");
    EXPECT_EQ(p.knoop.str(), "610");
    EXPECT_EQ(p.a3070.str(), "");
    EXPECT_EQ(p.remark.str(), "Borosilicate crown");
    EXPECT_EQ(p.cc.str(), "33/29");
    EXPECT_EQ(p.bubble.str(), "0");
    EXPECT_EQ(p.status.str(), "R");
    EXPECT_EQ(p.price.str(), "1.5");

    EXPECT_EQ(r.catalogFlags.statusECO, kTrue);
    EXPECT_EQ(r.catalogFlags.statusMold, kFalse);
    EXPECT_EQ(r.catalogFlags.statusILine, kTrue);  // a melt keeps its parent's i-line flag
    EXPECT_EQ(r.catalogFlags.statusMelt, kTrue);
    EXPECT_EQ(r.melt.meltFlag, kFalse);
    EXPECT_EQ(r.catalogFlags.abrasion, 90);
    EXPECT_EQ(r.catalogFlags.dataDate, 45000.25);

    const MeasuredData& m = r.measured;
    ASSERT_EQ(m.transCount, 3);
    EXPECT_EQ(m.transDataType, kAbsorptionCoefficient);
    EXPECT_EQ(m.thickness, 10.0f);
    const float waves[] = {700, 546, 400};  // named after the columns, whole nm
    const float alphas[] = {0.0002f, 0.0005f, 0.001f};
    for (std::size_t j = 1; j <= 3; ++j) {
        EXPECT_EQ(m.transWavelength[j], waves[j - 1]);
        EXPECT_EQ(m.absorption[j], alphas[j - 1]);
        EXPECT_FLOAT_EQ(m.internalTrans[j], static_cast<float>(100 * std::exp(-10.0 * alphas[j - 1])));
        EXPECT_EQ(m.totalTrans[j], 0.0f);
    }
    EXPECT_EQ(r.standardAbsorption[standardIndexOf(546.1f)], 0.0005f);
    EXPECT_EQ(r.standardAbsorption[0], 99.0f);

    EXPECT_EQ(r.notes.notes[0].str(), "");
    EXPECT_EQ(r.notes.notes[1].str(), "Line two");
    EXPECT_EQ(r.notes.dnDtType, kSchottDnDt);
    EXPECT_EQ(r.notes.d0, 1.86e-6f);
    EXPECT_EQ(r.notes.lambdaTK, 0.17f);

    EXPECT_EQ(r.sections[kGeneral].ready, kTrue);
    EXPECT_EQ(r.sections[kTrans].ready, kTrue);
    EXPECT_EQ(r.sections[kOther].ready, kTrue);
    EXPECT_EQ(r.sections[kDnDt].ready, kTrue);
    EXPECT_EQ(r.sections[kIndex].ready, kFalse);
    EXPECT_EQ(r.indexPointCount, 7);
    EXPECT_EQ(r.melt.meltCode.str(), "M1");
}

TEST(GlassMeltTest, NullsAndValuesOfTheWrongKindNeverStopTheReader) {
    CatalogueFolder cat;
    cat.addRow({{"GlassID", std::int64_t{3}}, {"s1", std::int64_t{0}}, {"GlassName", "Bare"}, {"Source", "Hoya"}});
    {
        RawConnection raw(cat.path());
        ASSERT_TRUE(raw.exec("INSERT INTO GlassData (GlassID, GlassName, Source, Density, IndexWvMin, GlassCode, "
                             "C1, T400, dndttype) VALUES (4, 'Odd', 'Hoya', 'heavy', 99999, 'x', 'one', 'clear', 2.5)"));
    }
    const DbRowSet rows = rowsOf(cat, "Hoya");
    ASSERT_EQ(rows.rows.size(), 2u);
    for (std::size_t row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        GlassRecord r;
        InitGlassRecord(r);
        r.properties.tg.set("999");
        r.definition.transWavelength.fill(123);
        ReadGlassRow(rows, row, r);
        EXPECT_EQ(r.definition.formulaType, 0);
        EXPECT_EQ(r.definition.coefficients, (std::array<double, kCoefficientSlots>{}));
        EXPECT_EQ(r.definition.density, 0.0f);
        EXPECT_EQ(r.definition.lowerWavelength, 0);
        EXPECT_EQ(r.definition.glassCode, 0);
        EXPECT_EQ(r.properties.tg.str(), "");
        EXPECT_EQ(r.properties.status.str(), "");
        EXPECT_EQ(r.catalogFlags.statusECO, kFalse);
        EXPECT_EQ(r.catalogFlags.dataDate, 0.0);
        EXPECT_EQ(r.notes.notes[0].str(), "");
        for (float alpha : r.standardAbsorption) EXPECT_EQ(alpha, 99.0f);
        EXPECT_EQ(r.measured.transCount, 0);
        EXPECT_EQ(r.measured.transDataType, kAbsorptionCoefficient);
        EXPECT_EQ(r.definition.transWavelength[0], 123.0f);
    }
    GlassRecord r;
    InitGlassRecord(r);
    ReadGlassRow(rows, 1, r);
    EXPECT_EQ(r.notes.dnDtType, 2);  // 2.5 rounds half to even
}

TEST(GlassMeltTest, PropertyColumnsReadAsThePlainTextOfASingle) {
    const std::pair<double, const char*> numbers[] = {
        {0.858, "0.858"},
        {static_cast<double>(0.206f), "0.206"},  // a single held as a double
        {7.1e-6, "7.1E-06"},
    };
    for (const auto& [value, text] : numbers) EXPECT_EQ(NullToText(DbValue{value}), text);
    EXPECT_EQ(NullToText(DbValue{std::int64_t{610}}), "610");
    EXPECT_EQ(NullToText(DbValue{}), "");
}

TEST(GlassMeltTest, TransmissionColumnsBecomePointsLongestWavelengthFirst) {
    CatalogueFolder cat;
    std::vector<DbField> row = {{"GlassID", std::int64_t{1}}, {"GlassName", "Tr"}, {"Source", "Ohara"}};
    std::vector<float> filled;  // ascending
    for (float w : StandardTransWavelengths) {
        if (w < 400 || w > 700) continue;
        filled.push_back(w);
        row.push_back({"T" + std::to_string(std::lround(w)), static_cast<double>(w) * 1e-5});
    }
    cat.addRow(row);
    GlassRecord r;
    InitGlassRecord(r);
    r.definition.transWavelength.fill(-1);
    r.definition.transAbsorption.fill(-2);
    ReadGlassRow(rowsOf(cat, "Ohara"), 0, r);

    const auto c = filled.size();
    ASSERT_EQ(r.measured.transCount, static_cast<int>(c));
    EXPECT_EQ(r.measured.transWavelength[1], 700.0f);
    EXPECT_EQ(r.measured.transWavelength[c], 400.0f);
    for (std::size_t j = 1; j <= c; ++j) {
        const float w = filled[c - j];
        EXPECT_EQ(r.measured.transWavelength[j], static_cast<float>(std::lround(w))) << j;
        const float alpha = r.measured.absorption[j];
        EXPECT_FLOAT_EQ(alpha, static_cast<float>(w * 1e-5)) << j;
        EXPECT_FLOAT_EQ(r.measured.internalTrans[j], static_cast<float>(100 * std::exp(-10.0 * alpha))) << j;
        EXPECT_EQ(r.definition.transWavelength[j - 1], r.measured.transWavelength[j]);
        EXPECT_EQ(r.definition.transAbsorption[j - 1], alpha);
    }
    EXPECT_EQ(r.definition.transWavelength[c], -1.0f);  // past the points: kept
    EXPECT_EQ(r.definition.transAbsorption[40], -2.0f);
    for (std::size_t k = 0; k < StandardTransWavelengths.size(); ++k) {
        const float w = StandardTransWavelengths[k];
        if (w < 400 || w > 700) EXPECT_EQ(r.standardAbsorption[k], 99.0f) << w;
        else EXPECT_NE(r.standardAbsorption[k], 99.0f) << w;
    }
}

TEST(GlassMeltTest, PolytypeGivesTheFormulaType) {
    const std::pair<const char*, std::int16_t> cases[] = {
        {"Sch", kSchott}, {"Sel", kSellmeier}, {"Scx", kSchottPlus}, {"Cau", kCauchy},
        {"", 0},          {"sel", 0},          {"Sellmeier", 0},      {"Con", 0}};
    for (const auto& [text, type] : cases) EXPECT_EQ(FormulaTypeFromPolytype(text), type) << text;

    // A Sellmeier Plus material is written without a Polytype: it reads back as 0.
    CatalogueFolder cat;
    GlassRecord plus = SellmeierParent("Plus", "Sumita");
    plus.definition.formulaType = kSellmeierPlus;
    for (std::size_t k = 6; k < 10; ++k) plus.definition.coefficients[k] = 0.5 * static_cast<double>(k);
    cat.addGlass(1, plus);
    cat.addRow({{"GlassID", std::int64_t{2}}, {"GlassName", "Padded"}, {"Source", "Sumita"}, {"Polytype", " Cau "}});
    const DbRowSet rows = rowsOf(cat, "Sumita");
    GlassRecord r;
    InitGlassRecord(r);
    ReadGlassRow(rows, 0, r);
    EXPECT_EQ(r.definition.formulaType, 0);
    EXPECT_EQ(r.definition.coefficients[9], 4.5);
    ReadGlassRow(rows, 1, r);
    EXPECT_EQ(r.definition.formulaType, kCauchy);
}

TEST(GlassMeltTest, MakerAndNameAreBoundNeverPartOfTheQueryText) {
    CatalogueFolder cat;
    cat.addRow({{"GlassID", std::int64_t{1}}, {"GlassName", "S-BSL7"}, {"Source", "Schott"}});
    cat.addRow({{"GlassID", std::int64_t{2}}, {"GlassName", "Crown 'A'"}, {"Source", "O'Hara"}});
    cat.addRow({{"GlassID", std::int64_t{3}}, {"GlassName", "N-SF11"}, {"Source", "Schott"}});
    EXPECT_EQ(rowsOf(cat, "Schott").rows.size(), 2u);
    EXPECT_EQ(rowsOf(cat, "O'Hara").rows.size(), 1u);
    EXPECT_EQ(rowsOf(cat, "x') OR ('1'='1").rows.size(), 0u);

    ScriptedBoxes boxes;
    GlassRecord parent;
    InitGlassRecord(parent);
    ASSERT_TRUE(ReloadParent(cat.dir(), " crown 'a' ", "O'Hara ", parent, boxes));
    EXPECT_EQ(parent.definition.name.str(), "Crown 'A'");
    EXPECT_EQ(parent.melt.parentName.str(), "crown 'a'");
    EXPECT_EQ(parent.melt.parentSource.str(), "O'Hara");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(GlassMeltTest, ReloadingAParentThatCannotBeReadLeavesItAndSaysWhy) {
    CatalogueFolder cat;
    cat.addRow({{"GlassID", std::int64_t{1}}, {"GlassName", "N-SF11"}, {"Source", "Schott"}});
    TestFolder empty;
    RawConnection holder(cat.path());
    struct Case {
        const char* what;
        std::string folder;
        std::string name;
        bool hold;
        int style;
        std::string text;
    };
    const Case cases[] = {
        {"no such glass", cat.dir(), "N-SF57", false, kBoxPlain, kNoMatchText},
        {"a name that would widen a pasted query", cat.dir(), "N-SF11' OR '1'='1", false, kBoxPlain, kNoMatchText},
        {"empty catalogue folder", empty.path(), "N-SF11", false, kBoxPlain,
         "Could not find file '" + empty.path() + kCatalogueFileName + "'."},
        {"no catalogue folder", "", "N-SF11", false, kBoxPlain, "Could not find file 'TessaralExA.mdb'."},
        {"file held by the catalogue program", cat.dir(), "N-SF11", true, kBoxPlain, kDbAlreadyOpenText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.hold) {
            ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE"));
        }
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        GlassRecord parent = SellmeierParent("Before", "Mine");
        const GlassRecord before = parent;
        EXPECT_FALSE(ReloadParent(c.folder, c.name, "Schott", parent, boxes));
        EXPECT_EQ(parent, before);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, c.style);
        EXPECT_EQ(boxes.last().text, c.text);
        if (c.hold) {
            ASSERT_TRUE(holder.exec("ROLLBACK"));
        }
    }
    EXPECT_FALSE(FileExists(empty.file(kCatalogueFileName)));  // opening never makes one
}

}  // namespace
