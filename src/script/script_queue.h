#pragma once
// The script queue: copies of script items waiting to run, each stamped
// with the moment it becomes due, shared by every script the program runs.
// Position 1 (front()) is the current item.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "data/tables/scripting.h"
#include "runtime/clock.h"

namespace plorix::script {

// The marker that closes every script placed in the queue.
inline constexpr std::string_view kEndMarker = "**End**";

// More items than this are never queued: a script file that starts itself,
// or a task that fires faster than its script runs, is stopped here rather
// than growing the queue until memory runs out.
inline constexpr std::size_t kMaxQueuedItems = 10000;

inline constexpr std::int64_t kNoDeadline = std::numeric_limits<std::int64_t>::max();

// One queued item: the item's fields as copied from its record or file line,
// plus its timing. Due moments and deadlines are counted on the clock's
// steady count, so a change of the wall clock (a daylight-saving change, a
// correction by the user) neither stalls a script nor runs it in a burst;
// RUNDATE and RUNTIME give the same moment on the wall clock as it stood when
// the item was queued, for display.
struct QueueItem : data::Scripting {
    Date RUNDATE = 0;
    Time RUNTIME = 0;
    std::int32_t PROGRAMHANDLE = 0;
    std::int64_t due = 0;                 // steady hundredths; due once the count is past it
    std::int64_t deadline = kNoDeadline;  // "If Time Elapsed..." deadline; "Wait" "Or" limit
    bool started = false;                 // the stepper has begun executing it
};

class ScriptQueue {
public:
    using Items = std::deque<QueueItem>;

    bool empty() const { return items_.empty(); }
    std::size_t size() const { return items_.size(); }
    QueueItem& front() { return items_.front(); }
    const QueueItem& front() const { return items_.front(); }
    const QueueItem& back() const { return items_.back(); }
    const Items& items() const { return items_; }
    Items& items() { return items_; }

    // Adds items at the end; false (and nothing added) when the queue would
    // then hold more than kMaxQueuedItems.
    bool append(Items more);
    // Replaces the whole queue; false (and nothing changed) when `items`
    // holds more than kMaxQueuedItems.
    bool replace(Items items);
    void popFront() { items_.pop_front(); }
    // Removes every item ("&Stop Running Script"); nothing else changes.
    void clear() { items_.clear(); }
    // Called once items have been added or put in (the frame's timer, asleep
    // while nothing runs, wakes to step them).
    void onFilled(std::function<void()> filled) { filled_ = std::move(filled); }

private:
    void tellFilled() const {
        if (filled_ && !items_.empty()) filled_();
    }

    Items items_;
    std::function<void()> filled_;
};

// Moves the items from `first` on later by `hundredths`, on the steady count
// and on the wall clock alike (a completed wait, an inserted script).
void delayItems(ScriptQueue::Items& items, std::size_t first, std::int64_t hundredths);

// Whether a queue of `count` items stays within kMaxQueuedItems.
inline bool withinQueueLimit(std::size_t count) { return count <= kMaxQueuedItems; }

// The message that says a load was refused by the limit ("what" names the
// script: a file name or a task).
std::string queueFullText(std::string_view what);

}  // namespace plorix::script
