#include "store/sqlite/sqlite_connection.h"

#include "store/sql_error.h"

namespace plorix::store {

namespace {

int run(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

int open(const std::string& path, const std::string& password, KeyForm form, const ConnectionOptions& options,
         sqlite3*& db) {
    int flags = options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (options.create && !options.readOnly) flags |= SQLITE_OPEN_CREATE;
    // A connection serves the one thread it was opened for (the registry
    // gives every thread its own): SQLite need not lock it on every call.
    flags |= SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (db) sqlite3_extended_result_codes(db, 1);
    if (rc == SQLITE_OK && !password.empty()) rc = keyConnection(db, password, form);
    if (rc != SQLITE_OK) return rc;
    sqlite3_busy_timeout(db, options.busyTimeoutMs);
    // PRAGMA key answers OK whatever the key: the first read tells whether
    // the file is ours and the key right.
    return run(db, "SELECT count(*) FROM sqlite_master");
}

}  // namespace

std::unique_ptr<Connection> openDataFile(const std::string& path, const std::string& password,
                                         const ConnectionOptions& options, ErrorState& error) {
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    // A keyed file may carry either key form: each is tried on a connection
    // of its own, since a failed key leaves the connection unusable.
    for (const KeyForm form : kKeyForms) {
        rc = open(path, password, form, options, db);
        if (rc == SQLITE_OK || password.empty() || (rc & 0xff) != SQLITE_NOTADB) break;
        sqlite3_close_v2(db);
        db = nullptr;
    }
    // Several stations may share the folder: a rollback journal and full
    // syncs, never WAL files that need shared memory.
    if (rc == SQLITE_OK) rc = run(db, "PRAGMA journal_mode = DELETE");
    if (rc == SQLITE_OK) rc = run(db, "PRAGMA synchronous = FULL");
    if (rc == SQLITE_OK) rc = run(db, kCacheSizePragma);
    if (rc != SQLITE_OK) {
        error = sqliteError(db, rc);
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    error = storeError(kNoError);
    return std::make_unique<SqliteConnection>(db);
}

SqliteConnection::~SqliteConnection() { sqlite3_close_v2(db_); }

std::unique_ptr<Statement> SqliteConnection::prepare(const std::string& sql, ErrorState& error) {
    auto statement = std::make_unique<SqliteStatement>(db_, sql);
    if (statement->prepareResult() != SQLITE_OK) {
        error = sqliteError(db_, statement->prepareResult());
        return nullptr;
    }
    return statement;
}

int SqliteConnection::exec(const std::string& sql, ErrorState& error) {
    const int rc = run(db_, sql.c_str());
    error = rc == SQLITE_OK ? storeError(kNoError) : sqliteError(db_, rc);
    return error.code;
}

// IMMEDIATE takes the write lock now, waiting for it; a deferred transaction
// that writes later would fail at once on a busy file.
int SqliteConnection::beginWrite(ErrorState& error) { return exec("BEGIN IMMEDIATE", error); }

int SqliteConnection::commitWrite(ErrorState& error) { return exec("COMMIT", error); }

int SqliteConnection::rollbackWrite(ErrorState& error) { return exec("ROLLBACK", error); }

ErrorState SqliteConnection::transactionEnded() const {
    ErrorState error = storeError(kFileSystemError);
    error.driverCode = SQLITE_ABORT;
    error.driverText = "the transaction was rolled back";
    return error;
}

ErrorState sqliteError(sqlite3* db, int result) {
    switch (result & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return storeError(kNoError);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return storeError(kFileLocked);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return storeError(kInvalidDataFile);
    case SQLITE_CONSTRAINT:
        if (result == SQLITE_CONSTRAINT_UNIQUE || result == SQLITE_CONSTRAINT_PRIMARYKEY) {
            return storeError(kDuplicateKey);
        }
        break;
    default: break;
    }
    ErrorState error = storeError(kFileSystemError);
    error.driverCode = result;
    error.driverText = db && sqlite3_errcode(db) == result ? sqlite3_errmsg(db) : sqlite3_errstr(result);
    return error;
}

}  // namespace plorix::store
