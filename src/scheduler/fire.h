#pragma once
// Firing a due schedule entry, and running one by hand.
//
// Firing first claims the run: the entry is advanced to its next run (or
// made its own history record, or deleted) and stored with change detection,
// before anything is shown or started. When several stations share the data
// file, the one whose write finds the entry changed meanwhile (code 89) has
// lost the run to another station and does nothing for it. Only then does
// the run sound its alarm, ask its questions, show its message and start its
// program, and leave its history record.

#include <cstdint>

#include "scheduler/fire_context.h"

namespace plorix::scheduler {

// A run more than this late is overdue (skipped when the entry says so).
inline constexpr std::int64_t kOverdueAfter = 10 * kHundredthsPerMinute;
// A run noticed within this time of coming due was caught by a running
// scheduler: crossing midnight on the way does not make it a missed run.
inline constexpr std::int64_t kNoticeTime = 5 * kHundredthsPerSecond;

inline constexpr std::string_view kSkippedPrefix = "(Skipped) ";

enum class FireOutcome {
    Performed,  // claimed, performed (or passed over), history kept
    Lost,       // another station claimed this run first: nothing was done
    Busy,       // another station is writing: nothing was done, the next tick tries again
    Failed,     // the entry could not be stored: nothing was done (FireResult::error says why)
};

struct FireResult {
    FireOutcome outcome = FireOutcome::Failed;
    bool skipped = false;        // overdue, or a question answered No
    bool passedOver = false;     // skip-next-time: nothing shown or started
    std::int32_t historyId = 0;  // the history record added, 0 for none
    std::int32_t copyId = 0;     // the one-off copy the exceptions added, 0 for none
    store::ErrorState error;     // why the run was Busy or Failed
};

// Fires the entry held in the schedule table's buffer, which must be the
// table's current record (as the schedule check reads it). `lateness` is how
// long the run has really been waiting (TickTimeline::lateness). Afterwards
// the buffer holds no particular record.
FireResult fire(FireContext& context, std::int64_t lateness);

// Runs the entry held in the buffer once, as the schedule browse's "Run Now"
// does: alarm, the missed and confirm questions, message and program. The
// entry is neither advanced nor stored and leaves no history.
void runNow(FireContext& context);

}  // namespace plorix::scheduler
