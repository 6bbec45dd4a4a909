#include "store/transaction.h"

#include <utility>

#include "store/store.h"

namespace plorix::store {

Transaction::Transaction(Table& table) : table_(&table) {
    open_ = table.begin() == kNoError;
    error_ = table.error();
}

Transaction::Transaction(Transaction&& other) noexcept
    : table_(other.table_), open_(std::exchange(other.open_, false)), error_(std::move(other.error_)) {}

Transaction::~Transaction() { rollback(); }

int Transaction::commit() {
    if (!open_) return error_.code ? error_.code : kNoError;
    open_ = false;
    if (table_->commit() != kNoError) {
        error_ = table_->error();
        return error_.code;
    }
    error_ = {};
    return kNoError;
}

int Transaction::rollback() {
    if (!open_) return kNoError;
    open_ = false;
    return table_->rollback();
}

}  // namespace plorix::store
