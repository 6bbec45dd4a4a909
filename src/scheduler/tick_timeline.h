#pragma once
// Where moments of the local wall clock lie on the real timeline.
//
// Runs are stored as wall-clock moments, but how late a run is must be
// judged in real time: on the night the clocks go forward, a run at 02:30
// comes due at the instant of the change and is not an hour late; after the
// user sets the clock forward or the machine wakes from suspend, the real
// timeline has moved as far as the wall clock, and a run passed over is as
// late as it looks. The process's time zone (TZ) decides the conversion.

#include <cstdint>

#include "runtime/date_time.h"

namespace plorix::scheduler {

// Hundredths of a second since 1 January 1970, 00:00 UTC.
using Instant = std::int64_t;

// The instants at which the wall clock reads `wall`: none in the hour a clock
// change skips, two in the hour it repeats (earlier first). A time of 0 or
// below counts as midnight; dates outside the calendar are taken at its ends.
struct WallInstants {
    int count = 0;
    Instant first = 0;
    Instant second = 0;
};
WallInstants instantsOf(Moment wall);

// The instant at which a run due at `wall` comes due: the first instant at
// which the wall clock reads `wall` or later. In a repeated hour that is the
// first pass; for a moment the clock skips, the instant of the change.
Instant dueInstant(Moment wall);

// Follows the clock from tick to tick, so that the current wall moment can
// be placed on the real timeline even in the hour that repeats (the steady
// count tells which pass it is).
class TickTimeline {
public:
    // Called at the start of every tick.
    void observe(Moment wall, std::int64_t steadyHundredths);
    Instant now() const { return now_; }
    // How long a run due at `due` has really been waiting; 0 when not yet.
    std::int64_t lateness(Moment due) const;

private:
    bool observed_ = false;
    Instant now_ = 0;
    std::int64_t steady_ = 0;
};

}  // namespace plorix::scheduler
