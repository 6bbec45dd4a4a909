#pragma once
// History: the disabled, completed records that past runs leave behind,
// their daily removal once they expire, and the script items that go with
// them.

#include <cstdint>
#include <string_view>

#include "store/store.h"
#include "data/tables/schedule.h"
#include "runtime/date_time.h"
#include "scheduler/fire_context.h"

namespace plorix::scheduler {

// The title of the message a failed removal of history shows.
inline constexpr std::string_view kCannotRemoveHistory = "Cannot Remove History";

// The run as it stood before firing moved the entry on.
struct RunMoments {
    Date date = 0;
    Time time = 0;
    Date warnDate = 0;
    Time warnTime = 0;
};
RunMoments runMoments(const data::Schedule& entry);

// Turns the buffer into the history record of the run: disabled, completed,
// back at the run's date and time and its advance-warning moment. A record
// with a warning moment is stored as already warned, so that the warning
// check never warns again for a run that has happened.
void makeHistoryRecord(data::Schedule& entry, const RunMoments& run);

bool isHistoryRecord(const data::Schedule& entry);

// Deletes every Scripting record of the task in one batch; the store's
// first error code, 0 when all went well.
int deleteTaskScript(store::Table& scripting, std::int32_t taskId);
// Adds a copy of every Scripting record of task `from` under task `to`, in
// one batch.
int copyTaskScript(store::Table& scripting, std::int32_t from, std::int32_t to);

// The daily removal of expired history. Remembers the day it last ran, so
// that it runs on the first active tick of each day.
class HistoryRemoval {
public:
    // Removes the disabled entries that are "HistoryExpires" days old (the
    // completed ones, and the uncompleted ones too with "RemoveUncompleted").
    // True when a removal pass ran. A busy file puts the pass off to the
    // next call; a failed read ends it, its error left in `failure` for the
    // tick to tell.
    bool removeHistory(FireContext& context, store::ErrorState* failure = nullptr);
    Date lastRun() const { return lastRun_; }

private:
    Date lastRun_ = 0;
};

}  // namespace plorix::scheduler
