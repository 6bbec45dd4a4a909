#include "store/database.h"

#include "store/sql_error.h"

namespace plorix::store {

Database::Database(std::unique_ptr<Connection> connection, std::string path, bool readOnly)
    : connection_(std::move(connection)), path_(std::move(path)), readOnly_(readOnly) {}

Database::~Database() {
    statements_.clear();  // statements go before their connection
}

Statement* Database::prepare(const std::string& sql, ErrorState& error) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        auto statement = connection_->prepare(sql, error);
        if (!statement) return nullptr;
        it = statements_.emplace(sql, std::move(statement)).first;
    }
    return it->second.get();
}

int Database::exec(const std::string& sql, ErrorState& error) { return connection_->exec(sql, error); }

std::optional<std::int64_t> Database::othersCommits(ErrorState& error) {
    Statement* query = prepare(std::string(dialect().commitsQuery), error);
    if (!query) return std::nullopt;
    StatementUse use(*query);
    const int rc = query->step();
    if (rc != kStepRow) {
        error = lastError(rc);
        return std::nullopt;
    }
    error = storeError(kNoError);
    return query->integer(0) - connection_->ownCommitsCounted();
}

int Database::setBusyTimeout(int milliseconds) {
    const int previous = busyTimeoutMs_;
    busyTimeoutMs_ = milliseconds;
    connection_->setBusyTimeout(milliseconds);
    return previous;
}

namespace {

// Where a failed statement stops the whole transaction until its level is
// undone (a server): the answer of the levels asked to go on meanwhile.
ErrorState earlierStatementFailed() {
    ErrorState error = storeError(kFileSystemError);
    error.driverText = "an earlier statement of this transaction failed";
    return error;
}

}  // namespace

// A level of a transaction the backend already ended (after a failed write
// or a lost connection): it fails, and the last one leaves nothing open.
int Database::endLostLevel(ErrorState& error) {
    --depth_;
    changed();
    error = connection_->transactionEnded();
    if (depth_ == 0) {
        ErrorState ignored;
        connection_->rollbackWrite(ignored);
    }
    return error.code;
}

int Database::begin(ErrorState& error) {
    if (depth_ == 0) {
        if (connection_->beginWrite(error) != kNoError) return error.code;
    } else if (connection_->levelFailed()) {
        error = earlierStatementFailed();
        return error.code;
    } else if (!connection_->transactionOpen()) {
        // A savepoint now would start a transaction of its own.
        error = connection_->transactionEnded();
        return error.code;
    } else if (connection_->beginLevel(depth_, error) != kNoError) {
        return error.code;
    }
    ++depth_;
    error = storeError(kNoError);
    return kNoError;
}

int Database::commit(ErrorState& error) {
    error = storeError(kNoError);
    if (depth_ == 0) return kNoError;
    if (depth_ > 1 && connection_->levelFailed()) {
        // A statement of this inner level failed: the level is undone as a
        // whole (the backend cannot keep its other writes) and the levels
        // around it go on.
        changed();
        if (connection_->undoLevel(--depth_, error) != kNoError) return error.code;
        error = earlierStatementFailed();
        return error.code;
    }
    if (!connection_->transactionOpen()) return endLostLevel(error);
    if (--depth_ > 0) return connection_->releaseLevel(depth_, error);
    if (connection_->commitWrite(error) != kNoError) {
        // Leave no transaction half open: the batch is all or nothing.
        ErrorState ignored;
        connection_->rollbackWrite(ignored);
        changed();
    }
    return error.code;
}

int Database::rollback(ErrorState& error) {
    error = storeError(kNoError);
    if (depth_ == 0) return kNoError;
    changed();
    const bool open = connection_->transactionOpen();
    // An inner level is undone alone, also after one of its statements
    // failed: the transaction around it goes on.
    if (depth_ > 1 && (open || connection_->levelFailed())) return connection_->undoLevel(--depth_, error);
    if (!open) {
        endLostLevel(error);  // nothing left to undo: the backend ended the transaction itself
        error = storeError(kNoError);
        return kNoError;
    }
    --depth_;
    return connection_->rollbackWrite(error);
}

}  // namespace plorix::store
