// Table: positioning in a key and reading records.

#include <algorithm>
#include <limits>

#include "data/record_io.h"
#include "data/sql_error.h"
#include "data/store_impl.h"

namespace plorix::data {

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

Statement* Table::statement(Purpose purpose, int key) {
    auto& cache = impl_->statements;
    if (auto it = cache.find({purpose, key}); it != cache.end()) return it->second;
    const TableSchema& s = *schema_;
    const std::string& t = impl_->table;
    const KeyDesc* k = key >= 0 ? &s.keys[static_cast<std::size_t>(key)] : nullptr;
    std::string text;
    switch (purpose) {
        case Purpose::Insert: text = sql::insertRecord(s, t); break;
        case Purpose::Update: text = sql::updateRecord(s, t); break;
        case Purpose::Delete: text = sql::deleteRecord(t); break;
        case Purpose::DeleteAll: text = sql::deleteAll(t); break;
        case Purpose::Count: text = sql::countRecords(t); break;
        case Purpose::ByPosition: text = sql::selectByPosition(s, t); break;
        case Purpose::Equal: text = sql::selectEqual(s, t, *k); break;
        case Purpose::Probe: text = sql::probeDuplicate(s, t, *k); break;
        case Purpose::FromStart: text = sql::selectFromEnd(s, t, k, sql::Direction::Forward); break;
        case Purpose::FromEnd: text = sql::selectFromEnd(s, t, k, sql::Direction::Backward); break;
        case Purpose::After: text = sql::selectBeyond(s, t, k, sql::Direction::Forward); break;
        case Purpose::Before: text = sql::selectBeyond(s, t, k, sql::Direction::Backward); break;
    }
    ErrorState error;
    Statement* prepared = db_->prepare(text, error);
    if (!prepared) {
        report(error);
        return nullptr;
    }
    cache.emplace(std::make_pair(purpose, key), prepared);
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
        const bool fromEnd = m.cursor == Cursor::Start || m.cursor == Cursor::End;
        Statement* s = statement(fromEnd ? (forward ? Purpose::FromStart : Purpose::FromEnd)
                                         : (forward ? Purpose::After : Purpose::Before),
                                 m.key);
        if (!s) return error_.code;
        StatementUse use(*s);
        if (fromEnd) {
            s->bind(1, m.batch);
        } else {
            const std::size_t n = m.key >= 0 ? schema_->keys[static_cast<std::size_t>(m.key)].components.size() : 0;
            if (m.key >= 0) bindKey(*s, *schema_, schema_->keys[static_cast<std::size_t>(m.key)], m.cursorRecord.get());
            std::int64_t position = m.cursorPosition;
            if (m.cursor == Cursor::Values) position = forward ? 0 : std::numeric_limits<std::int64_t>::max();
            s->bind(static_cast<int>(n + 1), position);
            s->bind(static_cast<int>(n + 2), m.batch);
        }
        m.rowCount = 0;
        m.nextRow = 0;
        int rc;
        while ((rc = s->step()) == SQLITE_ROW) {
            if (m.rows.size() <= m.rowCount) m.rows.push_back({schema_->makeRecord(), 0, 0});
            Impl::Row& row = m.rows[m.rowCount++];
            row.position = s->integer(0);
            row.version = s->integer(1);
            readFields(*s, *schema_, row.record.get(), 2);
        }
        m.direction = direction;
        m.generation = db_->generation();
        if (rc != SQLITE_DONE) {
            m.forgetReadAhead();
            return report(db_->lastError(rc));
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

int Table::get(int key) {
    if (int code = ready(false)) return code;
    if (key < 0 || key >= static_cast<int>(schema_->keys.size())) return report(kInvalidKeyLength);
    Statement* s = statement(Purpose::Equal, key);
    if (!s) return error_.code;
    StatementUse use(*s);
    bindKey(*s, *schema_, schema_->keys[static_cast<std::size_t>(key)], buffer());
    const int rc = s->step();
    if (rc == SQLITE_DONE) return report(kRecordNotFound);
    if (rc != SQLITE_ROW) return report(db_->lastError(rc));
    currentRow_ = s->integer(0);
    impl_->version = s->integer(1);
    readFields(*s, *schema_, buffer(), 2);
    return report(kNoError);
}

int Table::reget(std::int64_t position) {
    if (int code = ready(false)) return code;
    Statement* s = statement(Purpose::ByPosition, -1);
    if (!s) return error_.code;
    StatementUse use(*s);
    s->bind(1, position);
    const int rc = s->step();
    if (rc == SQLITE_DONE) return report(kRecordNotFound);
    if (rc != SQLITE_ROW) return report(db_->lastError(rc));
    currentRow_ = s->integer(0);
    impl_->version = s->integer(1);
    readFields(*s, *schema_, buffer(), 2);
    return report(kNoError);
}

std::int64_t Table::records() {
    if (ready(false)) return -1;
    Statement* s = statement(Purpose::Count, -1);
    if (!s) return -1;
    StatementUse use(*s);
    const int rc = s->step();
    if (rc != SQLITE_ROW) {
        report(db_->lastError(rc));
        return -1;
    }
    report(kNoError);
    return s->integer(0);
}

}  // namespace plorix::data
