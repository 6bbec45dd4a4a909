#pragma once
// The coming runs of one schedule entry, computed as firing would compute
// them, without touching the clock or any table.

#include <vector>

#include "data/tables/schedule.h"
#include "runtime/date_time.h"
#include "scheduler/holiday_calendar.h"

namespace plorix::scheduler {

struct Occurrence {
    Moment due;
    bool skipped = false;  // skip-next-time passes over it: nothing is shown or run
    bool late = false;     // due before the moment looked from: fires as soon as the scheduler looks
    bool oneOff = false;   // a one-off copy made for a run moved off an excluded day
    // For a one-off copy: when the run whose firing creates it fires.
    Moment madeAt;
};

// The first `count` runs of `entry`, in due order: its stored run first,
// then each following one as firing computes it (advance from the run just
// fired, then the exceptions), together with the one-off copies that moving
// a run off an excluded day creates. A stored run before `from` is a missed
// run: it is listed as late and the next one is computed from `from`.
// Disabled and completed entries have none.
std::vector<Occurrence> forecast(const data::Schedule& entry, Moment from, int count,
                                 const HolidayCalendar& holidays);

}  // namespace plorix::scheduler
