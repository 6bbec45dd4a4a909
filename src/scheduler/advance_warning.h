#pragma once
// Advance warnings: a box shown a set time before a task's run, telling
// what the task will show or start.

#include <optional>
#include <string>
#include <string_view>

#include "data/tables/schedule.h"
#include "scheduler/fire_context.h"

namespace plorix::scheduler {

inline constexpr std::string_view kAdvancedWarning = "Advanced Warning";

// The text of the box: the run's date and time, then what the task does.
std::string advanceWarningText(const data::Schedule& entry);

// Shows the earliest warning whose moment has passed and marks it given, at
// most one per call. The entry is marked before the box is shown, with
// change detection, so that stations sharing the data file give each
// warning once. A history record is marked without a box: its run has
// happened. True when an entry was marked. A read or write that failed
// (a busy file included) leaves its error in `failure`; nothing is shown for
// it here, the tick tells the user.
bool checkAdvanceWarning(FireContext& context, store::ErrorState* failure = nullptr);

// The moment the next call of checkAdvanceWarning would look at: that of the
// earliest warning not yet given; none when there is none or it cannot be
// read.
std::optional<Moment> nextAdvanceWarning(FireContext& context);

}  // namespace plorix::scheduler
