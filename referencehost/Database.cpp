#include "referencehost/Database.h"

namespace {

// How long a command waits for another program's write to end.
constexpr int kBusyTimeoutMs = 1500;

[[noreturn]] void RaiseDatabaseError(sqlite3* db, int code) {
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw DatabaseError(code, message ? message : "unknown database error");
}

}  // namespace

Statement::Statement(sqlite3* db, const char* sql) : db_(db) {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    statement_.reset(statement);
    if (rc != SQLITE_OK) RaiseDatabaseError(db, rc);
}

Statement& Statement::Bind(int index, int64_t value) {
    const int rc = sqlite3_bind_int64(statement_.get(), index, value);
    if (rc != SQLITE_OK) RaiseDatabaseError(db_, rc);
    return *this;
}

Statement& Statement::Bind(int index, const std::wstring& text) {
    static_assert(sizeof(wchar_t) == 2, "SQLite's UTF-16 is Windows' wide character");
    const int rc = sqlite3_bind_text16(statement_.get(), index, text.data(), static_cast<int>(text.size() * 2),
                                       SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) RaiseDatabaseError(db_, rc);
    return *this;
}

Statement& Statement::BindNull(int index) {
    const int rc = sqlite3_bind_null(statement_.get(), index);
    if (rc != SQLITE_OK) RaiseDatabaseError(db_, rc);
    return *this;
}

bool Statement::Step() {
    const int rc = sqlite3_step(statement_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(statement_.get());
    RaiseDatabaseError(db_, rc);
}

void Statement::Run() {
    while (Step()) {
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(statement_.get());
    sqlite3_clear_bindings(statement_.get());
}

std::wstring Statement::Text(int column) const {
    const auto* text = static_cast<const wchar_t*>(sqlite3_column_text16(statement_.get(), column));
    if (!text) return {};
    return std::wstring(text, static_cast<size_t>(sqlite3_column_bytes16(statement_.get(), column)) / 2);
}

Database::Database(const std::wstring& path, Mode mode) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(standin::ToUtf8(path).c_str(), &db, flags, nullptr);
    db_.reset(db);
    if (rc != SQLITE_OK) RaiseDatabaseError(db, rc);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
}

void Database::Execute(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return;
    const std::string text = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw DatabaseError(rc, text);
}

Transaction::Transaction(Database& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Execute("COMMIT");
    open_ = false;
}
