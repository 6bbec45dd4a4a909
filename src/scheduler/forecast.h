#pragma once
// The coming runs of one schedule entry, computed as firing would compute
// them, without touching the clock or any table.

#include <cstdint>
#include <optional>
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

// The firings of one entry in the order firing makes them, each with the
// run it performs and the one-off copy its exceptions add, if any. A stored
// run before `from` is a missed run: it fires at `from` and the next one is
// computed from there.
class Firings {
public:
    struct Step {
        Occurrence run;
        std::optional<Occurrence> copy;
        Moment firedAt;  // when the run fires: at once when it is already due
    };
    Firings(const data::Schedule& entry, Moment from, const HolidayCalendar& holidays);
    // Nullopt when no run follows (disabled, completed, or no further run).
    std::optional<Step> next();
    // No run or copy of a later step lies before this.
    Moment earliestLater() const;

private:
    data::Schedule next_;
    Moment from_;
    const HolidayCalendar& holidays_;
    bool ended_;
};

// The runs of one entry in due order (runs of equal moment in the order
// firing makes them), computed as they are asked for: memory stays that of
// the few runs a copy moved back can overtake.
class RunStream {
public:
    RunStream(const data::Schedule& entry, Moment from, const HolidayCalendar& holidays)
        : firings_(entry, from, holidays) {}
    std::optional<Occurrence> next();

private:
    struct Pending {
        Occurrence run;
        std::uint64_t order;
    };
    static bool later(const Pending& a, const Pending& b);
    void take(const Occurrence& run);
    Firings firings_;
    std::vector<Pending> heap_;  // earliest on top
    std::uint64_t made_ = 0;
    bool ended_ = false;
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
