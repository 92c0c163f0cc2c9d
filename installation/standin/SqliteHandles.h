// Holders of SQLite connections and statements, and the one query shape the
// installation's readers of the vault database need. Header only: whoever
// includes it links the sqlite3 library, the rest of the support does not.
#pragma once

#include "installation/standin/Journal.h"

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace standin {

struct SqliteClose {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteDatabase = std::unique_ptr<sqlite3, SqliteClose>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalize>;

// The database at a Windows path, for reading only; a writer's transaction is
// waited for up to a few seconds. Empty when the file cannot be opened.
inline SqliteDatabase OpenForReading(const std::wstring& path) {
    sqlite3* opened = nullptr;
    // A failed open still hands out a connection, which must be closed.
    const int rc = sqlite3_open_v2(ToUtf8(path).c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    SqliteDatabase db(opened);
    if (rc != SQLITE_OK || sqlite3_busy_timeout(db.get(), 5000) != SQLITE_OK) return nullptr;
    return db;
}

// Empty when the statement does not compile: a file that is no database, or
// one without the table.
inline SqliteStatement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &prepared, nullptr);
    return SqliteStatement(prepared);
}

inline int Bind(sqlite3_stmt* statement, int index, int64_t value) {
    return sqlite3_bind_int64(statement, index, value);
}
inline int Bind(sqlite3_stmt* statement, int index, const std::optional<int64_t>& value) {
    return value ? Bind(statement, index, *value) : sqlite3_bind_null(statement, index);
}
inline int Bind(sqlite3_stmt* statement, int index, const std::wstring& text) {
    static_assert(sizeof(wchar_t) == 2, "SQLite's UTF-16 is Windows' wide character");
    return sqlite3_bind_text16(statement, index, text.data(), static_cast<int>(text.size() * sizeof(wchar_t)),
                               SQLITE_TRANSIENT);
}

// Runs the statement afresh with `values` bound in order and answers the
// first column of its first row; nothing when there is no row or the
// database cannot be read.
template <class... Values>
std::optional<int64_t> FirstInteger(sqlite3_stmt* statement, const Values&... values) {
    if (!statement) return std::nullopt;
    sqlite3_reset(statement);
    int index = 0;
    const bool bound = ((Bind(statement, ++index, values) == SQLITE_OK) && ...);
    if (!bound || sqlite3_step(statement) != SQLITE_ROW) return std::nullopt;
    return sqlite3_column_int64(statement, 0);
}

}  // namespace standin
