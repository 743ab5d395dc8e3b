#include "manage/CatalogueOutput.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "manage/ManageFixtures.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

class CatalogueOutputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateCatalogueDatabase(dbPath())); }
    std::string dbPath() const { return folder.file(kCatalogueFileName); }

    // A row of the catalogue's own (s1 0) or an own row (s1 8).
    void addRow(const char* table, std::int64_t id, const std::string& name, const std::string& source,
                std::int64_t s1) {
        CatalogueDatabase db;
        ASSERT_TRUE(db.open(folder.path()));
        ASSERT_TRUE(db.addRow(table, {{"GlassID", id}, {"s1", s1}, {"GlassName", name}, {"Source", source}}))
            << db.lastError().description;
    }
    // "id name/source" of each row of a table, in stored order.
    std::vector<std::string> rows(const char* table) {
        CatalogueDatabase db;
        EXPECT_TRUE(db.open(folder.path()));
        DbRowSet rs;
        EXPECT_TRUE(db.findRows(table, {}, rs));
        std::vector<std::string> out;
        for (std::size_t i = 0; i < rs.rows.size(); ++i)
            out.push_back(std::to_string(static_cast<long>(*DbNumber(rs.value(i, "GlassID")))) + " " +
                          std::get<std::string>(rs.value(i, "GlassName")) + "/" +
                          std::get<std::string>(rs.value(i, "Source")));
        return out;
    }
    void clearTables() {
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("DELETE FROM GlassData; DELETE FROM Archive;"));
    }
    DbRowSet onlyRow() {
        CatalogueDatabase db;
        EXPECT_TRUE(db.open(folder.path()));
        DbRowSet rs;
        EXPECT_TRUE(db.findRows(kGlassDataTable, {}, rs));
        EXPECT_EQ(rs.rows.size(), 1u);
        return rs;
    }

    TestFolder folder;
    ScriptedBoxes boxes;
};

using Strings = std::vector<std::string>;

TEST_F(CatalogueOutputTest, OneMaterialFillsEveryMappedColumn) {
    GlassRecord g = Material("  N-BK7 ", " Mine ");
    g.properties.tg.set("557");
    g.properties.poisson.set(" 0.206 ");
    g.properties.sr.set("1");
    g.properties.cc.set("33/29");
    g.properties.bubble.set("0");
    g.properties.status.set("R");
    g.properties.price.set("1.0");
    g.properties.remark.set("Test remark");
    g.catalogFlags.statusECO = kTrue;
    g.catalogFlags.abrasion = 110;
    g.catalogFlags.dataDate = 45000.25;
    g.melt.meltFlag = kTrue;
    g.standardAbsorption.fill(static_cast<float>(kEmptyAbsorption));
    g.standardAbsorption[0] = 0.0f;      // 250 nm: 0 is a value
    g.standardAbsorption[9] = 0.125f;    // 334.1 nm
    g.standardAbsorption[40] = 0.004f;   // 2500 nm
    g.notes.notes[0].set("first note");
    g.notes.notes[5].set("last note");
    g.notes.dnDtType = kSchottDnDt;
    g.notes.dnDtSimple = 2.5f;
    g.notes.d0 = 1.86e-6f;
    g.notes.lambdaTK = 0.17f;
    ASSERT_TRUE(ExportToCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
    EXPECT_TRUE(boxes.shown().empty());

    const DbRowSet rs = onlyRow();
    auto at = [&](const char* column) { return rs.value(0, column); };
    auto text = [](const std::string& s) { return DbValue{s}; };
    auto num = [](double v) { return DbValue{v}; };
    auto integer = [](std::int64_t v) { return DbValue{v}; };
    const DbValue null;
    const std::pair<const char*, DbValue> expected[] = {
        {"GlassID", integer(1)},       {"s1", integer(8)},          {"GlassName", text("N-BK7")},
        {"GlassCode", integer(517642)}, {"Source", text("Mine")},   {"SchottName", text("N-BK7")},
        {"Polytype", text("Sel")},     {"C1", num(1.03961212)},     {"C6", num(103.560653)},
        {"C7", num(0)},                {"C14", num(0)},             {"Density", num(2.51)},
        {"IndexWvMin", integer(310)},  {"IndexWvMax", integer(2325)},
        // The dispersion values of N-BK7, each rounded to its decimals.
        {"nd", num(1.5168)},           {"vd", num(64.17)},          {"nF_NC", num(0.008054)},
        {"Ne", num(1.51872)},          {"Ve", num(63.96)},          {"nfd_ncd", num(0.00811)},
        {"PCs", num(0.56117)},         {"PdC", num(0.30763)},       {"PgF", num(0.53494)},
        {"Tg", num(557)},              {"Poisson", num(0.206)},     {"SR", num(1)},
        {"A3070", null},               {"Knoop", null},             {"REMark", text(g.properties.remark.raw())},
        {"CC", text("33/29")},         {"Bubble", num(0)},          {"Status", text("R")},
        {"Price", num(1)},             {"Abrasion", integer(110)},  {"StatusECO", integer(-1)},
        {"StatusMold", integer(0)},    {"DataDate", num(45000.25)}, {"StatusMelt", integer(-1)},
        {"T250", num(0)},              {"T260", null},              {"T334", num(0.125)},
        {"T2325", null},               {"T2500", num(0.004)},       {"TT1", text(" 2.5")},
        {"TT2", text(std::string(120, ' '))}, {"TT6", text(g.notes.notes[5].raw())},
        {"dndttype", integer(2)},      {"dndt_lin", num(2.5)},      {"dndt_D0", num(1.86e-6)},
        {"dndt_E1", num(0)},           {"dndt_LamdaTK", num(0.17)},
    };
    for (const auto& [column, value] : expected) EXPECT_EQ(at(column), value) << column;
    EXPECT_EQ(std::get<std::string>(at("REMark")).size(), 120u);
}

TEST_F(CatalogueOutputTest, NoteLineOneCarriesTheSimpleDnDtUnlessItIsZero) {
    struct Case {
        float dndt;
        std::string tt1;
    };
    const Case cases[] = {
        {0.0f, "note one"}, {2.5f, " 2.5"}, {-0.5f, "-0.5"}, {3e-6f, " 3E-06"}, {-1.5e20f, "-1.5E+20"}};
    std::int64_t id = 0;
    for (const auto& c : cases) {
        GlassRecord g = Material("G" + std::to_string(++id));
        g.notes.notes[0].set("note one");
        g.notes.dnDtSimple = c.dndt;
        ASSERT_TRUE(ExportToCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
        CatalogueDatabase db;
        ASSERT_TRUE(db.open(folder.path()));
        DbRowSet rs;
        ASSERT_TRUE(db.findRows(kGlassDataTable, {{"GlassID", id}}, rs));
        ASSERT_EQ(rs.rows.size(), 1u);
        EXPECT_EQ(TrimBlanks(std::get<std::string>(rs.value(0, "TT1"))), TrimBlanks(c.tt1)) << c.dndt;
        EXPECT_EQ(std::get<std::string>(rs.value(0, "TT1")).substr(0, c.tt1.size()), c.tt1) << c.dndt;
    }
}

TEST_F(CatalogueOutputTest, WithoutDispersionTheStoredConstantsStay) {
    // A constant index: nF = nC, and nF' = nC'.
    GlassRecord g = Material("Flat");
    g.definition.formulaType = kSchott;
    g.definition.coefficients = {2.25};
    g.constants.vd = 55.555f;
    g.constants.pCs = 0.4f;
    g.constants.pdC = 0.3f;
    g.constants.pgF = 0.6f;
    g.constants.ve = 44.444f;
    ASSERT_TRUE(ExportToCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
    const DbRowSet rs = onlyRow();
    EXPECT_EQ(rs.value(0, "nd"), DbValue{1.5});
    EXPECT_EQ(rs.value(0, "nF_NC"), DbValue{0.0});
    EXPECT_EQ(rs.value(0, "vd"), DbValue{55.56});
    EXPECT_EQ(rs.value(0, "PCs"), DbValue{0.4});
    EXPECT_EQ(rs.value(0, "PgF"), DbValue{0.6});
    EXPECT_EQ(rs.value(0, "Ve"), DbValue{44.44});
    EXPECT_EQ(rs.value(0, "Polytype"), DbValue{std::string("Sch")});
    EXPECT_EQ(rs.value(0, "Status"), DbValue{std::string()});  // a blank code is empty text, not Null
}

TEST(CatalogueMappingTest, RoundingPolytypeAndPropertyValues) {
    EXPECT_EQ(RoundTo(1.516804f, 5), 1.5168f);
    EXPECT_EQ(RoundTo(64.125f, 2), 64.13f);  // an exact half goes away from zero
    EXPECT_EQ(RoundTo(-64.125f, 2), -64.13f);
    EXPECT_EQ(RoundTo(0.0080539f, 6), 0.008054f);
    EXPECT_EQ(RoundTo(0.0000004f, 6), 0.0f);

    const std::pair<std::int16_t, const char*> types[] = {{kSchott, "Sch"}, {kSellmeier, "Sel"}, {kSchottPlus, "Scx"},
                                                          {kCauchy, "Cau"}, {kNoFormula, ""},   {kSellmeierPlus, ""},
                                                          {0, ""}};
    for (const auto& [type, code] : types) EXPECT_EQ(PolytypeCode(type), code) << type;

    struct Case {
        const char* text;
        bool numeric;
        bool ok;
        DbValue value;
    };
    const Case cases[] = {
        {"", true, true, DbValue{}},
        {"   ", false, true, DbValue{}},
        {" 1.5 ", true, true, DbValue{1.5}},
        {"7.1e-6", true, true, DbValue{static_cast<double>(7.1e-6f)}},
        {"1,5", true, false, DbValue{}},  // not fifteen
        {"abc", true, false, DbValue{}},
        {"1e39", true, false, DbValue{}},  // beyond a single
        {" 33/29 ", false, true, DbValue{std::string("33/29")}},
    };
    for (const auto& c : cases) {
        DbValue v;
        EXPECT_EQ(PropertyValue(c.text, c.numeric, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST_F(CatalogueOutputTest, NewIDsFollowTheLargestOfBothTables) {
    // The last rows in stored order are not the largest.
    addRow(kGlassDataTable, 30, "A", "Schott", 0);
    addRow(kGlassDataTable, 10, "B", "Schott", 0);
    addRow(kArchiveTable, 50, "C", "Hoya", 0);
    addRow(kArchiveTable, 7, "D", "Hoya", 0);
    const GlassRecord glasses[] = {Material("New1"), Material("New2")};
    ASSERT_TRUE(ExportToCatalogue(folder.path(), glasses, kOverwriteExisting, boxes));
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"30 A/Schott", "10 B/Schott", "51 New1/Mine", "52 New2/Mine"}));

    CatalogueDatabase db;
    ASSERT_TRUE(db.open(folder.path()));
    std::int64_t id = 0;
    ASSERT_TRUE(NextGlassID(db, id));
    EXPECT_EQ(id, 53);
}

TEST_F(CatalogueOutputTest, EmptyTablesStartAtOneAndTheLastIDIsRefused) {
    CatalogueDatabase db;
    ASSERT_TRUE(db.open(folder.path()));
    std::int64_t id = 0;
    ASSERT_TRUE(NextGlassID(db, id));
    EXPECT_EQ(id, 1);
    db.close();

    addRow(kArchiveTable, 32767, "Last", "Schott", 0);
    const GlassRecord g = Material("One too many");
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(ExportToCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
    EXPECT_EQ(boxes.last().text.substr(0, 42), "Error while adding data to database.\r\n3349");
    EXPECT_TRUE(rows(kGlassDataTable).empty());
}

TEST_F(CatalogueOutputTest, AnIDBeyondEveryIntegerInADamagedFileRefusesTheExport) {
    // Written by something else than the catalogue program: no 16-bit GlassID.
    for (const char* id : {"1e300", "'1e19'", "9223372036854775807"}) {
        SCOPED_TRACE(id);
        clearTables();
        {
            RawConnection raw(dbPath());
            ASSERT_TRUE(raw.exec(std::string("INSERT INTO Archive (GlassID, s1, GlassName, Source) VALUES (") + id +
                                 ", 0, 'Odd', 'Elsewhere')"));
        }
        {
            CatalogueDatabase db;
            ASSERT_TRUE(db.open(folder.path()));
            std::int64_t next = 0;
            ASSERT_TRUE(NextGlassID(db, next));
            EXPECT_EQ(next, 32768);  // none free
        }
        const GlassRecord g = Material("New");
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(ExportToCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
        EXPECT_EQ(boxes.last().text.substr(0, 42), "Error while adding data to database.\r\n3349");
        EXPECT_TRUE(rows(kGlassDataTable).empty());
    }
}

TEST_F(CatalogueOutputTest, OverwriteReplacesOwnCopiesAndLeaveSkipsThem) {
    struct Case {
        ExistingMaterials mode;
        Strings glassData;
        Strings archive;
    };
    const Case cases[] = {
        // The archived own copy of B leaves the archive; its new row goes to GlassData.
        {kOverwriteExisting, {"3 A/Mine", "10 A/MINE", "11 B/Mine", "12 C/Mine"}, {"9 X/Hoya"}},
        // A and B are skipped and take no ID: C gets the ID A would have had.
        {kLeaveExisting, {"1 a/mine", "3 A/Mine", "10 C/Mine"}, {"2 B/Mine", "9 X/Hoya"}},
    };
    for (const auto& c : cases) {
        clearTables();
        addRow(kGlassDataTable, 1, "a", "mine", 8);  // own copy of A, in another case
        addRow(kArchiveTable, 2, "B", "Mine", 8);    // archived own copy of B
        addRow(kGlassDataTable, 3, "A", "Mine", 0);  // the catalogue's own A: never touched
        addRow(kArchiveTable, 9, "X", "Hoya", 0);
        const GlassRecord glasses[] = {Material("A", "MINE"), Material("B"), Material("C")};
        ASSERT_TRUE(ExportToCatalogue(folder.path(), glasses, c.mode, boxes));
        EXPECT_EQ(rows(kGlassDataTable), c.glassData) << c.mode;
        EXPECT_EQ(rows(kArchiveTable), c.archive) << c.mode;
    }
}

TEST_F(CatalogueOutputTest, ANameWithApostrophesIsFoundAgain) {
    for (ExistingMaterials mode : {kOverwriteExisting, kLeaveExisting}) {
        clearTables();
        const GlassRecord first = Material("O'Neil's 'Crown'", "Jo's");
        const GlassRecord again = Material("o'neil's 'crown'", "JO'S");
        ASSERT_TRUE(ExportToCatalogue(folder.path(), std::span(&first, 1), mode, boxes));
        ASSERT_TRUE(ExportToCatalogue(folder.path(), std::span(&again, 1), mode, boxes));
        const Strings expected = mode == kOverwriteExisting ? Strings{"2 o'neil's 'crown'/JO'S"}
                                                            : Strings{"1 O'Neil's 'Crown'/Jo's"};
        EXPECT_EQ(rows(kGlassDataTable), expected) << mode;
        EXPECT_TRUE(boxes.shown().empty());
    }
}

TEST_F(CatalogueOutputTest, AFailureInTheMiddleLeavesNothingOfTheBatch) {
    addRow(kGlassDataTable, 1, "Old", "Mine", 8);
    addRow(kArchiveTable, 2, "Archived", "Mine", 8);
    addRow(kGlassDataTable, 3, "K7", "Schott", 0);
    {
        // Another program's rule: the engine refuses a row named "Refused".
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("CREATE TRIGGER refuse BEFORE INSERT ON GlassData WHEN NEW.GlassName = 'Refused' "
                             "BEGIN SELECT RAISE(ABORT, 'row refused'); END"));
        // And one that drops a row named "Dropped" without a word.
        ASSERT_TRUE(raw.exec("CREATE TRIGGER dropped BEFORE INSERT ON GlassData WHEN NEW.GlassName = 'Dropped' "
                             "BEGIN SELECT RAISE(IGNORE); END"));
    }
    const auto before = DumpCatalogue(dbPath());
    GlassRecord badNumber = Material("Comma");
    badNumber.properties.tg.set("1,5");
    struct Case {
        GlassRecord middle;
        std::string error;
    };
    const Case cases[] = {
        {badNumber, "3421\tData type conversion error in field 'Tg': '1,5' is not a number."},
        {Material("Refused"), "row refused"},
        {Material("Dropped"), "3021\tNo current record."},
    };
    for (const auto& c : cases) {
        const GlassRecord batch[] = {Material("First"), c.middle, Material("Last")};
        for (bool synchronise : {false, true}) {
            boxes.clear();
            boxes.answer(kAnswerOk);
            const bool ok = synchronise ? SynchroniseCatalogue(folder.path(), batch, kOverwriteExisting, boxes)
                                        : ExportToCatalogue(folder.path(), batch, kOverwriteExisting, boxes);
            EXPECT_FALSE(ok);
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.last().style, kBoxExclamation);
            const std::string& text = boxes.last().text;
            EXPECT_EQ(text.substr(0, 38), "Error while adding data to database.\r\n");
            EXPECT_NE(text.find(c.error), std::string::npos) << text;
            EXPECT_EQ(text.substr(text.size() - 49), "\r\n\r\nDatabase has been returned to original state!");
            EXPECT_EQ(DumpCatalogue(dbPath()), before) << c.middle.definition.name.str() << synchronise;
        }
    }
}

TEST_F(CatalogueOutputTest, ACommitBlockedByAReaderIsRolledBackAndTold) {
    addRow(kGlassDataTable, 1, "Old", "Mine", 8);
    const auto before = DumpCatalogue(dbPath());
    // The catalogue program reading: the batch runs, but cannot be committed.
    RawConnection reader(dbPath());
    ASSERT_TRUE(reader.exec("BEGIN; SELECT count(*) FROM GlassData;"));
    const GlassRecord glasses[] = {Material("Old"), Material("New")};
    for (bool synchronise : {false, true}) {
        boxes.clear();
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(synchronise ? SynchroniseCatalogue(folder.path(), glasses, kOverwriteExisting, boxes)
                                 : ExportToCatalogue(folder.path(), glasses, kOverwriteExisting, boxes));
        ASSERT_EQ(boxes.shown().size(), 1u);
        const std::string& text = boxes.last().text;
        EXPECT_EQ(text.rfind("Error while adding data to database.\r\n3045\t", 0), 0u) << text;
        EXPECT_EQ(text.substr(text.size() - 49), "\r\n\r\nDatabase has been returned to original state!");
    }
    ASSERT_TRUE(reader.exec("ROLLBACK"));
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
}

TEST_F(CatalogueOutputTest, AFailedRemovalWhileSynchronisingKeepsEveryRow) {
    addRow(kArchiveTable, 2, "Archived", "Mine", 8);
    {
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("CREATE TRIGGER keep BEFORE DELETE ON Archive BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    }
    addRow(kGlassDataTable, 1, "Own", "Mine", 8);
    const auto before = DumpCatalogue(dbPath());
    const GlassRecord g = Material("New");
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(SynchroniseCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
    EXPECT_EQ(boxes.last().text.substr(0, 50), "Error while removing user glasses from database.\r\n");
    EXPECT_NE(boxes.last().text.find("\tkept\r\n\r\nDatabase has been returned to original state!"), std::string::npos);
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
}

TEST_F(CatalogueOutputTest, SynchronisingLeavesExactlyTheGivenOwnRows) {
    addRow(kGlassDataTable, 1, "Gone", "Mine", 8);
    addRow(kGlassDataTable, 2, "N-SF6", "Schott", 0);
    addRow(kArchiveTable, 40, "Archived", "Mine", 8);
    addRow(kArchiveTable, 5, "K7", "Schott", 0);
    const GlassRecord glasses[] = {Material("One"), Material("Two")};
    ASSERT_TRUE(SynchroniseCatalogue(folder.path(), glasses, kOverwriteExisting, boxes));
    // The removed own row's ID 40 is free again: the next IDs follow the largest left.
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"2 N-SF6/Schott", "6 One/Mine", "7 Two/Mine"}));
    EXPECT_EQ(rows(kArchiveTable), (Strings{"5 K7/Schott"}));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CatalogueOutputTest, AMissingDatabaseIsToldAndNoFileIsMade) {
    TestFolder empty;
    const GlassRecord g = Material("Any");
    for (bool synchronise : {false, true}) {
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(synchronise ? SynchroniseCatalogue(empty.path(), std::span(&g, 1), kOverwriteExisting, boxes)
                                 : ExportToCatalogue(empty.path(), std::span(&g, 1), kOverwriteExisting, boxes));
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, "Unable to open database in path:\r\n" + empty.path() +
                                         "\r\nCould not find file '" + empty.path() + "TessaralExA.mdb'.");
        EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
    }
}

TEST_F(CatalogueOutputTest, ALockedDatabaseIsToldAndLeftAlone) {
    addRow(kGlassDataTable, 1, "Own", "Mine", 8);
    const auto before = DumpCatalogue(dbPath());
    RawConnection other(dbPath());
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
    const GlassRecord g = Material("New");
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(SynchroniseCatalogue(folder.path(), std::span(&g, 1), kOverwriteExisting, boxes));
    EXPECT_EQ(boxes.last().text, "Unable to open database in path:\r\n" + folder.path() + "\r\nCould not use '" +
                                     dbPath() + "'; file already in use.");
    ASSERT_TRUE(other.exec("ROLLBACK"));
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
}

}  // namespace
