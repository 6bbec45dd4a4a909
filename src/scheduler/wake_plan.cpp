#include "scheduler/wake_plan.h"

#include <algorithm>

#include "scheduler/moment.h"

namespace plorix::scheduler {
namespace {

constexpr Time kHundredthsPerMinute = 6000;

Moment narrow(WideMoment wide) { return {static_cast<Date>(wide.date), static_cast<Time>(wide.time)}; }

}  // namespace

Moment nextMinute(Moment now) {
    const WideMoment carried = carryForward(now.date, std::max<std::int64_t>(now.time, kMidnight));
    const std::int64_t sinceMidnight = carried.time - kMidnight;
    const std::int64_t next = (sinceMidnight / kHundredthsPerMinute + 1) * kHundredthsPerMinute;
    return narrow(carryForward(carried.date, next + kMidnight));
}

Moment plannedWake(Moment now, const std::optional<Moment>& nextRun,
                   const std::optional<Moment>& nextWarning) {
    Moment wake = nextMinute(now);
    if (nextRun && compareMoments(*nextRun, wake) < 0) wake = *nextRun;
    if (nextWarning) {
        const Moment after = narrow(carryForward(nextWarning->date, std::int64_t{nextWarning->time} + 1));
        if (compareMoments(after, wake) < 0) wake = after;
    }
    return compareMoments(wake, now) < 0 ? now : wake;
}

}  // namespace plorix::scheduler
