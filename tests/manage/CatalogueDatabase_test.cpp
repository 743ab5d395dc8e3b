#include "manage/CatalogueDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "manage/ManageFixtures.h"
#include "support/TestFolder.h"

namespace {

std::vector<std::string> ExpectedColumns() {
    std::vector<std::string> c = {"GlassID", "s1", "GlassName", "GlassCode", "Source", "SchottName", "Polytype"};
    for (int i = 1; i <= 14; ++i) c.push_back("C" + std::to_string(i));
    for (const char* n : {"Density", "IndexWvMin", "IndexWvMax", "nd", "vd", "nF_NC", "Ne", "Ve", "nfd_ncd", "PCs",
                          "PdC", "PgF", "A3070", "A20300", "Tg", "T1013", "T1076", "Cp", "lambda", "EMod", "Poisson",
                          "Torsion", "Knoop", "CR", "FR", "SR", "AR", "PR", "REMark", "CC", "Bubble", "Status",
                          "Price", "Abrasion", "StatusECO", "StatusMold", "StatusILine", "DataDate", "StatusMelt"})
        c.push_back(n);
    for (const char* t : {"T250", "T260", "T270", "T280", "T290", "T300", "T310", "T320", "T330", "T334", "T340",
                          "T350", "T360", "T365", "T370", "T380", "T390", "T400", "T405", "T420", "T436", "T440",
                          "T460", "T480", "T500", "T546", "T550", "T580", "T600", "T620", "T650", "T660", "T700",
                          "T800", "T900", "T1000", "T1060", "T1530", "T1970", "T2325", "T2500"})
        c.push_back(t);
    for (int i = 1; i <= 6; ++i) c.push_back("TT" + std::to_string(i));
    for (const char* n : {"dndttype", "dndt_lin", "dndt_D0", "dndt_D1", "dndt_D2", "dndt_E0", "dndt_E1", "dndt_LamdaTK"})
        c.push_back(n);
    return c;
}

class CatalogueDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(CreateCatalogueDatabase(folder.file(kCatalogueFileName), &error)) << error;
        ASSERT_TRUE(db.open(folder.path())) << db.lastError().description;
    }
    std::vector<std::int64_t> ids(const char* table) {
        DbRowSet rs;
        EXPECT_TRUE(db.findRows(table, {}, rs)) << db.lastError().description;
        std::vector<std::int64_t> out;
        for (std::size_t i = 0; i < rs.rows.size(); ++i) out.push_back(static_cast<std::int64_t>(*DbNumber(rs.value(i, "GlassID"))));
        return out;
    }
    bool add(const char* table, std::int64_t id, const std::string& name, const std::string& source = "Schott") {
        return db.addRow(table, {{"GlassID", id}, {"s1", std::int64_t{0}}, {"GlassName", name}, {"Source", source}});
    }

    TestFolder folder;
    CatalogueDatabase db;
};

TEST_F(CatalogueDatabaseTest, BothTablesHaveTheCatalogueColumnsInOrder) {
    RawConnection raw(folder.file(kCatalogueFileName));
    for (const char* table : {kGlassDataTable, kArchiveTable}) {
        std::vector<std::string> names;
        for (const auto& r : raw.rows(std::string("SELECT name FROM pragma_table_info('") + table + "') ORDER BY cid"))
            names.push_back(r[0]);
        EXPECT_EQ(names, ExpectedColumns()) << table;
        std::vector<std::string> seen;
        ASSERT_TRUE(db.columns(table, seen));
        EXPECT_EQ(seen, ExpectedColumns()) << table;
    }
    // GlassID is indexed in each table.
    EXPECT_EQ(raw.rows("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND sql LIKE '%GlassID%'")[0][0], "2");
}

TEST_F(CatalogueDatabaseTest, CreatingNeverTouchesAnExistingFile) {
    ASSERT_TRUE(add(kGlassDataTable, 1, "N-BK7"));
    db.close();
    std::string error;
    EXPECT_FALSE(CreateCatalogueDatabase(folder.file(kCatalogueFileName), &error));
    EXPECT_NE(error.find("already exists"), std::string::npos);
    ASSERT_TRUE(db.open(folder.path()));
    EXPECT_EQ(ids(kGlassDataTable), (std::vector<std::int64_t>{1}));
}

TEST(CatalogueDatabaseOpenTest, MissingOrForeignFilesFailWithoutCreatingOne) {
    TestFolder folder;
    CatalogueDatabase db;
    EXPECT_FALSE(db.open(folder.path()));
    EXPECT_EQ(db.lastError().number, kDbErrFileNotFound);
    EXPECT_EQ(db.lastError().description, "Could not find file '" + folder.path() + "TessaralExA.mdb'.");
    // A folder without its trailing separator names the same file.
    EXPECT_FALSE(db.open(folder.path().substr(0, folder.path().size() - 1)));
    EXPECT_EQ(db.lastError().description, "Could not find file '" + folder.path() + "TessaralExA.mdb'.");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_FALSE(db.isOpen());

    const char jet[] = "\0\x01\0\0Standard Jet DB\0\0\0\0 and no SQLite header";
    folder.write("TessaralExA.mdb", std::string(jet, sizeof jet - 1));
    EXPECT_FALSE(db.open(folder.path()));
    EXPECT_EQ(db.lastError().number, kDbErrBadFormat);
}

TEST(CatalogueDatabaseOpenTest, FindsTheFileIgnoringCase) {
    TestFolder folder;
    ASSERT_TRUE(CreateCatalogueDatabase(folder.file("tessaralexa.MDB")));
    CatalogueDatabase db;
    ASSERT_TRUE(db.open(folder.path())) << db.lastError().description;
    EXPECT_EQ(db.path(), folder.file("tessaralexa.MDB"));
}

TEST_F(CatalogueDatabaseTest, AFileHeldByAnotherProgramIsAlreadyInUse) {
    db.close();
    for (const char* lock : {"BEGIN IMMEDIATE; INSERT INTO GlassData (GlassID) VALUES (7);", "BEGIN EXCLUSIVE;"}) {
        RawConnection other(folder.file(kCatalogueFileName));
        ASSERT_TRUE(other.exec(lock)) << lock;
        EXPECT_FALSE(db.open(folder.path())) << lock;
        EXPECT_EQ(db.lastError().number, kDbErrFileInUse) << lock;
        EXPECT_EQ(db.lastError().description,
                  "Could not use '" + folder.file(kCatalogueFileName) + "'; file already in use.");
        ASSERT_TRUE(other.exec("ROLLBACK"));
    }
    EXPECT_TRUE(db.open(folder.path()));
}

TEST_F(CatalogueDatabaseTest, RowsKeepTheirStoredOrder) {
    for (std::int64_t id : {5, 2, 9}) ASSERT_TRUE(add(kGlassDataTable, id, "G" + std::to_string(id)));
    int count = 0;
    ASSERT_TRUE(db.deleteRows(kGlassDataTable, {{"GlassID", std::int64_t{2}}}, count));
    EXPECT_EQ(count, 1);
    ASSERT_TRUE(add(kGlassDataTable, 1, "G1"));
    EXPECT_EQ(ids(kGlassDataTable), (std::vector<std::int64_t>{5, 9, 1}));
    DbValue largest;
    ASSERT_TRUE(db.largestValue(kGlassDataTable, "glassid", largest));
    EXPECT_EQ(DbNumber(largest), 9.0);
    ASSERT_TRUE(db.largestValue(kArchiveTable, "GlassID", largest));
    EXPECT_TRUE(IsNull(largest));
}

TEST_F(CatalogueDatabaseTest, CriteriaAreDataAndTextsMatchIgnoringCase) {
    // Windows-1252: "Schott's é-Glas" and its upper case.
    const std::string name = "Schott's \xE9-Glas";
    ASSERT_TRUE(add(kGlassDataTable, 1, name, "O'Hara"));
    ASSERT_TRUE(add(kGlassDataTable, 2, "x' OR '1'='1", "O'Hara"));
    DbRowSet rs;
    ASSERT_TRUE(db.findRows(kGlassDataTable, {{"GLASSNAME", "SCHOTT'S \xC9-GLAS"}, {"source", "o'hara"}}, rs));
    ASSERT_EQ(rs.rows.size(), 1u);
    EXPECT_EQ(rs.value(0, "GlassName"), DbValue{name});
    ASSERT_TRUE(db.findRows(kGlassDataTable, {{"GlassName", "x' OR '1'='1"}}, rs));
    EXPECT_EQ(rs.rows.size(), 1u);
    ASSERT_TRUE(db.findRows(kGlassDataTable, {{"GlassName", "' OR 1=1 --"}}, rs));
    EXPECT_EQ(rs.rows.size(), 0u);
    // Other programs read UTF-8 from the file.
    RawConnection raw(folder.file(kCatalogueFileName));
    EXPECT_EQ(raw.rows("SELECT GlassName FROM GlassData WHERE GlassID = 1")[0][0], "Schott's \xC3\xA9-Glas");
    bool found = false;
    ASSERT_TRUE(db.seekID(kGlassDataTable, 2, rs, found));
    EXPECT_TRUE(found);
    ASSERT_TRUE(db.seekID(kGlassDataTable, 3, rs, found));
    EXPECT_FALSE(found);
}

TEST_F(CatalogueDatabaseTest, UnknownNamesAndValuesThatDoNotFitAreRefused) {
    struct Case {
        const char* table;
        DbField field;
        int error;
    };
    const Case cases[] = {
        {kGlassDataTable, {"Tg", std::string("1,5")}, kDbErrTypeConversion},
        {kGlassDataTable, {"GlassID", std::int64_t{40000}}, kDbErrOverflow},
        {kGlassDataTable, {"IndexWvMin", 32767.5}, kDbErrOverflow},
        {kGlassDataTable, {"nd", 1e300}, kDbErrOverflow},
        {kGlassDataTable, {"NoSuchColumn", std::int64_t{1}}, kDbErrFieldNotFound},
        {kGlassDataTable, {"GlassID\" = 1; DROP TABLE Archive; --", std::int64_t{1}}, kDbErrFieldNotFound},
        {"GlassData; DROP TABLE Archive", {"GlassID", std::int64_t{1}}, kDbErrTableNotFound},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(db.addRow(c.table, {c.field})) << c.field.column;
        EXPECT_EQ(db.lastError().number, c.error) << c.field.column;
    }
    EXPECT_TRUE(ids(kGlassDataTable).empty());
    EXPECT_TRUE(ids(kArchiveTable).empty());
    ASSERT_TRUE(add(kGlassDataTable, 1, "A"));
    EXPECT_FALSE(add(kGlassDataTable, 1, "B"));
    EXPECT_EQ(db.lastError().number, kDbErrDuplicateKey);
}

TEST_F(CatalogueDatabaseTest, ValuesAreStoredAsTheirColumnHoldsThem) {
    ASSERT_TRUE(db.addRow(kGlassDataTable, {{"GlassID", 3.5},               // to even: 4
                                            {"StatusECO", std::int64_t{1}}, // True is -1
                                            {"nd", static_cast<double>(1.5168f)},
                                            {"Tg", std::string(" 557 ")},
                                            {"GlassName", std::int64_t{42}}}));
    DbRowSet rs;
    ASSERT_TRUE(db.findRows(kGlassDataTable, {}, rs));
    ASSERT_EQ(rs.rows.size(), 1u);
    EXPECT_EQ(rs.value(0, "GlassID"), DbValue{std::int64_t{4}});
    EXPECT_EQ(rs.value(0, "StatusECO"), DbValue{std::int64_t{-1}});
    EXPECT_EQ(rs.value(0, "nd"), DbValue{1.5168});
    EXPECT_EQ(rs.value(0, "Tg"), DbValue{557.0});
    EXPECT_EQ(rs.value(0, "GlassName"), DbValue{std::string("42")});
    EXPECT_TRUE(IsNull(rs.value(0, "T250")));
}

TEST_F(CatalogueDatabaseTest, RollbackUndoesEverySinceBeginAndCommitKeeps) {
    ASSERT_TRUE(add(kGlassDataTable, 1, "Kept"));
    ASSERT_TRUE(db.beginTrans());
    ASSERT_TRUE(add(kGlassDataTable, 2, "Gone"));
    int n = 0;
    ASSERT_TRUE(db.deleteRows(kGlassDataTable, {{"GlassID", std::int64_t{1}}}, n));
    ASSERT_TRUE(db.updateRows(kGlassDataTable, {}, {{"Source", "Changed"}}, n));
    EXPECT_TRUE(db.rollback());
    EXPECT_FALSE(db.inTransaction());
    DbRowSet rs;
    ASSERT_TRUE(db.findRows(kGlassDataTable, {}, rs));
    ASSERT_EQ(rs.rows.size(), 1u);
    EXPECT_EQ(rs.value(0, "Source"), DbValue{std::string("Schott")});

    ASSERT_TRUE(db.beginTrans());
    ASSERT_TRUE(add(kGlassDataTable, 2, "Stays"));
    ASSERT_TRUE(db.commitTrans());
    EXPECT_FALSE(db.commitTrans());
    EXPECT_EQ(db.lastError().number, kDbErrNoTransaction);
    db.close();
    ASSERT_TRUE(db.open(folder.path()));
    EXPECT_EQ(ids(kGlassDataTable), (std::vector<std::int64_t>{1, 2}));
}

TEST_F(CatalogueDatabaseTest, ARowMovesToTheOtherTableByPosition) {
    ASSERT_TRUE(db.addRow(kGlassDataTable, {{"GlassID", std::int64_t{12}}, {"GlassName", "F2"}, {"T2500", 0.25}}));
    DbRowSet rs;
    bool found = false;
    ASSERT_TRUE(db.seekID(kGlassDataTable, 12, rs, found));
    ASSERT_TRUE(found);
    ASSERT_TRUE(db.addRowByPosition(kArchiveTable, rs.rows[0].values));
    ASSERT_TRUE(db.deleteRow(kGlassDataTable, rs.rows[0].rowId));
    EXPECT_TRUE(ids(kGlassDataTable).empty());
    DbRowSet archived;
    ASSERT_TRUE(db.findRows(kArchiveTable, {}, archived));
    ASSERT_EQ(archived.rows.size(), 1u);
    EXPECT_EQ(archived.rows[0].values, rs.rows[0].values);
    EXPECT_EQ(archived.ordinal("t250") + kStandardTransCount - 1, archived.ordinal("T2500"));
}

}  // namespace
