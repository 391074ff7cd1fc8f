// Statements and layout checks over SQLite's C interface.
#include "sweep/sqlite_query.h"

#include <limits>

#include "platform/ascii_case.h"

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql) {
    if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return;
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

std::string_view SqlStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

bool Execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool HasTable(sqlite3* db, std::string_view table) {
    SqlStatement query(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    query.Bind(1, table);
    return query.Step() == SQLITE_ROW;
}

std::string LayoutProblem(sqlite3* db, std::span<const TableLayout> layout) {
    SqlStatement columns(db, "SELECT name FROM pragma_table_info(?1)");
    SqlStatement triggers(db, "SELECT 1 FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE");
    if (!columns.Ok() || !triggers.Ok()) return "its tables cannot be read";
    for (const TableLayout& table : layout) {
        if (!HasTable(db, table.table)) {
            if (table.optional) continue;
            return "no table " + std::string(table.table);
        }
        for (const std::string_view column : table.columns) {
            columns.Reset();
            columns.Bind(1, table.table);
            bool found = false;
            while (!found && columns.Step() == SQLITE_ROW) found = EqualsIgnoringAsciiCase(columns.Text(0), column);
            if (!found) return "no column " + std::string(column) + " in " + std::string(table.table);
        }
        triggers.Reset();
        triggers.Bind(1, table.table);
        if (triggers.Step() == SQLITE_ROW) return "a trigger on " + std::string(table.table);
    }
    return {};
}
