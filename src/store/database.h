#pragma once
// One open data file: a long-lived connection shared by every table of the
// thread that lives in the file, open while any table uses it. The
// connection reaches the encrypted file itself or, for a file served from
// a database server (served_files.h), the server.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "store/connection.h"
#include "store/error.h"
#include "store/statement.h"

namespace plorix::store {

struct ServerAddress;

class Database {
public:
    using Options = ConnectionOptions;

    // The connection to `path` keyed with `password` (empty: a plain file),
    // the file found ignoring letter case when `path` does not name one,
    // shared with the tables that already use it. Null with `error` set:
    // 2 when the file is missing and not to be created, 32 when it stays
    // locked, 36 when it is not a database, has another key or is empty
    // (an empty file is taken only to be created; the file is left
    // untouched), 90 for anything the file system (or the server) refuses.
    // A file created here is readable by its owner alone.
    static std::shared_ptr<Database> acquire(const std::string& path, const std::string& password,
                                             const Options& options, ErrorState& error);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    const Dialect& dialect() const { return connection_->dialect(); }

    // A prepared statement for `sql`, kept for the connection's lifetime;
    // null with `error` set when it does not prepare.
    Statement* prepare(const std::string& sql, ErrorState& error);
    // Runs statements that return no rows.
    int exec(const std::string& sql, ErrorState& error);
    // The error behind a step() that answered neither row nor done.
    ErrorState lastError(int result) const { return connection_->resultError(result); }
    std::int64_t lastInsertId() const { return connection_->lastInsertId(); }
    std::int64_t changes() const { return connection_->changes(); }

    // Transactions nest: the outermost takes the write lock at once
    // (waiting for it), an inner one is a SAVEPOINT, so rolling back an
    // inner one undoes only its own writes and leaves the outer one to
    // decide.
    int begin(ErrorState& error);
    int commit(ErrorState& error);
    int rollback(ErrorState& error);
    int transactionDepth() const { return depth_; }

    // A number that changes whenever another connection (of any process or
    // thread) committed a write to the file since the last call, and stays
    // as it was for this connection's own commits; one round trip to a
    // server. Empty with `error` set when it cannot be read.
    std::optional<std::int64_t> othersCommits(ErrorState& error);

    // How long an operation waits for another connection's lock; returns
    // the wait it replaces.
    int setBusyTimeout(int milliseconds);

    // Moves on with every write made through this connection, so that rows
    // read ahead know they may be stale.
    std::uint64_t generation() const { return generation_; }
    void changed() { ++generation_; }

private:
    Database(std::unique_ptr<Connection> connection, std::string path, bool readOnly);
    static std::shared_ptr<Database> acquireServed(const ServerAddress& server, const Options& options,
                                                   ErrorState& error);
    int endLostLevel(ErrorState& error);

    std::map<std::string, std::unique_ptr<Statement>> statements_;  // before the connection they belong to
    std::unique_ptr<Connection> connection_;
    std::string path_;
    bool readOnly_;
    int depth_ = 0;
    int busyTimeoutMs_ = kBusyTimeoutMs;
    std::uint64_t generation_ = 0;
};

}  // namespace plorix::store
