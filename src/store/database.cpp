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

int Database::setBusyTimeout(int milliseconds) {
    const int previous = busyTimeoutMs_;
    busyTimeoutMs_ = milliseconds;
    connection_->setBusyTimeout(milliseconds);
    return previous;
}

namespace {

std::string savepoint(int depth) { return "level_" + std::to_string(depth); }

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
    } else if (!connection_->transactionOpen()) {
        // A savepoint now would start a transaction of its own.
        error = connection_->transactionEnded();
        return error.code;
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
    if (!connection_->transactionOpen()) return endLostLevel(error);
    if (--depth_ > 0) return exec("RELEASE " + savepoint(depth_), error);
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
    if (!connection_->transactionOpen()) {
        endLostLevel(error);  // nothing left to undo: the backend ended the transaction itself
        error = storeError(kNoError);
        return kNoError;
    }
    if (--depth_ > 0) {
        const std::string name = savepoint(depth_);
        if (exec("ROLLBACK TO " + name, error) != kNoError) return error.code;
        return exec("RELEASE " + name, error);
    }
    return connection_->rollbackWrite(error);
}

}  // namespace plorix::store
