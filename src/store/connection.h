#pragma once
// What the store needs of the place its tables live: a connection to an
// encrypted data file or to a database server. One connection serves one
// thread (the registry in database_registry.cpp gives each its own).

#include <cstdint>
#include <memory>
#include <string>

#include "store/dialect.h"
#include "store/error.h"
#include "store/statement.h"

namespace plorix::store {

// Busy wait of ordinary operations and of the start of a write transaction.
inline constexpr int kBusyTimeoutMs = 2000;

struct ConnectionOptions {
    bool readOnly = false;
    bool create = false;                 // create the file when it is missing
    int busyTimeoutMs = kBusyTimeoutMs;  // wait for a lock while opening
};

class Connection {
public:
    Connection() = default;
    virtual ~Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    virtual const Dialect& dialect() const = 0;

    // Null with `error` set when `sql` does not prepare.
    virtual std::unique_ptr<Statement> prepare(const std::string& sql, ErrorState& error) = 0;
    // Runs statements that return no rows.
    virtual int exec(const std::string& sql, ErrorState& error) = 0;
    // The error behind a step() that answered neither row nor done.
    virtual ErrorState resultError(int result) const = 0;

    // The outermost transaction. Writers take turns: begin waits for the
    // one writing now, as long as the busy timeout allows, then answers 32.
    virtual int beginWrite(ErrorState& error) = 0;
    // A failed commit leaves nothing open and nothing half written.
    virtual int commitWrite(ErrorState& error) = 0;
    virtual int rollbackWrite(ErrorState& error) = 0;
    // Whether the transaction begun is still open: the backend may have
    // ended it after a failed write or a lost connection.
    virtual bool transactionOpen() const = 0;
    // The error of every level of a transaction the backend ended.
    virtual ErrorState transactionEnded() const = 0;

    // Inner levels of the transaction (savepoints), numbered from 1: begun,
    // made part of the level around them, or undone (and ended).
    virtual int beginLevel(int level, ErrorState& error);
    virtual int releaseLevel(int level, ErrorState& error);
    virtual int undoLevel(int level, ErrorState& error);
    // Whether a statement failed inside the transaction and the backend now
    // refuses everything until the innermost level is undone; undoing it
    // lets the transaction go on. The file never needs that: a failed
    // statement undoes itself alone.
    virtual bool levelFailed() const { return false; }
    // The commits of this connection that the dialect's commitsQuery counts.
    virtual std::int64_t ownCommitsCounted() const { return 0; }

    virtual void setBusyTimeout(int milliseconds) = 0;
    // The position of the record the last insert added, and how many
    // records the last write changed.
    virtual std::int64_t lastInsertId() const = 0;
    virtual std::int64_t changes() const = 0;
};

}  // namespace plorix::store
