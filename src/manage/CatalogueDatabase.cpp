#include "manage/CatalogueDatabase.h"

#include <sqlite3.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/FileUtil.h"
#include "model/FixedText.h"
#include "platform/NumberText.h"
#include "platform/Text1252.h"
#include "model/TransCalcs.h"

namespace {

// A file the catalogue program holds is retried this long before the open fails.
constexpr int kBusyTimeoutMs = 250;
constexpr const char* kTextCollation = "NOCASE1252";

using K = ColumnKind;

// The column list. The transmission columns are named after the standard
// transmission wavelengths rounded to whole nm (334.1 gives T334).
std::vector<CatalogueColumn> makeColumns() {
    std::vector<CatalogueColumn> c = {
        {"GlassID", K::kShort}, {"s1", K::kShort},   {"GlassName", K::kText},  {"GlassCode", K::kLong},
        {"Source", K::kText},   {"SchottName", K::kText}, {"Polytype", K::kText}};
    for (int i = 1; i <= kCoefficientSlots; ++i) c.push_back({"C" + std::to_string(i), K::kDouble});
    c.push_back({"Density", K::kSingle});
    for (const char* n : {"IndexWvMin", "IndexWvMax"}) c.push_back({n, K::kShort});
    for (const char* n : {"nd", "vd", "nF_NC", "Ne", "Ve", "nfd_ncd", "PCs", "PdC", "PgF", "A3070", "A20300", "Tg",
                          "T1013", "T1076", "Cp", "lambda", "EMod", "Poisson", "Torsion", "Knoop", "CR", "FR", "SR",
                          "AR", "PR"})
        c.push_back({n, K::kSingle});
    c.push_back({"REMark", K::kText});
    c.push_back({"CC", K::kText});
    c.push_back({"Bubble", K::kSingle});
    c.push_back({"Status", K::kText});
    c.push_back({"Price", K::kSingle});
    c.push_back({"Abrasion", K::kShort});
    for (const char* n : {"StatusECO", "StatusMold", "StatusILine"}) c.push_back({n, K::kBoolean});
    c.push_back({"DataDate", K::kDate});
    c.push_back({"StatusMelt", K::kBoolean});
    for (float w : StandardTransWavelengths) c.push_back({"T" + std::to_string(std::lround(w)), K::kSingle});
    for (int i = 1; i <= 6; ++i) c.push_back({"TT" + std::to_string(i), K::kText});
    c.push_back({"dndttype", K::kShort});
    for (const char* n : {"dndt_lin", "dndt_D0", "dndt_D1", "dndt_D2", "dndt_E0", "dndt_E1", "dndt_LamdaTK"})
        c.push_back({n, K::kSingle});
    return c;
}

// Declared types written by CreateCatalogueDatabase; each also has the SQLite
// affinity that keeps its values as they are written.
const char* declaredType(ColumnKind kind) {
    switch (kind) {
        case K::kShort: return "SMALLINT";
        case K::kLong: return "INTEGER";
        case K::kSingle: return "FLOAT";
        case K::kDouble: return "DOUBLE";
        case K::kText: return "TEXT";
        case K::kBoolean: return "BOOLEAN";
        case K::kDate: return "DATETIME";
        case K::kAny: break;
    }
    return "";
}

// The kind of a column of a file this program may not have made: its declared
// type read the way SQLite reads it.
ColumnKind kindOfDeclared(std::string_view declared) {
    const std::string t = UpperCase1252(declared);
    if (t == "SMALLINT" || t == "SHORT") return K::kShort;
    if (t == "BOOLEAN" || t == "BIT" || t == "YESNO") return K::kBoolean;
    if (t == "DATETIME" || t == "DATE") return K::kDate;
    if (t == "FLOAT" || t == "SINGLE") return K::kSingle;
    if (t.find("INT") != std::string::npos || t == "LONG") return K::kLong;
    if (t.find("CHAR") != std::string::npos || t.find("CLOB") != std::string::npos ||
        t.find("TEXT") != std::string::npos || t == "MEMO")
        return K::kText;
    if (t.find("REAL") != std::string::npos || t.find("FLOA") != std::string::npos ||
        t.find("DOUB") != std::string::npos)
        return K::kDouble;
    return K::kAny;
}

std::string quoted(std::string_view identifier) {
    std::string out = "\"";
    for (char c : identifier) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// SQLite keeps texts as UTF-8; the record texts are Windows-1252. A byte that
// does not start a valid UTF-8 sequence is taken as Windows-1252, so a file
// written with raw code-page bytes reads back unchanged.
std::string text1252FromUtf8(std::string_view text) { return Text1252FromUtf8(text, BrokenUtf8::KeepByte); }

// Texts compare as the catalogue program's engine compares them: ignoring the
// case of the code page's letters.
int compareNoCase(void*, int na, const void* a, int nb, const void* b) {
    const std::string x = UpperCase1252(text1252FromUtf8({static_cast<const char*>(a), static_cast<std::size_t>(na)}));
    const std::string y = UpperCase1252(text1252FromUtf8({static_cast<const char*>(b), static_cast<std::size_t>(nb)}));
    const int r = x.compare(y);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) { m_rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepared() const { return m_rc; }
    sqlite3_stmt* get() const { return m_stmt; }

    int bind(int index, const DbValue& v) {
        if (const auto* i = std::get_if<std::int64_t>(&v)) return sqlite3_bind_int64(m_stmt, index, *i);
        if (const auto* d = std::get_if<double>(&v)) return sqlite3_bind_double(m_stmt, index, *d);
        if (const auto* s = std::get_if<std::string>(&v)) {
            const std::string u = Utf8From1252(*s);
            return sqlite3_bind_text64(m_stmt, index, u.data(), u.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        return sqlite3_bind_null(m_stmt, index);
    }
    int bindAll(const std::vector<DbValue>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int rc = bind(static_cast<int>(i + 1), values[i]);
            if (rc != SQLITE_OK) return rc;
        }
        return SQLITE_OK;
    }
    DbValue column(int i) const {
        switch (sqlite3_column_type(m_stmt, i)) {
            case SQLITE_INTEGER: return std::int64_t{sqlite3_column_int64(m_stmt, i)};
            case SQLITE_FLOAT: return sqlite3_column_double(m_stmt, i);
            case SQLITE_NULL: return std::monostate{};
            default: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
                const int n = sqlite3_column_bytes(m_stmt, i);
                return text1252FromUtf8(p ? std::string_view(p, static_cast<std::size_t>(n)) : std::string_view());
            }
        }
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

bool isKnownTable(std::string_view name) {
    return EqualsIgnoreCase(name, kGlassDataTable) || EqualsIgnoreCase(name, kArchiveTable);
}

// VB's rounding of a real to an integer: to the nearest, halves to even.
double roundHalfEven(double v) { return std::nearbyint(v); }

}  // namespace

std::string CatalogueConnectString() { return std::string(kCatalogueConnectPrefix) + kCataloguePassword; }

const std::vector<CatalogueColumn>& CatalogueColumns() {
    static const std::vector<CatalogueColumn> columns = makeColumns();
    return columns;
}

std::optional<double> DbNumber(const DbValue& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* s = std::get_if<std::string>(&v)) {
        double x = 0;
        if (ParseNumber(*s, x)) return x;
    }
    return std::nullopt;
}

int DbRowSet::ordinal(std::string_view name) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (EqualsIgnoreCase(columns[i], name)) return static_cast<int>(i);
    return -1;
}

const DbValue& DbRowSet::value(std::size_t row, std::string_view name) const {
    static const DbValue null;
    const int i = ordinal(name);
    if (i < 0 || row >= rows.size() || static_cast<std::size_t>(i) >= rows[row].values.size()) return null;
    return rows[row].values[static_cast<std::size_t>(i)];
}

CatalogueDatabase::CatalogueDatabase() = default;

CatalogueDatabase::~CatalogueDatabase() { close(); }

bool CatalogueDatabase::fail(int number, std::string description) {
    m_error.number = number;
    m_error.description = std::move(description);
    return false;
}

bool CatalogueDatabase::failFromEngine(int code) {
    const int primary = code & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return fail(kDbErrFileInUse, "Could not use '" + m_path + "'; file already in use.");
    if (primary == SQLITE_NOTADB) return fail(kDbErrBadFormat, "Unrecognized database format '" + m_path + "'.");
    if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM)
        return fail(kDbErrCannotOpen, "Could not open '" + m_path + "' for writing.");
    const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
        return fail(kDbErrDuplicateKey, "The changes were not made because they would create duplicate values in "
                                        "the index (" + text1252FromUtf8(message) + ").");
    return fail(code, text1252FromUtf8(message));
}

bool CatalogueDatabase::open(const std::string& folder) {
    close();
    m_error = {};
    const auto found = FindFileIgnoreCase(folder, kCatalogueFileName);
    if (!found) return fail(kDbErrFileNotFound, "Could not find file '" + JoinPath(folder, kCatalogueFileName) + "'.");
    return openFile(*found);
}

bool CatalogueDatabase::openFile(const std::string& path) {
    close();
    m_error = {};
    m_path = path;
    if (!FileExists(path)) return fail(kDbErrFileNotFound, "Could not find file '" + path + "'.");
    // Without SQLITE_OPEN_CREATE a missing file stays missing.
    const int rc = sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        failFromEngine(rc);
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_create_collation_v2(m_db, kTextCollation, SQLITE_UTF8, nullptr, compareNoCase, nullptr);
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        fail(kDbErrCannotOpen, "Could not open '" + path + "' for writing.");
        close();
        return false;
    }
    // Opening is lazy in SQLite; taking and releasing the write lock here tells
    // a file that is no database, or one another program is writing, at once.
    if (!exec("BEGIN IMMEDIATE") || !exec("ROLLBACK")) {
        const DbError e = m_error;
        close();
        m_error = e;
        return false;
    }
    return true;
}

void CatalogueDatabase::close() {
    if (m_db) sqlite3_close_v2(m_db);  // rolls back an open transaction
    m_db = nullptr;
    m_tables.clear();
}

bool CatalogueDatabase::exec(const char* sql) {
    if (!m_db) return fail(kDbErrNotOpen, "The database is not open.");
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    return true;
}

bool CatalogueDatabase::inTransaction() const { return m_db && sqlite3_get_autocommit(m_db) == 0; }

bool CatalogueDatabase::beginTrans() {
    if (inTransaction()) return fail(kDbErrNestedTransaction, "Could not start transaction; one is already open.");
    return exec("BEGIN IMMEDIATE");
}

bool CatalogueDatabase::commitTrans() {
    if (!inTransaction())
        return fail(kDbErrNoTransaction, "You tried to commit or rollback a transaction without first beginning "
                                         "a transaction.");
    return exec("COMMIT");
}

bool CatalogueDatabase::rollback() {
    if (!m_db) return true;  // a closed connection has nothing pending
    if (!inTransaction()) return true;  // the engine may already have rolled back after a failure
    const DbError before = m_error;
    exec("ROLLBACK");
    m_error = before;  // the caller reports the failure that led here
    if (inTransaction()) close();  // closing rolls back what ROLLBACK could not
    return true;
}

const CatalogueDatabase::TableInfo* CatalogueDatabase::table(std::string_view name) {
    if (!m_db) {
        fail(kDbErrNotOpen, "The database is not open.");
        return nullptr;
    }
    for (const auto& t : m_tables)
        if (EqualsIgnoreCase(t.name, name)) return &t;
    if (!isKnownTable(name)) {
        fail(kDbErrTableNotFound, "Cannot find the input table '" + std::string(name) + "'.");
        return nullptr;
    }
    Statement st(m_db, "SELECT name, type FROM pragma_table_info(?1) ORDER BY cid");
    if (st.prepared() != SQLITE_OK) {
        failFromEngine(sqlite3_extended_errcode(m_db));
        return nullptr;
    }
    st.bind(1, std::string(name));
    TableInfo info;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const auto* n = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
        info.columns.push_back(n ? n : "");
        info.kinds.push_back(kindOfDeclared(t ? t : ""));
    }
    if (rc != SQLITE_DONE) {
        failFromEngine(sqlite3_extended_errcode(m_db));
        return nullptr;
    }
    if (info.columns.empty()) {
        fail(kDbErrTableNotFound, "Cannot find the input table '" + std::string(name) + "'.");
        return nullptr;
    }
    info.name = EqualsIgnoreCase(name, kGlassDataTable) ? kGlassDataTable : kArchiveTable;
    m_tables.push_back(std::move(info));
    return &m_tables.back();
}

int CatalogueDatabase::columnIndex(const TableInfo& t, std::string_view name) const {
    for (std::size_t i = 0; i < t.columns.size(); ++i)
        if (EqualsIgnoreCase(t.columns[i], name)) return static_cast<int>(i);
    return -1;
}

bool CatalogueDatabase::convert(const TableInfo& t, int column, const DbValue& in, DbValue& out) {
    const ColumnKind kind = t.kinds[static_cast<std::size_t>(column)];
    const std::string& name = t.columns[static_cast<std::size_t>(column)];
    if (IsNull(in) || kind == K::kAny) {
        out = in;
        return true;
    }
    if (kind == K::kText) {
        if (const auto* s = std::get_if<std::string>(&in)) out = *s;
        else if (const auto* i = std::get_if<std::int64_t>(&in)) out = std::to_string(*i);
        else out = ShortestText(std::get<double>(in));
        return true;
    }
    const auto number = DbNumber(in);
    if (!number) return fail(kDbErrTypeConversion, "Data type conversion error in field '" + name + "'.");
    const double v = *number;
    const std::string overflow = "Numeric field overflow in field '" + name + "'.";
    if (!std::isfinite(v)) return fail(kDbErrOverflow, overflow);
    switch (kind) {
        case K::kShort:
        case K::kLong: {
            const double r = std::holds_alternative<std::int64_t>(in) ? v : roundHalfEven(v);
            const double lo = kind == K::kShort ? -32768.0 : -2147483648.0;
            const double hi = kind == K::kShort ? 32767.0 : 2147483647.0;
            if (r < lo || r > hi) return fail(kDbErrOverflow, overflow);
            out = std::holds_alternative<std::int64_t>(in) ? std::get<std::int64_t>(in) : static_cast<std::int64_t>(r);
            return true;
        }
        case K::kBoolean:
            out = std::int64_t{v != 0 ? -1 : 0};
            return true;
        case K::kSingle: {
            if (std::fabs(v) > std::numeric_limits<float>::max()) return fail(kDbErrOverflow, overflow);
            // Kept as the shortest decimal of the single, so that the file holds
            // 1.5168 and not 1.51680004596710205.
            double shortest = 0;
            ParseNumber(ShortestText(static_cast<float>(v)), shortest);
            out = shortest;
            return true;
        }
        default:
            out = v;
            return true;
    }
}

bool CatalogueDatabase::whereClause(const TableInfo& t, const DbCriteria& criteria, std::string& sql,
                                    std::vector<DbValue>& binds) {
    for (std::size_t i = 0; i < criteria.size(); ++i) {
        const int c = columnIndex(t, criteria[i].column);
        if (c < 0) return fail(kDbErrFieldNotFound, "Item '" + criteria[i].column + "' not found in this collection.");
        sql += i == 0 ? " WHERE " : " AND ";
        sql += quoted(t.columns[static_cast<std::size_t>(c)]);
        DbValue v;
        if (!convert(t, c, criteria[i].value, v)) return false;
        if (IsNull(v)) {
            sql += " IS NULL";
            continue;
        }
        sql += " = ?";
        if (std::holds_alternative<std::string>(v)) sql += std::string(" COLLATE ") + kTextCollation;
        binds.push_back(std::move(v));
    }
    return true;
}

bool CatalogueDatabase::columns(std::string_view tableName, std::vector<std::string>& names) {
    const TableInfo* t = table(tableName);
    if (!t) return false;
    names = t->columns;
    return true;
}

bool CatalogueDatabase::findRows(std::string_view tableName, const DbCriteria& criteria, DbRowSet& out) {
    const TableInfo* t = table(tableName);
    if (!t) return false;
    std::string sql = "SELECT rowid";
    for (const auto& c : t->columns) sql += ", " + quoted(c);
    sql += " FROM " + quoted(t->name);
    std::vector<DbValue> binds;
    if (!whereClause(*t, criteria, sql, binds)) return false;
    sql += " ORDER BY rowid";
    Statement st(m_db, sql);
    if (st.prepared() != SQLITE_OK || st.bindAll(binds) != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    DbRowSet result;
    result.columns = t->columns;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        DbRow row;
        row.rowId = sqlite3_column_int64(st.get(), 0);
        row.values.reserve(t->columns.size());
        for (std::size_t i = 0; i < t->columns.size(); ++i) row.values.push_back(st.column(static_cast<int>(i + 1)));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) return failFromEngine(sqlite3_extended_errcode(m_db));
    out = std::move(result);
    return true;
}

bool CatalogueDatabase::seekID(std::string_view tableName, std::int64_t id, DbRowSet& out, bool& found) {
    if (!findRows(tableName, {{"GlassID", id}}, out)) return false;
    if (out.rows.size() > 1) out.rows.resize(1);
    found = !out.rows.empty();
    return true;
}

bool CatalogueDatabase::addRow(std::string_view tableName, const std::vector<DbField>& fields) {
    const TableInfo* t = table(tableName);
    if (!t) return false;
    std::string names, marks;
    std::vector<DbValue> binds;
    for (const auto& f : fields) {
        const int c = columnIndex(*t, f.column);
        if (c < 0) return fail(kDbErrFieldNotFound, "Item '" + f.column + "' not found in this collection.");
        DbValue v;
        if (!convert(*t, c, f.value, v)) return false;
        if (!names.empty()) names += ", ", marks += ", ";
        names += quoted(t->columns[static_cast<std::size_t>(c)]);
        marks += "?";
        binds.push_back(std::move(v));
    }
    const std::string sql = "INSERT INTO " + quoted(t->name) +
                            (names.empty() ? std::string(" DEFAULT VALUES") : " (" + names + ") VALUES (" + marks + ")");
    Statement st(m_db, sql);
    if (st.prepared() != SQLITE_OK || st.bindAll(binds) != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    if (sqlite3_step(st.get()) != SQLITE_DONE) return failFromEngine(sqlite3_extended_errcode(m_db));
    // A rule of the file's may drop the row without an error; a caller that
    // deletes the original next would lose it.
    if (sqlite3_changes(m_db) != 1) return fail(kDbErrNoCurrentRecord, "No current record.");
    return true;
}

bool CatalogueDatabase::addRowByPosition(std::string_view tableName, const std::vector<DbValue>& values) {
    const TableInfo* t = table(tableName);
    if (!t) return false;
    if (values.size() > t->columns.size())
        return fail(kDbErrFieldNotFound, "Item " + std::to_string(t->columns.size()) + " not found in this collection.");
    std::vector<DbField> fields;
    for (std::size_t i = 0; i < values.size(); ++i) fields.push_back({t->columns[i], values[i]});
    return addRow(tableName, fields);
}

bool CatalogueDatabase::updateRows(std::string_view tableName, const DbCriteria& criteria,
                                   const std::vector<DbField>& fields, int& count) {
    count = 0;
    const TableInfo* t = table(tableName);
    if (!t) return false;
    if (fields.empty()) return true;
    std::string sql = "UPDATE " + quoted(t->name) + " SET ";
    std::vector<DbValue> binds;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int c = columnIndex(*t, fields[i].column);
        if (c < 0) return fail(kDbErrFieldNotFound, "Item '" + fields[i].column + "' not found in this collection.");
        DbValue v;
        if (!convert(*t, c, fields[i].value, v)) return false;
        if (i > 0) sql += ", ";
        sql += quoted(t->columns[static_cast<std::size_t>(c)]) + " = ?";
        binds.push_back(std::move(v));
    }
    if (!whereClause(*t, criteria, sql, binds)) return false;
    Statement st(m_db, sql);
    if (st.prepared() != SQLITE_OK || st.bindAll(binds) != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    if (sqlite3_step(st.get()) != SQLITE_DONE) return failFromEngine(sqlite3_extended_errcode(m_db));
    count = sqlite3_changes(m_db);
    return true;
}

bool CatalogueDatabase::deleteRows(std::string_view tableName, const DbCriteria& criteria, int& count) {
    count = 0;
    const TableInfo* t = table(tableName);
    if (!t) return false;
    std::string sql = "DELETE FROM " + quoted(t->name);
    std::vector<DbValue> binds;
    if (!whereClause(*t, criteria, sql, binds)) return false;
    Statement st(m_db, sql);
    if (st.prepared() != SQLITE_OK || st.bindAll(binds) != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    if (sqlite3_step(st.get()) != SQLITE_DONE) return failFromEngine(sqlite3_extended_errcode(m_db));
    count = sqlite3_changes(m_db);
    return true;
}

bool CatalogueDatabase::deleteRow(std::string_view tableName, std::int64_t rowId) {
    const TableInfo* t = table(tableName);
    if (!t) return false;
    Statement st(m_db, "DELETE FROM " + quoted(t->name) + " WHERE rowid = ?");
    if (st.prepared() != SQLITE_OK || st.bind(1, rowId) != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    if (sqlite3_step(st.get()) != SQLITE_DONE) return failFromEngine(sqlite3_extended_errcode(m_db));
    if (sqlite3_changes(m_db) == 0) return fail(kDbErrNoCurrentRecord, "No current record.");
    return true;
}

bool CatalogueDatabase::largestValue(std::string_view tableName, std::string_view column, DbValue& out) {
    const TableInfo* t = table(tableName);
    if (!t) return false;
    const int c = columnIndex(*t, column);
    if (c < 0) return fail(kDbErrFieldNotFound, "Item '" + std::string(column) + "' not found in this collection.");
    Statement st(m_db, "SELECT MAX(" + quoted(t->columns[static_cast<std::size_t>(c)]) + ") FROM " + quoted(t->name));
    if (st.prepared() != SQLITE_OK) return failFromEngine(sqlite3_extended_errcode(m_db));
    if (sqlite3_step(st.get()) != SQLITE_ROW) return failFromEngine(sqlite3_extended_errcode(m_db));
    out = st.column(0);
    return true;
}

bool CreateCatalogueDatabase(const std::string& path, std::string* error) {
    auto setError = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        return false;
    };
    if (path.empty()) return setError("no file name");
    if (FileExists(path) || FolderExists(path)) return setError("already exists");
    std::string columns;
    for (const auto& c : CatalogueColumns()) {
        if (!columns.empty()) columns += ", ";
        columns += quoted(c.name) + " " + declaredType(c.kind);
    }
    std::string sql = "BEGIN;";
    for (const char* t : {kGlassDataTable, kArchiveTable}) {
        sql += "CREATE TABLE " + quoted(t) + " (" + columns + ");";
        sql += "CREATE UNIQUE INDEX " + quoted(std::string(t) + "IDIndex") + " ON " + quoted(t) + " (\"GlassID\");";
    }
    sql += "COMMIT;";
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::string why;
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
    } else {
        why = sqlite3_errstr(rc);
    }
    if (sqlite3_close(db) != SQLITE_OK && why.empty()) why = "cannot be closed";
    if (rc != SQLITE_OK || !why.empty()) {
        std::remove(path.c_str());
        return setError(why);
    }
    return true;
}
