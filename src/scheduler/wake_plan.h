#pragma once
// When an idle frame next has work to do. A tick that fired nothing, gave
// no warning, runs no script and watches neither the clipboard nor the
// windows leaves the moments it knows of in its FrameState; the frame can
// then sleep until the earliest of them instead of waking every second.

#include <optional>

#include "runtime/date_time.h"

namespace plorix::scheduler {

// The start of the minute after `now` (the status clock shows minutes;
// the daily history removal comes due at midnight, a minute's start too).
Moment nextMinute(Moment now);

// The earliest wall moment at which a tick has something to do: the next
// minute, the next run (due at its moment), the next advance warning (due
// once its moment has passed, so a hundredth after it). A moment already
// passed gives `now`.
Moment plannedWake(Moment now, const std::optional<Moment>& nextRun,
                   const std::optional<Moment>& nextWarning);

}  // namespace plorix::scheduler
