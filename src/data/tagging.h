#pragma once
// Tags of browse lists: records a user marked for a later batch action, kept
// in the tag file "TagFile_.TPS" (one tag record per tagged record) so that
// they outlast scrolling, re-sorting and reloading, and the window itself,
// until they are cleared.
//
// A list names its table by a number of its own choosing; 0 means the list
// has no tags. A tagged record is named by an identifier the list chooses
// (a task's SCH:ID, for example). Each operation opens the tag file through
// its use count and releases it on leaving; a window that works with tags
// for a while keeps it open with
//     TableUse use(tagFile(), prompter, tagFileOptions());
//
// A failed write of the tag file ends the program (FatalError) with
// "Error #<code> - <store's text> (<operation>)".

#include <cstdint>
#include <memory>
#include <string_view>

#include "data/open_routine.h"
#include "store/store.h"
#include "store/transaction.h"
#include "runtime/prompter.h"

namespace plorix::data {

using TagTable = std::int16_t;
using TaggedRecord = std::int32_t;

// The tag file's table and how it is opened: not shared, in the mode of a
// variable that starts as read/write, deny none.
store::Table& tagFile();
OpenOptions tagFileOptions();
void setTagFileMode(int mode);

// Tags a record with `value` (up to 10 characters), or gives a tagged record
// the new value.
void setTag(Prompter& prompter, TagTable table, TaggedRecord record, std::string_view value = {});
// Removes the record's tag, if it has one.
void clearTag(Prompter& prompter, TagTable table, TaggedRecord record);
bool isTagged(Prompter& prompter, TagTable table, TaggedRecord record);

// The tagged records of a table in the order of their tag values (records
// with equal values in the order they were tagged): firstTag starts over,
// nextTag goes on; 0 when there are no more. Tags cleared meanwhile are
// passed over.
TaggedRecord firstTag(Prompter& prompter, TagTable table);
TaggedRecord nextTag(Prompter& prompter, TagTable table);

// Tags set and cleared while a batch lives are written together, in one
// transaction of the tag file: a step of a long loop holds one, never
// across the event loop. Without commit() they are undone; a failed commit
// ends the program as any failed write of the tag file does.
class TagBatch {
public:
    explicit TagBatch(Prompter& prompter);
    void commit();

private:
    TableUse use_;
    store::Transaction transaction_;
};

// Counting a table's tags in steps of 100, for a window's timer; the count
// of the table counted last is kept, and kept right by setTag and clearTag,
// so counting it again reads nothing. A long count shows the progress
// window "Counting Tags" with the running count.
class TagCount {
public:
    TagCount(Prompter& prompter, TagTable table);
    ~TagCount();
    TagCount(const TagCount&) = delete;
    TagCount& operator=(const TagCount&) = delete;
    // Counts on; false once the count is complete.
    bool step();
    std::int32_t count() const { return count_; }

private:
    void finish();
    TagTable table_;
    std::unique_ptr<store::Table> cursor_;
    std::unique_ptr<Progress> progress_;
    std::int32_t count_ = 0;
};

// The whole count at once.
std::int32_t countTags(Prompter& prompter, TagTable table);

// Clearing every tag of a table. When they are the only tags in the file and
// the file can be locked, the file is emptied in one step; otherwise they
// are deleted 10 per step, in tag-value order, in one batch with the file
// locked, under the progress window "Clearing Tags" ("N%"), whose Cancel
// stops early.
class TagClear {
public:
    TagClear(Prompter& prompter, TagTable table);
    ~TagClear();
    TagClear(const TagClear&) = delete;
    TagClear& operator=(const TagClear&) = delete;
    // Deletes on; false once done or cancelled.
    bool step();
    bool quick() const { return quick_; }
    std::int32_t cleared() const { return cleared_; }

private:
    void finish(bool completed);
    TagTable table_;
    bool quick_ = false;
    bool batch_ = false;
    std::unique_ptr<store::Table> cursor_;
    std::unique_ptr<Progress> progress_;
    std::int32_t total_ = 0;
    std::int32_t cleared_ = 0;
};

void clearAllTags(Prompter& prompter, TagTable table);

// Forgets the kept count and any walk of firstTag/nextTag (when the data
// folder changes, and between tests).
void resetTagState();

}  // namespace plorix::data
