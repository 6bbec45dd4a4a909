#include "store/database.h"

#include "store/file_key.h"
#include "store/sql_error.h"
#include "store/table_sql.h"

namespace plorix::store {

namespace {

int run(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

}  // namespace

Database::Database(sqlite3* db, std::string path, bool readOnly)
    : db_(db), path_(std::move(path)), readOnly_(readOnly) {}

Database::~Database() {
    statements_.clear();  // statements go before their connection
    sqlite3_close_v2(db_);
}

int Database::connect(const std::string& path, const std::string& password, const Options& options,
                      sqlite3*& db, ErrorState& error) {
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
        db = nullptr;
        return error.code;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    error = storeError(kNoError);
    return kNoError;
}

int Database::open(const std::string& path, const std::string& password, KeyForm form, const Options& options,
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

Statement* Database::prepare(const std::string& sql, ErrorState& error) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        auto statement = std::make_unique<Statement>(db_, sql);
        if (statement->prepareResult() != SQLITE_OK) {
            error = lastError(statement->prepareResult());
            return nullptr;
        }
        it = statements_.emplace(sql, std::move(statement)).first;
    }
    return it->second.get();
}

int Database::exec(const std::string& sql, ErrorState& error) {
    const int rc = run(db_, sql.c_str());
    error = rc == SQLITE_OK ? storeError(kNoError) : lastError(rc);
    return error.code;
}

ErrorState Database::lastError(int result) const { return sqliteError(db_, result); }

int Database::setBusyTimeout(int milliseconds) {
    const int previous = busyTimeoutMs_;
    busyTimeoutMs_ = milliseconds;
    sqlite3_busy_timeout(db_, milliseconds);
    return previous;
}

namespace {

std::string savepoint(int depth) { return "level_" + std::to_string(depth); }

int lostTransaction(ErrorState& error) {
    error = storeError(kFileSystemError);
    error.driverCode = SQLITE_ABORT;
    error.driverText = "the transaction was rolled back";
    return error.code;
}

}  // namespace

int Database::begin(ErrorState& error) {
    if (depth_ == 0) {
        // IMMEDIATE takes the write lock now, waiting for it; a deferred
        // transaction that writes later would fail at once on a busy file.
        if (exec("BEGIN IMMEDIATE", error) != kNoError) return error.code;
    } else if (sqlite3_get_autocommit(db_)) {
        return lostTransaction(error);  // a savepoint now would start a transaction of its own
    } else if (exec("SAVEPOINT " + savepoint(depth_), error) != kNoError) {
        return error.code;
    }
    ++depth_;
    error = storeError(kNoError);
    return kNoError;
}

int Database::commit(ErrorState& error) {
    error = storeError(kNoError);
    if (depth_ == 0) return kNoError;
    if (sqlite3_get_autocommit(db_)) {
        // SQLite already rolled the transaction back after a failed write:
        // this level and every one around it fail.
        --depth_;
        changed();
        return lostTransaction(error);
    }
    if (--depth_ > 0) return exec("RELEASE " + savepoint(depth_), error);
    if (exec("COMMIT", error) != kNoError) {
        // Leave no transaction half open: the batch is all or nothing.
        ErrorState ignored;
        exec("ROLLBACK", ignored);
        changed();
    }
    return error.code;
}

int Database::rollback(ErrorState& error) {
    error = storeError(kNoError);
    if (depth_ == 0) return kNoError;
    changed();
    if (sqlite3_get_autocommit(db_)) {
        --depth_;  // nothing left to undo: SQLite ended the transaction itself
        return kNoError;
    }
    if (--depth_ > 0) {
        const std::string name = savepoint(depth_);
        if (exec("ROLLBACK TO " + name, error) != kNoError) return error.code;
        return exec("RELEASE " + name, error);
    }
    return exec("ROLLBACK", error);
}

}  // namespace plorix::store
