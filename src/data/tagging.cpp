#include "data/tagging.h"

#include <atomic>
#include <mutex>
#include <string>

#include "data/fatal_error.h"
#include "data/process_tables.h"
#include "data/tables/tag_file.h"
#include "runtime/fixed_text.h"

namespace plorix::data {

namespace {

// Every tag of this system belongs to owner 0.
constexpr std::int32_t kOwner = 0;
constexpr int kCountPerStep = 100;
constexpr int kClearPerStep = 10;

std::atomic<int> tagMode{kReadWriteDenyNone};

int ptrKey() {
    static const int key = TagFile_::schema().keyIndex("TF_:PTRKEY");
    return key;
}
int valKey() {
    static const int key = TagFile_::schema().keyIndex("TF_:VALKEY");
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
std::unique_ptr<Table> walkCursor;

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

[[noreturn]] void fail(const ErrorState& e, std::string_view operation) {
    throw FatalError("Error #" + std::to_string(e.code) + " - " + clip(e.text) + " (" +
                     std::string(operation) + ")");
}

TagFile_& tag(Table& t) { return t.rec<TagFile_>(); }

bool belongs(Table& t, TagTable table) { return tag(t).USR == kOwner && tag(t).TBL == table; }

// Reads the record's tag by TF_:PTRKEY; true when there is one.
bool findTag(Table& t, TagTable table, TaggedRecord record) {
    clearRecord(t.schema(), t.buffer());
    tag(t).USR = kOwner;
    tag(t).TBL = table;
    tag(t).PTR = record;
    return t.get(ptrKey()) == kNoError;
}

// A cursor of its own on the tag file, before the table's first tag in
// TF_:VALKEY order.
std::unique_ptr<Table> firstTagCursor(Prompter& prompter, TagTable table) {
    auto cursor = std::make_unique<Table>(TagFile_::schema());
    cursor->setName(tagFile().name());
    cursor->setPassword({});
    const OpenOptions options = tagFileOptions();
    openTable(*cursor, prompter, options.mode, options.create, options.noCreate, options.shared);
    clearRecord(cursor->schema(), cursor->buffer());
    tag(*cursor).USR = kOwner;
    tag(*cursor).TBL = table;
    cursor->setAt(valKey());
    return cursor;
}

// The cursor's next tag of the table; false at the end of its tags.
bool nextOf(Table& cursor, TagTable table) { return cursor.next() == kNoError && belongs(cursor, table); }

}  // namespace

Table& tagFile() { return processTable<TagFile_>(); }

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
    Table& t = use.table();
    if (findTag(t, table, record)) {
        tag(t).VAL = value;
        if (t.put() != kNoError) fail(t.error(), "SetTag_/PUT");
        return;
    }
    clearRecord(t.schema(), t.buffer());
    tag(t).USR = kOwner;
    tag(t).TBL = table;
    tag(t).PTR = record;
    tag(t).VAL = value;
    if (t.add() != kNoError) fail(t.error(), "SetTag_/ADD");
    adjustCount(table, +1);
}

void clearTag(Prompter& prompter, TagTable table, TaggedRecord record) {
    if (table == 0) return;
    TableUse use(tagFile(), prompter, tagFileOptions());
    Table& t = use.table();
    if (!findTag(t, table, record)) return;
    if (t.erase() != kNoError) fail(t.error(), "ClrTag_/DELETE");
    adjustCount(table, -1);
}

bool isTagged(Prompter& prompter, TagTable table, TaggedRecord record) {
    if (table == 0) return false;
    TableUse use(tagFile(), prompter, tagFileOptions());
    return findTag(use.table(), table, record);
}

TaggedRecord firstTag(Prompter& prompter, TagTable table) {
    std::unique_ptr<Table> cursor;
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
    const bool complete = cursor_->errorCode() == kNoError || cursor_->errorCode() == kRecordNotAvailable;
    cursor_.reset();
    if (progress_) progress_->setText(std::to_string(count_));
    progress_.reset();
    // A count cut short by a read error is not kept.
    if (complete) keepCount(table_, count_);
}

std::int32_t countTags(Prompter& prompter, TagTable table) {
    TagCount counting(prompter, table);
    while (counting.step()) {
    }
    return counting.count();
}

// --- clearing ---------------------------------------------------------------------

TagClear::TagClear(Prompter& prompter, TagTable table) : table_(table) {
    if (table == 0) return;
    {
        TableUse use(tagFile(), prompter, tagFileOptions());
        Table& t = use.table();
        t.setStart(ptrKey());
        bool alone = t.next() == kNoError && belongs(t, table);
        t.setEnd(ptrKey());
        alone = alone && t.previous() == kNoError && belongs(t, table);
        if (alone && t.begin() == kNoError) {
            if (t.empty() != kNoError) {
                const ErrorState error = t.error();
                t.rollback();
                fail(error, "NewTag_/TryQuick/EMPTY");
            }
            if (t.commit() != kNoError) fail(t.error(), "NewTag_/TryQuick/EMPTY");
            quick_ = true;
            keepCount(table, 0);
            return;
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
    batch_ = cursor_->stream() == kNoError;
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
        if (cursor_->erase() != kNoError) {
            const ErrorState error = cursor_->error();
            if (batch_) cursor_->flush();
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
    if (batch_) cursor_->flush();
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
    while (clearing.step()) {
    }
}

void resetTagState() {
    std::lock_guard lock(stateMutex);
    kept = {};
    walkTable = 0;
    walkCursor.reset();
}

}  // namespace plorix::data
