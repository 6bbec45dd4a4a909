#pragma once
// One open data file: a long-lived SQLCipher connection shared by every
// table of the process that lives in the file, open while any table uses it.

#include <sqlcipher/sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "store/error.h"
#include "store/file_key.h"
#include "store/statement.h"

namespace plorix::store {

// Busy wait of ordinary operations and of BEGIN IMMEDIATE.
inline constexpr int kBusyTimeoutMs = 2000;
// Pages kept decrypted in memory (64 MB at most): the default of 2 MB makes
// batches and look-ups in a large file decrypt the same pages over and over.
inline constexpr const char* kCacheSizePragma = "PRAGMA cache_size = -65536";

class Database {
public:
    struct Options {
        bool readOnly = false;
        bool create = false;                 // create the file when it is missing
        int busyTimeoutMs = kBusyTimeoutMs;  // wait for a lock while opening
    };

    // The connection to `path` keyed with `password` (empty: a plain file),
    // the file found ignoring letter case when `path` does not name one,
    // shared with the tables that already use it. Null with `error` set:
    // 2 when the file is missing and not to be created, 32 when it stays
    // locked, 36 when it is not a database, has another key or is empty
    // (an empty file is taken only to be created; the file is left
    // untouched), 90 for anything the file system refuses. A file created
    // here is readable by its owner alone.
    static std::shared_ptr<Database> acquire(const std::string& path, const std::string& password,
                                             const Options& options, ErrorState& error);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }

    // A prepared statement for `sql`, kept for the connection's lifetime;
    // null with `error` set when it does not prepare.
    Statement* prepare(const std::string& sql, ErrorState& error);
    // Runs statements that return no rows.
    int exec(const std::string& sql, ErrorState& error);
    // The error of the connection's last failed call.
    ErrorState lastError(int result) const;

    // Transactions nest: the outermost is BEGIN IMMEDIATE ... COMMIT, an
    // inner one a SAVEPOINT, so rolling back an inner one undoes only its
    // own writes and leaves the outer one to decide.
    int begin(ErrorState& error);
    int commit(ErrorState& error);
    int rollback(ErrorState& error);
    int transactionDepth() const { return depth_; }

    // How long an operation waits for another connection's lock; returns
    // the wait it replaces.
    int setBusyTimeout(int milliseconds);

    // Moves on with every write made through this connection, so that rows
    // read ahead know they may be stale.
    std::uint64_t generation() const { return generation_; }
    void changed() { ++generation_; }

private:
    Database(sqlite3* db, std::string path, bool readOnly);
    static int connect(const std::string& path, const std::string& password, const Options& options,
                       sqlite3*& db, ErrorState& error);
    static int open(const std::string& path, const std::string& password, KeyForm form,
                    const Options& options, sqlite3*& db);

    sqlite3* db_;
    std::string path_;
    bool readOnly_;
    int depth_ = 0;
    int busyTimeoutMs_ = kBusyTimeoutMs;
    std::uint64_t generation_ = 0;
    std::map<std::string, std::unique_ptr<Statement>> statements_;
};

}  // namespace plorix::store
