#pragma once
// A connection to an encrypted data file (SQLCipher).

#include <sqlcipher/sqlite3.h>

#include <memory>
#include <string>

#include "store/connection.h"
#include "store/file_key.h"

namespace plorix::store {

// Pages kept decrypted in memory (64 MB at most): the default of 2 MB makes
// batches and look-ups in a large file decrypt the same pages over and over.
inline constexpr const char* kCacheSizePragma = "PRAGMA cache_size = -65536";

// Opens the existing (or just created, empty) file `path` keyed with
// `password`; null with `error` set when it is not a database under that
// key or cannot be read.
std::unique_ptr<Connection> openDataFile(const std::string& path, const std::string& password,
                                         const ConnectionOptions& options, ErrorState& error);

// Maps a result code (extended codes welcome) of the connection `db` (may be
// null) to the store's codes: busy or locked 32, not a database or corrupt
// 36, a unique or primary constraint 40, anything else 90 carrying the
// driver's code and message.
ErrorState sqliteError(sqlite3* db, int result);

class SqliteStatement final : public Statement {
public:
    SqliteStatement(sqlite3* db, const std::string& sql);
    ~SqliteStatement() override;

    int prepareResult() const { return prepareResult_; }

    void bind(int parameter, std::int64_t value) override;
    void bind(int parameter, std::string_view text, bool copy = false) override;
    int step() override;
    void reset() override;
    std::int64_t integer(int column) const override;
    std::string_view text(int column) const override;

private:
    sqlite3_stmt* stmt_ = nullptr;
    int prepareResult_ = SQLITE_OK;
};

class SqliteConnection final : public Connection {
public:
    explicit SqliteConnection(sqlite3* db) : db_(db) {}
    ~SqliteConnection() override;

    const Dialect& dialect() const override { return sqliteDialect(); }
    std::unique_ptr<Statement> prepare(const std::string& sql, ErrorState& error) override;
    int exec(const std::string& sql, ErrorState& error) override;
    ErrorState resultError(int result) const override { return sqliteError(db_, result); }
    int beginWrite(ErrorState& error) override;
    int commitWrite(ErrorState& error) override;
    int rollbackWrite(ErrorState& error) override;
    bool transactionOpen() const override { return !sqlite3_get_autocommit(db_); }
    ErrorState transactionEnded() const override;
    void setBusyTimeout(int milliseconds) override { sqlite3_busy_timeout(db_, milliseconds); }
    std::int64_t lastInsertId() const override { return sqlite3_last_insert_rowid(db_); }
    std::int64_t changes() const override { return sqlite3_changes(db_); }

private:
    sqlite3* db_;
};

}  // namespace plorix::store
