#include "scheduler/quick_start.h"

#include "scheduler/moment.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {

const std::array<QuickStartDelay, 6>& quickStartDelays() {
    static const std::array<QuickStartDelay, 6> delays{{
        {"5 minutes", 5 * kHundredthsPerMinute},
        {"10 minutes", 10 * kHundredthsPerMinute},
        {"30 minutes", 30 * kHundredthsPerMinute},
        {"1 hour", 60 * kHundredthsPerMinute},
        {"2 hours", 120 * kHundredthsPerMinute},
        {"3 hours", 180 * kHundredthsPerMinute},
    }};
    return delays;
}

data::Schedule quickStartCopy(const data::Schedule& entry, Moment now, std::int64_t delay) {
    data::Schedule copy = entry;
    const WideMoment due = carryForward(now.date, now.time + delay + kHundredthsPerSecond);
    copy.DATE = static_cast<Date>(due.date);
    copy.TIME = static_cast<Time>(due.time);
    copy.SCHEDULETYPE = textOf(ScheduleType::Once);
    copy.ADVANCEWARNDATE = 0;
    copy.ADVANCEWARNTIME = 0;
    copy.DISABLED = 0;
    copy.COMPLETED = 0;
    copy.SKIPPED = 0;
    // A task of its own, not the original's twin when stations exchange tasks.
    copy.ORIGINALID = 0;
    copy.EXCEPTIONLINK = 0;
    return copy;
}

}  // namespace plorix::scheduler
