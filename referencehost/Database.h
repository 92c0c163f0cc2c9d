// The vault database: one SQLite file, reached through prepared statements.
// Every failure raises DatabaseError with SQLite's words, so that a command
// can tell the user in one line what went wrong.
#pragma once

#include "installation/standin/SqliteHandles.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

class DatabaseError : public std::runtime_error {
public:
    DatabaseError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    // The primary SQLite result code (SQLITE_BUSY, SQLITE_NOTADB, ...).
    int Code() const { return code_ & 0xFF; }

private:
    int code_;
};

class Statement {
public:
    Statement(sqlite3* db, const char* sql);

    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, const std::wstring& text);
    Statement& BindNull(int index);
    // Steps once: true when a row is there to read.
    bool Step();
    // Steps to the end and makes the statement ready for new values.
    void Run();
    void Reset();

    int64_t Int(int column) const { return sqlite3_column_int64(statement_.get(), column); }
    std::wstring Text(int column) const;
    bool IsNull(int column) const { return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL; }

private:
    sqlite3* db_;
    standin::SqliteStatement statement_;
};

class Database {
public:
    enum class Mode { Existing, Create };
    Database(const std::wstring& path, Mode mode);

    sqlite3* Handle() const { return db_.get(); }
    void Execute(const char* sql);
    Statement Prepare(const char* sql) const { return Statement(db_.get(), sql); }
    int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_.get()); }

private:
    standin::SqliteDatabase db_;
};

// BEGIN IMMEDIATE at once, so that a database another program writes is
// found locked before anything is done; rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    Database& db_;
    bool open_ = true;
};
