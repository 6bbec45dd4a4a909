#pragma once
// A connection to the tables of a data file served from a PostgreSQL
// server (libpq). How it keeps the file's behaviour: pg_connection.cpp.

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/connection.h"
#include "store/postgres/commit_loss.h"
#include "store/served_files.h"

namespace plorix::store {

// Null with `error` set (90, "connection lost: ...") when the server cannot
// be reached or the schema not prepared.
std::unique_ptr<Connection> openServer(const ServerAddress& server, const ConnectionOptions& options,
                                       ErrorState& error);

class PgConnection;

class PgStatement final : public Statement {
public:
    PgStatement(PgConnection& connection, std::string sql, std::string name);
    ~PgStatement() override;

    void bind(int parameter, std::int64_t value) override;
    void bind(int parameter, std::string_view text, bool copy = false) override;
    int step() override;
    void reset() override;
    std::int64_t integer(int column) const override;
    std::string_view text(int column) const override;

private:
    friend class PgConnection;

    PgConnection& connection_;
    std::string sql_;
    std::string name_;
    std::vector<std::string> values_;
    std::vector<bool> bound_;
    std::vector<unsigned> types_;  // 0 where the server infers it
    bool writes_ = false;          // an insert, update or delete
    bool returnsPosition_ = false;
    bool invalidText_ = false;      // a text bound is not UTF-8
    std::uint64_t preparedIn_ = 0;  // the session it was prepared in
    PGresult* result_ = nullptr;
    int rows_ = 0;
    int row_ = -1;
    bool executed_ = false;
};

class PgConnection final : public Connection {
public:
    PgConnection(ServerAddress server, const ConnectionOptions& options);
    ~PgConnection() override;

    // (Re)connects and prepares the session; the store's code.
    int connect(ErrorState& error);

    const Dialect& dialect() const override { return postgresDialect(); }
    std::unique_ptr<Statement> prepare(const std::string& sql, ErrorState& error) override;
    int exec(const std::string& sql, ErrorState& error) override;
    ErrorState resultError(int) const override { return lastError_; }
    int beginWrite(ErrorState& error) override;
    int commitWrite(ErrorState& error) override;
    int rollbackWrite(ErrorState& error) override;
    bool transactionOpen() const override;
    ErrorState transactionEnded() const override;
    int beginLevel(int level, ErrorState& error) override;
    int releaseLevel(int level, ErrorState& error) override;
    int undoLevel(int level, ErrorState& error) override;
    bool levelFailed() const override;
    std::int64_t ownCommitsCounted() const override { return committed_; }
    void setBusyTimeout(int milliseconds) override { busyTimeoutMs_ = milliseconds; }
    std::int64_t lastInsertId() const override { return lastInsertId_; }
    std::int64_t changes() const override { return changes_; }

    // Runs the statement (inside a write transaction of its own when it
    // writes outside one); the store's code, the error in resultError().
    int run(PgStatement& statement);

private:
    void release();
    bool connected() const;
    int ensureSession(ErrorState& error);
    int execute(PgStatement& statement, ErrorState& error);
    int ensurePrepared(PgStatement& statement, ErrorState& error);
    // The error of a failed call (`result` may be null), freeing it.
    int fail(PGresult* result, ErrorState& error);
    std::string driverMessage(const PGresult* result) const;  // of `result`, else of the connection
    int sendCommit(ErrorState& error);
    int lookUpCommit(ErrorState& error);

    ServerAddress server_;
    ConnectionOptions options_;
    PGconn* conn_ = nullptr;
    int owner_ = 0;              // the process that connected
    int backend_ = 0;            // the server's process of this session
    std::uint64_t session_ = 0;  // moves on with every (re)connection
    int statements_ = 0;
    int busyTimeoutMs_ = kBusyTimeoutMs;
    bool inTransaction_ = false;     // a transaction begun and not yet ended
    bool wrote_ = false;             // it wrote
    std::vector<bool> wroteBefore_;  // whether it had written when each inner level began
    std::string token_;              // names this connection's commits
    std::int64_t commits_ = 0;       // commits that wrote
    std::int64_t committed_ = 0;     // of them, those known to be committed
    std::int64_t lastInsertId_ = 0;
    std::int64_t changes_ = 0;
    ErrorState lastError_;
};

}  // namespace plorix::store
