// Catalogue databases and parent glasses for the melt tests, made by code.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/CatalogueDatabase.h"
#include "manage/CatalogueOutput.h"
#include "manage/ManageFixtures.h"
#include "model/GlassData.h"
#include "model/GlassRecord.h"
#include "support/TestFolder.h"

// N-BK7 by its published Sellmeier formula, 310..2325 nm.
inline GlassRecord SellmeierParent(const std::string& name = "N-BK7", const std::string& source = "SCHOTT") {
    return Material(name, source);
}

inline double IndexOf(const GlassRecord& g, float nm, std::int16_t type = -1) {
    bool ok = false;
    const double n = EvaluateIndex(g.definition, nm, type < 0 ? g.definition.formulaType : type, ok);
    EXPECT_TRUE(ok) << nm;
    return n;
}

// A catalogue database "TessaralExA.mdb" in a fresh folder.
class CatalogueFolder {
public:
    CatalogueFolder() { EXPECT_TRUE(CreateCatalogueDatabase(path())); }
    std::string path() const { return folder.file(kCatalogueFileName); }
    const std::string& dir() const { return folder.path(); }

    // A row of the catalogue's own with just these columns.
    void addRow(const std::vector<DbField>& fields) {
        CatalogueDatabase db;
        ASSERT_TRUE(db.open(dir()));
        ASSERT_TRUE(db.addRow(kGlassDataTable, fields)) << db.lastError().description;
    }
    // A whole material as the catalogue output writes it.
    void addGlass(std::int64_t id, const GlassRecord& g) {
        CatalogueDatabase db;
        ASSERT_TRUE(db.open(dir()));
        ASSERT_TRUE(AddGlassRow(db, id, g)) << db.lastError().description;
    }

    TestFolder folder;
};
