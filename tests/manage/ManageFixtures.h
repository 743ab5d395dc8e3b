// Materials and catalogue databases for the output tests, made by code.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "manage/CatalogueDatabase.h"
#include "model/GlassRecord.h"

// A complete material: N-BK7's Sellmeier formula, properties, transmission,
// notes and flags, under the given name and source.
inline GlassRecord Material(const std::string& name, const std::string& source = "Mine") {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set(source);
    g.definition.catalogNumber = kOwnCatalogNumber;
    g.definition.formulaType = kSellmeier;
    g.definition.coefficients = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    g.definition.glassCode = 517642;
    g.definition.density = 2.51f;
    g.definition.lowerWavelength = 310;
    g.definition.upperWavelength = 2325;
    for (auto& s : g.sections) s.ready = kTrue;
    return g;
}

// A plain connection of our own, to look at or lock a file behind the engine's back.
class RawConnection {
public:
    explicit RawConnection(const std::string& path) { sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr); }
    ~RawConnection() { sqlite3_close_v2(m_db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool exec(const std::string& sql) { return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }
    // The rows of a query, each field as text ("NULL" for Null).
    std::vector<std::vector<std::string>> rows(const std::string& sql) {
        std::vector<std::vector<std::string>> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                row.push_back(t ? t : "NULL");
            }
            out.push_back(row);
        }
        sqlite3_finalize(st);
        return out;
    }
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// Every row of both tables with every column, in stored order: the whole content.
inline std::vector<std::vector<std::string>> DumpCatalogue(const std::string& path) {
    RawConnection raw(path);
    auto all = raw.rows("SELECT 'GlassData', * FROM GlassData ORDER BY rowid");
    for (auto& r : raw.rows("SELECT 'Archive', * FROM Archive ORDER BY rowid")) all.push_back(r);
    return all;
}

// "GlassID GlassName" of each row of a table, in stored order.
inline std::vector<std::string> TableRows(const std::string& path, const std::string& table) {
    RawConnection raw(path);
    std::vector<std::string> out;
    for (const auto& r : raw.rows("SELECT GlassID, GlassName FROM \"" + table + "\" ORDER BY rowid"))
        out.push_back(r[0] + " " + r[1]);
    return out;
}
