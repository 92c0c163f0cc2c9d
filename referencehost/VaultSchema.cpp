#include "referencehost/VaultSchema.h"

#include "referencehost/UsageError.h"

#include <windows.h>

namespace {

// Folders and files by parent and name (how paths are walked) and files by
// name alone (names that must be unique in the vault, files found by name).
// An intent describes the local moves and rewrites of a database change that
// the disk has not yet followed; it commits with that change.
constexpr char kSchema[] = R"sql(
CREATE TABLE folders(
  id INTEGER PRIMARY KEY,
  parent_id INTEGER REFERENCES folders(id),
  name TEXT NOT NULL);
CREATE UNIQUE INDEX folders_by_parent_and_name ON folders(parent_id, name COLLATE NOCASE);
CREATE TABLE files(
  id INTEGER PRIMARY KEY,
  folder_id INTEGER NOT NULL REFERENCES folders(id),
  name TEXT NOT NULL);
CREATE UNIQUE INDEX files_by_folder_and_name ON files(folder_id, name COLLATE NOCASE);
CREATE INDEX files_by_name ON files(name COLLATE NOCASE);
CREATE TABLE file_references(
  file_id INTEGER NOT NULL REFERENCES files(id),
  referenced_id INTEGER NOT NULL REFERENCES files(id),
  PRIMARY KEY(file_id, referenced_id)) WITHOUT ROWID;
CREATE INDEX references_by_referenced ON file_references(referenced_id);
CREATE TABLE folder_rights(
  user TEXT NOT NULL COLLATE NOCASE,
  folder_id INTEGER NOT NULL REFERENCES folders(id),
  rights INTEGER NOT NULL,
  PRIMARY KEY(user, folder_id)) WITHOUT ROWID;
CREATE TABLE checkouts(
  file_id INTEGER PRIMARY KEY REFERENCES files(id),
  user TEXT NOT NULL,
  computer TEXT NOT NULL);
CREATE TABLE unique_extensions(extension TEXT PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;
CREATE TABLE settings(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE move_intents(id INTEGER PRIMARY KEY);
CREATE TABLE intent_moves(
  intent_id INTEGER NOT NULL REFERENCES move_intents(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  is_folder INTEGER NOT NULL,
  old_path TEXT NOT NULL,
  new_path TEXT NOT NULL,
  PRIMARY KEY(intent_id, seq)) WITHOUT ROWID;
CREATE TABLE intent_rewrites(
  intent_id INTEGER NOT NULL REFERENCES move_intents(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  path TEXT NOT NULL,
  old_ref TEXT NOT NULL,
  new_ref TEXT NOT NULL,
  PRIMARY KEY(intent_id, seq)) WITHOUT ROWID;
)sql";

int UserVersion(Database& db) {
    Statement version = db.Prepare("PRAGMA user_version");
    return version.Step() ? static_cast<int>(version.Int(0)) : 0;
}

}  // namespace

void CreateSchema(Database& db) {
    Transaction transaction(db);
    db.Execute(kSchema);
    db.Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    transaction.Commit();
}

Database OpenVaultDatabase(const std::wstring& vaultFolder, Access access) {
    const std::wstring path = vaultFolder + L"\\" + kDatabaseName;
    const std::string where = "the vault database " + MessageText(path);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        throw UsageError("no vault in " + MessageText(vaultFolder) + " (make one with: init)");
    }
    try {
        Database db(path, Database::Mode::Existing);
        db.Execute("PRAGMA foreign_keys = ON");
        const int version = UserVersion(db);
        if (version != kSchemaVersion) {
            throw UsageError(where + " has schema version " + std::to_string(version) + "; this host reads version " +
                             std::to_string(kSchemaVersion));
        }
        // A program that writes the database is found now, before anything is done.
        if (access == Access::Write) Transaction probe(db);
        return db;
    } catch (const DatabaseError& error) {
        if (error.Code() == SQLITE_BUSY || error.Code() == SQLITE_LOCKED) {
            throw UsageError(where + " is locked by another program");
        }
        if (error.Code() == SQLITE_NOTADB || error.Code() == SQLITE_CORRUPT) throw UsageError(where + " is damaged");
        throw UsageError(where + ": " + error.what());
    }
}
