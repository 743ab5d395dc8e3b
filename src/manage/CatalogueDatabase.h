// The catalogue program's materials database "TessaralExA.mdb": an SQLite 3
// file in the catalogue program's folder with the tables "GlassData" and
// "Archive", and the small set of operations every caller needs of it: open
// without ever creating, rows in their stored order, search by GlassID and by
// criteria, add, update, delete, transactions with rollback.
//
// No SQL text is ever built from data. Criteria are column/value pairs whose
// values are bound; table names must be one of the two below and column names
// must be columns of the table, quoted as identifiers.
//
// Errors end as a False result with lastError() set; the numbers of the
// failures the callers tell apart (file missing, file in use, ...) are fixed
// below, any other failure carries the SQLite result code and its text.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;

inline constexpr const char* kCatalogueFileName = "TessaralExA.mdb";
// The catalogue program's own engine opens its file with this password in the
// connect text. SQLite knows no password; the text is kept so that the connect
// string stays what the catalogue program expects.
inline constexpr const char* kCataloguePassword = "DoRazuzoVazar";
inline constexpr const char* kCatalogueConnectPrefix = ";pwd=";
std::string CatalogueConnectString();

inline constexpr const char* kGlassDataTable = "GlassData";
inline constexpr const char* kArchiveTable = "Archive";

// How a column holds its values; writes are converted to it and refused when
// they do not fit. Booleans hold -1 (True) and 0, dates days since 30 December 1899.
enum class ColumnKind { kShort, kLong, kSingle, kDouble, kText, kBoolean, kDate, kAny };

struct CatalogueColumn {
    std::string name;
    ColumnKind kind;
};

// The columns of both tables, in their stored order: the catalogue layout this
// program writes and reads. The 41 transmission columns follow "T250", one per
// standard transmission wavelength in ascending order.
const std::vector<CatalogueColumn>& CatalogueColumns();

// Error numbers the callers tell apart.
enum DbErrorNumber : int {
    kDbErrNestedTransaction = 3003,
    kDbErrNoCurrentRecord = 3021,
    kDbErrDuplicateKey = 3022,
    kDbErrFileNotFound = 3024,
    kDbErrNoTransaction = 3034,
    kDbErrFileInUse = 3045,       // held by another program
    kDbErrCannotOpen = 3051,      // write-protected or unreadable
    kDbErrTableNotFound = 3078,
    kDbErrFieldNotFound = 3265,
    kDbErrBadFormat = 3343,       // not a database of this engine
    kDbErrOverflow = 3349,        // a number the column cannot hold
    kDbErrTypeConversion = 3421,  // a text where a number belongs
    kDbErrNotOpen = 3420          // no open database
};

struct DbError {
    int number = 0;
    std::string description;
};

// An error as the boxes show it below their first line: number TAB description.
inline std::string DbErrorLines(const DbError& e) { return std::to_string(e.number) + "\t" + e.description; }

// A field value: Null, an integer, a real or a Windows-1252 text.
using DbValue = std::variant<std::monostate, std::int64_t, double, std::string>;
inline bool IsNull(const DbValue& v) { return std::holds_alternative<std::monostate>(v); }
// A number from an integer, a real or a number text; nullopt for Null or other text.
std::optional<double> DbNumber(const DbValue& v);

struct DbField {
    std::string column;
    DbValue value;
};
// Every pair must match (AND); texts match ignoring case; a Null value matches Null.
using DbCriteria = std::vector<DbField>;

struct DbRow {
    std::int64_t rowId = 0;  // the engine's own position key, for deleteRow
    std::vector<DbValue> values;  // by ordinal position
};

struct DbRowSet {
    std::vector<std::string> columns;  // names by ordinal position
    std::vector<DbRow> rows;           // in stored order

    // Ordinal position of a column, ignoring case; -1 when there is none.
    int ordinal(std::string_view name) const;
    // Null when the column does not exist.
    const DbValue& value(std::size_t row, std::string_view name) const;
};

class CatalogueDatabase {
public:
    CatalogueDatabase();
    ~CatalogueDatabase();
    CatalogueDatabase(const CatalogueDatabase&) = delete;
    CatalogueDatabase& operator=(const CatalogueDatabase&) = delete;

    // Opens "TessaralExA.mdb" of folder (the name matched ignoring case) for
    // reading and writing, not exclusively. Never creates a file. A file that
    // another program holds, or writes to, fails with kDbErrFileInUse.
    bool open(const std::string& folder);
    bool openFile(const std::string& path);
    // Drops the connection; an open transaction is rolled back.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    const std::string& path() const { return m_path; }

    // One transaction at a time. beginTrans takes the write lock at once, so a
    // busy file fails here and not half-way through a batch. rollback is True
    // when every change since beginTrans is undone.
    bool beginTrans();
    bool commitTrans();
    bool rollback();
    bool inTransaction() const;

    // Column names of a table, by ordinal position.
    bool columns(std::string_view table, std::vector<std::string>& names);
    // Rows matching every criterion (all rows for none), in stored order.
    bool findRows(std::string_view table, const DbCriteria& criteria, DbRowSet& out);
    // The first row, in stored order, whose GlassID is id; found tells whether there is one.
    bool seekID(std::string_view table, std::int64_t id, DbRowSet& out, bool& found);
    // Appends a row; columns not named keep their default (Null). A row the
    // engine did not add (a rule of the file dropped it) fails.
    bool addRow(std::string_view table, const std::vector<DbField>& fields);
    // Appends a row from values by ordinal position (a row copied from the other table).
    bool addRowByPosition(std::string_view table, const std::vector<DbValue>& values);
    bool updateRows(std::string_view table, const DbCriteria& criteria, const std::vector<DbField>& fields,
                    int& count);
    bool deleteRows(std::string_view table, const DbCriteria& criteria, int& count);
    bool deleteRow(std::string_view table, std::int64_t rowId);
    // Largest value of a column; Null for a table without rows.
    bool largestValue(std::string_view table, std::string_view column, DbValue& out);

    const DbError& lastError() const { return m_error; }
    void clearError() { m_error = {}; }
    // A caller's own failure inside a batch, reported like the engine's.
    void setError(DbError error) { m_error = std::move(error); }

private:
    struct TableInfo {
        std::string name;
        std::vector<std::string> columns;
        std::vector<ColumnKind> kinds;
    };

    bool fail(int number, std::string description);
    bool failFromEngine(int code);
    const TableInfo* table(std::string_view name);
    int columnIndex(const TableInfo& t, std::string_view name) const;
    bool exec(const char* sql);
    bool whereClause(const TableInfo& t, const DbCriteria& criteria, std::string& sql,
                     std::vector<DbValue>& binds);
    bool convert(const TableInfo& t, int column, const DbValue& in, DbValue& out);

    sqlite3* m_db = nullptr;
    std::string m_path;
    DbError m_error;
    std::deque<TableInfo> m_tables;  // stays put as tables are added: callers hold pointers
};

// Makes a new, empty catalogue database at path with both tables and their
// GlassID indexes. Refuses to touch an existing file. On False, error says why
// and no file is left behind.
bool CreateCatalogueDatabase(const std::string& path, std::string* error = nullptr);
