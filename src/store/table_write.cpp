// Table: adding, changing and deleting records, and transactions.

#include <algorithm>

#include "store/record_io.h"
#include "store/sql_error.h"
#include "store/store_impl.h"

namespace plorix::store {

namespace {

bool allBlank(const TableSchema& schema, const KeyDesc& key, const void* record) {
    for (int index : key.components) {
        if (!fieldIsBlank(schema.fields[static_cast<std::size_t>(index)], record)) return false;
    }
    return true;
}

}  // namespace

// Names the unique key another record (not `position`) already holds the
// buffer's values of, after SQLite refused a write.
std::string Table::duplicatedKey(std::int64_t position) {
    const TableSchema& schema = *schema_;
    for (std::size_t k = 0; k < schema.keys.size(); ++k) {
        const KeyDesc& key = schema.keys[k];
        if (!key.unique() || (key.opt() && allBlank(schema, key, buffer()))) continue;
        Statement* s = statement(Purpose::Probe, static_cast<int>(k));
        if (!s) continue;
        StatementUse use(*s);
        bindKey(*s, schema, key, buffer());
        s->bind(static_cast<int>(key.components.size() + 1), position);
        if (s->step() == kStepRow) return key.name;
    }
    return {};
}

int Table::add() {
    if (int code = ready(true)) return code;
    Statement* s = statement(Purpose::Insert, -1);
    if (!s) return error_.code;
    int rc;
    {
        StatementUse use(*s);
        bindFields(*s, *schema_, buffer());
        rc = s->step();
    }
    db_->changed();
    if (rc != kStepDone) {
        ErrorState error = db_->lastError(rc);
        if (error.code == kDuplicateKey) {
            error.keyName = duplicatedKey(0);
        }
        return report(error);
    }
    // A backend that skips a duplicate instead of refusing it adds nothing.
    if (db_->changes() == 0) {
        ErrorState error = storeError(kDuplicateKey);
        error.keyName = duplicatedKey(0);
        return report(error);
    }
    currentRow_ = db_->lastInsertId();
    impl_->version = 1;
    return report(kNoError);
}

int Table::put() {
    if (int code = ready(true)) return code;
    if (currentRow_ == 0) return report(kRecordNotAvailable);
    Statement* s = statement(Purpose::Update, -1);
    if (!s) return error_.code;
    int rc;
    {
        StatementUse use(*s);
        bindFields(*s, *schema_, buffer());
        const int m = static_cast<int>(schema_->fields.size());
        s->bind(m + 1, currentRow_);
        s->bind(m + 2, impl_->version);
        rc = s->step();
    }
    db_->changed();
    if (rc != kStepDone) {
        ErrorState error = db_->lastError(rc);
        if (error.code == kDuplicateKey) {
            error.keyName = duplicatedKey(currentRow_);
        }
        return report(error);
    }
    // No row with the position and the version read: another station
    // changed or deleted the record meanwhile, or, where the backend skips
    // duplicates, another record holds the new values of a unique key.
    if (db_->changes() == 0) {
        if (!db_->dialect().updateSkipsDuplicates || !impl_->stillAsRead(*this))
            return report(kRecordChanged);
        ErrorState error = storeError(kDuplicateKey);
        error.keyName = duplicatedKey(currentRow_);
        return report(error);
    }
    ++impl_->version;
    return report(kNoError);
}

int Table::erase() {
    if (int code = ready(true)) return code;
    if (currentRow_ == 0) return report(kRecordNotAvailable);
    Statement* s = statement(Purpose::Delete, -1);
    if (!s) return error_.code;
    int rc;
    {
        StatementUse use(*s);
        s->bind(1, currentRow_);
        s->bind(2, impl_->version);
        rc = s->step();
    }
    db_->changed();
    if (rc != kStepDone) return report(db_->lastError(rc));
    if (db_->changes() == 0) return report(kRecordChanged);
    currentRow_ = 0;
    return report(kNoError);
}

int Table::empty() {
    if (int code = ready(true)) return code;
    Statement* s = statement(Purpose::DeleteAll, -1);
    if (!s) return error_.code;
    int rc;
    {
        StatementUse use(*s);
        rc = s->step();
    }
    db_->changed();
    currentRow_ = 0;
    return rc == kStepDone ? report(kNoError) : report(db_->lastError(rc));
}

int Table::begin() {
    if (int code = ready(false)) return code;
    ErrorState error;
    db_->begin(error);
    return report(error);
}

int Table::commit() {
    if (int code = ready(false)) return code;
    ErrorState error;
    db_->commit(error);
    return report(error);
}

int Table::rollback() {
    if (int code = ready(false)) return code;
    ErrorState error;
    db_->rollback(error);
    // Undoing an inner transaction (a savepoint) leaves the batches around
    // it open; only those that ended with it are forgotten.
    impl_->streams = std::min(impl_->streams, db_->transactionDepth());
    return report(error);
}

int Table::stream() {
    if (int code = ready(false)) return code;
    ErrorState error;
    if (db_->begin(error) == kNoError) ++impl_->streams;
    return report(error);
}

int Table::flush() {
    if (int code = ready(false)) return code;
    if (impl_->streams == 0) return report(kNoError);
    --impl_->streams;
    ErrorState error;
    db_->commit(error);
    return report(error);
}

}  // namespace plorix::store
