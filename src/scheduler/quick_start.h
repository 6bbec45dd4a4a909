#pragma once
// "Quick Start": a one-off copy of a task that runs a short while from now.

#include <array>
#include <cstdint>
#include <string_view>

#include "data/tables/schedule.h"
#include "runtime/date_time.h"

namespace plorix::scheduler {

struct QuickStartDelay {
    std::string_view text;  // "5 minutes"
    std::int64_t hundredths;
};

// The choices of the pop-up menu, in order.
const std::array<QuickStartDelay, 6>& quickStartDelays();

// The copy of `entry` that runs once, `delay` after `now` and one second
// more (so it never falls on the minute the user is looking at), carried
// into the next day past midnight. The advance warning, the disabled,
// completed and skipped marks and the links to the original (its original
// identifier, its exception copy) are cleared; the caller numbers it.
data::Schedule quickStartCopy(const data::Schedule& entry, Moment now, std::int64_t delay);

}  // namespace plorix::scheduler
