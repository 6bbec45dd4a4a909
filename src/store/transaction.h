#pragma once
// One transaction over the file a table lives in, ended on every path:
//
//     store::Transaction transaction(table);
//     if (!transaction.ok()) return report(transaction.error());
//     ... writes ...
//     if (transaction.commit() != store::kNoError) return report(transaction.error());
//
// Leaving the scope without commit() rolls back. Opened inside another
// transaction on the same file it becomes a savepoint, so an inner failure
// undoes only its own writes and the outer one decides.

#include "store/error.h"

namespace plorix::store {

class Table;

class [[nodiscard]] Transaction {
public:
    explicit Transaction(Table& table);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&&) = delete;

    // Whether the transaction began (error() says why not).
    [[nodiscard]] bool ok() const { return open_; }
    const ErrorState& error() const { return error_; }

    // Makes the writes permanent (or, for a savepoint, part of the outer
    // transaction); the store's code. A failed commit leaves nothing open.
    [[nodiscard]] int commit();
    // Undoes the writes now rather than at the end of the scope.
    int rollback();

private:
    Table* table_;
    bool open_ = false;
    ErrorState error_;
};

}  // namespace plorix::store
