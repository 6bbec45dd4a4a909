#include "data/tagging.h"

#include <atomic>
#include <mutex>
#include <string>

#include "data/fatal_error.h"
#include "data/process_tables.h"
#include "data/tables/tag_file.h"
#include "store/transaction.h"
#include "runtime/fixed_text.h"

namespace plorix::data {

namespace {

// Every tag of this system belongs to owner 0.
constexpr std::int32_t kOwner = 0;
constexpr int kCountPerStep = 100;
constexpr int kClearPerStep = 10;

std::atomic<int> tagMode{store::kReadWriteDenyNone};

int ptrKey() {
    static const int key = keys::TagFile_::PTRKEY;
    return key;
}
int valKey() {
    static const int key = keys::TagFile_::VALKEY;
    return key;
}

// The count kept for the table counted last.
struct KeptCount {
    bool valid = false;
    TagTable table = 0;
    std::int32_t count = 0;
};

std::mutex stateMutex;
KeptCount kept;
// The walk of firstTag/nextTag: a cursor of its own, so that setting and
// clearing tags in between does not move it.
TagTable walkTable = 0;
std::unique_ptr<store::Table> walkCursor;

void keepCount(TagTable table, std::int32_t count) {
    std::lock_guard lock(stateMutex);
    kept = {true, table, count};
}

// A tag added (+1) or removed (-1): the kept count follows for its table
// and is dropped for any other.
void adjustCount(TagTable table, int change) {
    std::lock_guard lock(stateMutex);
    if (kept.valid && kept.table == table) {
        kept.count += change;
    } else {
        kept.valid = false;
    }
}

[[noreturn]] void fail(const store::ErrorState& e, std::string_view operation) {
    throw FatalError("Error #" + std::to_string(e.code) + " - " + clip(e.text) + " (" +
                     std::string(operation) + ")");
}

TagFile_& tag(store::Table& t) { return t.rec<TagFile_>(); }

bool belongs(store::Table& t, TagTable table) { return tag(t).USR == kOwner && tag(t).TBL == table; }

// Reads the record's tag by TF_:PTRKEY; true when there is one.
bool findTag(store::Table& t, TagTable table, TaggedRecord record) {
    store::clearRecord(t.schema(), t.buffer());
    tag(t).USR = kOwner;
    tag(t).TBL = table;
    tag(t).PTR = record;
    return t.get(ptrKey()) == store::kNoError;
}

// A cursor of its own on the tag file, before the table's first tag in
// TF_:VALKEY order.
std::unique_ptr<store::Table> firstTagCursor(Prompter& prompter, TagTable table) {
    auto cursor = std::make_unique<store::Table>(TagFile_::schema());
    cursor->setName(tagFile().name());
    cursor->setPassword({});
    const OpenOptions options = tagFileOptions();
    openTable(*cursor, prompter, options.mode, options.create, options.noCreate, options.shared);
    store::clearRecord(cursor->schema(), cursor->buffer());
    tag(*cursor).USR = kOwner;
    tag(*cursor).TBL = table;
    cursor->setAt(valKey());
    return cursor;
}

// The cursor's next tag of the table; false at the end of its tags.
bool nextOf(store::Table& cursor, TagTable table) {
    return cursor.next() == store::kNoError && belongs(cursor, table);
}

}  // namespace

store::Table& tagFile() { return processTable<TagFile_>(); }

OpenOptions tagFileOptions() {
    OpenOptions options;
    options.mode = tagMode;
    options.shared = false;
    return options;
}

void setTagFileMode(int mode) { tagMode = mode; }

void setTag(Prompter& prompter, TagTable table, TaggedRecord record, std::string_view value) {
    if (table == 0) return;
    TableUse use(tagFile(), prompter, tagFileOptions());
    store::Table& t = use.table();
    if (findTag(t, table, record)) {
        tag(t).VAL = value;
        if (t.put() != store::kNoError) fail(t.error(), "SetTag_/PUT");
        return;
    }
    store::clearRecord(t.schema(), t.buffer());
    tag(t).USR = kOwner;
    tag(t).TBL = table;
    tag(t).PTR = record;
    tag(t).VAL = value;
    if (t.add() != store::kNoError) fail(t.error(), "SetTag_/ADD");
    adjustCount(table, +1);
}

void clearTag(Prompter& prompter, TagTable table, TaggedRecord record) {
    if (table == 0) return;
    TableUse use(tagFile(), prompter, tagFileOptions());
    store::Table& t = use.table();
    if (!findTag(t, table, record)) return;
    if (t.erase() != store::kNoError) fail(t.error(), "ClrTag_/DELETE");
    adjustCount(table, -1);
}

bool isTagged(Prompter& prompter, TagTable table, TaggedRecord record) {
    if (table == 0) return false;
    TableUse use(tagFile(), prompter, tagFileOptions());
    return findTag(use.table(), table, record);
}

TaggedRecord firstTag(Prompter& prompter, TagTable table) {
    std::unique_ptr<store::Table> cursor;
    if (table != 0) cursor = firstTagCursor(prompter, table);
    std::lock_guard lock(stateMutex);
    walkTable = table;
    walkCursor = std::move(cursor);
    if (!walkCursor) return 0;
    if (nextOf(*walkCursor, table)) return tag(*walkCursor).PTR;
    walkCursor.reset();
    return 0;
}

TaggedRecord nextTag(Prompter&, TagTable table) {
    std::lock_guard lock(stateMutex);
    if (!walkCursor || walkTable != table) return 0;
    if (nextOf(*walkCursor, table)) return tag(*walkCursor).PTR;
    walkCursor.reset();
    return 0;
}

TagBatch::TagBatch(Prompter& prompter)
    : use_(tagFile(), prompter, tagFileOptions()), transaction_(use_.table()) {}

void TagBatch::commit() {
    // A batch that could not begin wrote each tag on its own.
    if (transaction_.ok() && transaction_.commit() != store::kNoError)
        fail(transaction_.error(), "TagBatch/COMMIT");
}

// --- counting ---------------------------------------------------------------------

TagCount::TagCount(Prompter& prompter, TagTable table) : table_(table) {
    if (table == 0) return;
    {
        std::lock_guard lock(stateMutex);
        if (kept.valid && kept.table == table) {
            count_ = kept.count;
            return;
        }
    }
    cursor_ = firstTagCursor(prompter, table);
    if (!nextOf(*cursor_, table)) {
        finish();
        return;
    }
    count_ = 1;
    progress_ = prompter.progress("Counting Tags", "");
    progress_->setText(std::to_string(count_));
}

TagCount::~TagCount() = default;

bool TagCount::step() {
    if (!cursor_) return false;
    for (int i = 0; i < kCountPerStep; ++i) {
        if (!nextOf(*cursor_, table_)) {
            finish();
            return false;
        }
        ++count_;
    }
    progress_->setText(std::to_string(count_));
    return true;
}

void TagCount::finish() {
    const bool complete =
        cursor_->errorCode() == store::kNoError || cursor_->errorCode() == store::kRecordNotAvailable;
    cursor_.reset();
    if (progress_) progress_->setText(std::to_string(count_));
    progress_.reset();
    // A count cut short by a read error is not kept.
    if (complete) keepCount(table_, count_);
}

std::int32_t countTags(Prompter& prompter, TagTable table) {
    TagCount counting(prompter, table);
    while (counting.step()) {}
    return counting.count();
}

// --- clearing ---------------------------------------------------------------------

TagClear::TagClear(Prompter& prompter, TagTable table) : table_(table) {
    if (table == 0) return;
    {
        TableUse use(tagFile(), prompter, tagFileOptions());
        store::Table& t = use.table();
        t.setStart(ptrKey());
        bool alone = t.next() == store::kNoError && belongs(t, table);
        t.setEnd(ptrKey());
        alone = alone && t.previous() == store::kNoError && belongs(t, table);
        if (alone) {
            store::Transaction transaction(t);
            if (transaction.ok()) {
                if (t.empty() != store::kNoError) {
                    const store::ErrorState error = t.error();
                    transaction.rollback();
                    fail(error, "NewTag_/TryQuick/EMPTY");
                }
                if (transaction.commit() != store::kNoError)
                    fail(transaction.error(), "NewTag_/TryQuick/EMPTY");
                quick_ = true;
                keepCount(table, 0);
                return;
            }
        }
    }
    total_ = countTags(prompter, table);
    if (total_ == 0) {
        keepCount(table, 0);
        return;
    }
    cursor_ = firstTagCursor(prompter, table);
    progress_ = prompter.progress("Clearing Tags", "");
    progress_->setText("0%");
    // Locked for the whole batch; unlocked, each deletion waits on its own.
    batch_ = cursor_->stream() == store::kNoError;
}

TagClear::~TagClear() {
    if (cursor_) finish(false);
}

bool TagClear::step() {
    if (!cursor_) return false;
    for (int i = 0; i < kClearPerStep; ++i) {
        if (progress_->cancelled()) {
            finish(false);
            return false;
        }
        if (!nextOf(*cursor_, table_)) {
            finish(true);
            return false;
        }
        if (cursor_->erase() != store::kNoError) {
            const store::ErrorState error = cursor_->error();
            // The deletions so far stay; the failed one is what is reported.
            if (batch_) [[maybe_unused]]
                const int flushed = cursor_->flush();
            cursor_.reset();
            adjustCount(table_, -cleared_);
            fail(error, "NewTag_/SlowButSure/DELETE");
        }
        ++cleared_;
        const int percent = static_cast<int>(static_cast<std::int64_t>(cleared_) * 100 / total_);
        progress_->setPercent(percent);
        progress_->setText(std::to_string(percent) + "%");
    }
    return true;
}

void TagClear::finish(bool completed) {
    if (batch_ && cursor_->flush() != store::kNoError) {
        const store::ErrorState error = cursor_->error();
        cursor_.reset();
        fail(error, "NewTag_/SlowButSure/FLUSH");
    }
    cursor_.reset();
    if (completed) {
        progress_->finish();
        keepCount(table_, 0);
    } else {
        // Stopped early: the tags not reached are still there.
        keepCount(table_, total_ - cleared_);
    }
    progress_.reset();
}

void clearAllTags(Prompter& prompter, TagTable table) {
    TagClear clearing(prompter, table);
    while (clearing.step()) {}
}

void resetTagState() {
    std::lock_guard lock(stateMutex);
    kept = {};
    walkTable = 0;
    walkCursor.reset();
}

}  // namespace plorix::data
