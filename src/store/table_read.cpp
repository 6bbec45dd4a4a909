// Table: positioning in a key and reading records.

#include <algorithm>
#include <limits>

#include "store/record_io.h"
#include "store/sql_error.h"
#include "store/store_impl.h"

namespace plorix::store {

namespace {

// Rows read ahead per query: one at first (a look-up of the first due task
// reads no more), growing while a scan goes on.
constexpr std::int64_t kFirstBatch = 1;
constexpr std::int64_t kBatchGrowth = 8;
constexpr std::int64_t kLargestBatch = 256;

bool validKey(const TableSchema& schema, int key) {
    return key >= -1 && key < static_cast<int>(schema.keys.size());
}

}  // namespace

Statement* Table::statement(Purpose purpose, int key, int level) {
    auto& cache = impl_->statements;
    if (auto it = cache.find({purpose, key, level}); it != cache.end()) return it->second;
    const TableSchema& s = *schema_;
    const std::string& t = impl_->table;
    const KeyDesc* k = key >= 0 ? &s.keys[static_cast<std::size_t>(key)] : nullptr;
    const Dialect& d = db_->dialect();
    std::string text;
    switch (purpose) {
    case Purpose::Insert: text = sql::insertRecord(d, s, t); break;
    case Purpose::Update: text = sql::updateRecord(d, s, t); break;
    case Purpose::Delete: text = sql::deleteRecord(d, t); break;
    case Purpose::DeleteAll: text = sql::deleteAll(t); break;
    case Purpose::Count: text = sql::countRecords(t); break;
    case Purpose::ByPosition: text = sql::selectByPosition(d, s, t); break;
    case Purpose::Equal: text = sql::selectEqual(d, s, t, *k); break;
    case Purpose::Probe: text = sql::probeDuplicate(d, s, t, *k); break;
    case Purpose::FromStart: text = sql::selectFromEnd(d, s, t, k, sql::Direction::Forward); break;
    case Purpose::FromEnd: text = sql::selectFromEnd(d, s, t, k, sql::Direction::Backward); break;
    case Purpose::After: text = sql::selectBeyond(d, s, t, k, sql::Direction::Forward, level); break;
    case Purpose::Before: text = sql::selectBeyond(d, s, t, k, sql::Direction::Backward, level); break;
    }
    ErrorState error;
    Statement* prepared = db_->prepare(text, error);
    if (!prepared) {
        report(error);
        return nullptr;
    }
    cache.emplace(std::make_tuple(purpose, key, level), prepared);
    return prepared;
}

void Table::setStart(int key) {
    impl_->key = key;
    impl_->cursor = validKey(*schema_, key) ? Impl::Cursor::Start : Impl::Cursor::None;
    impl_->forgetReadAhead();
}

void Table::setEnd(int key) {
    impl_->key = key;
    impl_->cursor = validKey(*schema_, key) ? Impl::Cursor::End : Impl::Cursor::None;
    impl_->forgetReadAhead();
}

void Table::setAt(int key) {
    setStart(key);
    if (impl_->cursor == Impl::Cursor::None) return;
    if (!impl_->cursorRecord) impl_->cursorRecord = schema_->makeRecord();
    copyRecord(*schema_, buffer(), impl_->cursorRecord.get());
    impl_->cursor = Impl::Cursor::Values;
}

int Table::next() { return read(true); }
int Table::previous() { return read(false); }

int Table::read(bool forward) {
    if (int code = ready(false)) return code;
    Impl& m = *impl_;
    using Cursor = Impl::Cursor;
    const auto direction = forward ? sql::Direction::Forward : sql::Direction::Backward;
    if (m.cursor == Cursor::None || (m.cursor == Cursor::Start && !forward) ||
        (m.cursor == Cursor::End && forward)) {
        return report(kRecordNotAvailable);
    }
    const bool sameDirection = m.direction == direction && m.batch > 0;
    const bool fresh = m.generation == db_->generation();
    if (!(sameDirection && fresh && m.nextRow < m.rowCount)) {
        // Read ahead again from the cursor. Rows made stale by a write mean
        // the caller mixes reads and writes: reading ahead would be wasted.
        m.batch = !sameDirection || !fresh ? kFirstBatch : std::min(m.batch * kBatchGrowth, kLargestBatch);
        m.rowCount = 0;
        m.nextRow = 0;
        m.direction = direction;
        m.generation = db_->generation();
        const int code = m.cursor == Cursor::Start || m.cursor == Cursor::End
                             ? m.readAheadFromEnd(*this, forward)
                             : m.readAheadBeyond(*this, forward);
        if (code != kNoError) {
            m.forgetReadAhead();
            return code;
        }
    }
    if (m.nextRow >= m.rowCount) return report(kRecordNotAvailable);
    Impl::Row& row = m.rows[m.nextRow++];
    copyRecord(*schema_, row.record.get(), buffer());
    currentRow_ = row.position;
    m.version = row.version;
    // The row's record becomes the cursor; its slot is refilled next time.
    std::swap(m.cursorRecord, row.record);
    if (!row.record) row.record = schema_->makeRecord();
    m.cursorPosition = row.position;
    m.cursor = Cursor::At;
    return report(kNoError);
}

int Table::Impl::appendRows(Statement& s, const TableSchema& schema) {
    int rc;
    while ((rc = s.step()) == kStepRow) {
        if (rows.size() <= rowCount) rows.push_back({schema.makeRecord(), 0, 0});
        Row& row = rows[rowCount++];
        row.position = s.integer(0);
        row.version = s.integer(1);
        readFields(s, schema, row.record.get(), 2);
    }
    return rc;
}

int Table::Impl::readAheadFromEnd(Table& table, bool forward) {
    Statement* s = table.statement(forward ? Purpose::FromStart : Purpose::FromEnd, key);
    if (!s) return table.error_.code;
    StatementUse use(*s);
    s->bind(1, batch);
    const int rc = appendRows(*s, *table.schema_);
    return rc == kStepDone ? kNoError : table.report(table.db_->lastError(rc));
}

int Table::Impl::readAheadBeyond(Table& table, bool forward) {
    const TableSchema& schema = *table.schema_;
    const KeyDesc* k = key >= 0 ? &schema.keys[static_cast<std::size_t>(key)] : nullptr;
    const int n = sql::beyondLevels(k) - 1;
    std::int64_t position = cursorPosition;
    if (cursor == Cursor::Values) position = forward ? 0 : std::numeric_limits<std::int64_t>::max();
    // Nearest level first: the same key values further on, then ever
    // shorter runs of equal leading components.
    for (int level = n; level >= 0 && static_cast<std::int64_t>(rowCount) < batch; --level) {
        Statement* s = table.statement(forward ? Purpose::After : Purpose::Before, key, level);
        if (!s) return table.error_.code;
        StatementUse use(*s);
        if (k) bindKey(*s, schema, *k, cursorRecord.get());
        s->bind(n + 1, position);
        s->bind(n + 2, batch - static_cast<std::int64_t>(rowCount));
        const int rc = appendRows(*s, schema);
        if (rc != kStepDone) return table.report(table.db_->lastError(rc));
    }
    return kNoError;
}

int Table::Impl::readOne(Table& table, Statement& s) {
    const int rc = s.step();
    if (rc == kStepDone) return table.report(kRecordNotFound);
    if (rc != kStepRow) return table.report(table.db_->lastError(rc));
    table.currentRow_ = s.integer(0);
    version = s.integer(1);
    readFields(s, *table.schema_, table.buffer(), 2);
    return table.report(kNoError);
}

bool Table::Impl::stillAsRead(Table& table) {
    Statement* s = table.statement(Purpose::ByPosition, -1);
    if (!s) return false;
    StatementUse use(*s);
    s->bind(1, table.currentRow_);
    return s->step() == kStepRow && s->integer(1) == version;
}

int Table::get(int key) {
    if (int code = ready(false)) return code;
    if (key < 0 || key >= static_cast<int>(schema_->keys.size())) return report(kInvalidKeyLength);
    Statement* s = statement(Purpose::Equal, key);
    if (!s) return error_.code;
    StatementUse use(*s);
    bindKey(*s, *schema_, schema_->keys[static_cast<std::size_t>(key)], buffer());
    return impl_->readOne(*this, *s);
}

int Table::reget(std::int64_t position) {
    if (int code = ready(false)) return code;
    Statement* s = statement(Purpose::ByPosition, -1);
    if (!s) return error_.code;
    StatementUse use(*s);
    s->bind(1, position);
    return impl_->readOne(*this, *s);
}

std::int64_t Table::records() {
    if (ready(false)) return -1;
    Statement* s = statement(Purpose::Count, -1);
    if (!s) return -1;
    StatementUse use(*s);
    const int rc = s->step();
    if (rc != kStepRow) {
        report(db_->lastError(rc));
        return -1;
    }
    report(kNoError);
    return s->integer(0);
}

}  // namespace plorix::store
