// The few things the engine asks of a SQLite connection: prepared statements that finalize
// themselves, and a database's tables and columns checked against the layout a change needs.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class SqlStatement {
public:
    // Prepared at once; Ok() is false when the statement does not fit the database.
    SqlStatement(sqlite3* db, std::string_view sql);
    ~SqlStatement() { sqlite3_finalize(statement_); }
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    bool Ok() const { return statement_ != nullptr; }
    // SQLITE_ROW, SQLITE_DONE or the error.
    int Step() { return Ok() ? sqlite3_step(statement_) : SQLITE_ERROR; }
    // The column's bytes, NULs included; empty for NULL.
    std::string_view Text(int column) const;
    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    void Bind(int parameter, std::int64_t value) { sqlite3_bind_int64(statement_, parameter, value); }
    void Bind(int parameter, std::string_view value) {
        sqlite3_bind_text(statement_, parameter, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }
    void Reset() { sqlite3_reset(statement_); }

private:
    sqlite3_stmt* statement_ = nullptr;
};

// Runs statements that return no rows; false on the first that fails.
bool Execute(sqlite3* db, const char* sql);

struct TableLayout {
    std::string_view table;
    std::span<const std::string_view> columns;
    // A table some versions of the browser lack: when it is there, it must have its columns.
    bool optional = false;
};

// Whether the table is in the database.
bool HasTable(sqlite3* db, std::string_view table);
// The first way the database differs from the layout, in words ("no column typed_count in
// urls"); empty when it has every table and column, and no trigger on any of those tables would
// run when they change.
std::string LayoutProblem(sqlite3* db, std::span<const TableLayout> layout);
