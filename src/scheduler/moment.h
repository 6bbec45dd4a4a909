#pragma once
// Ordering of (date, time) moments as the scheduler sees them.

#include <cstdint>

#include "runtime/date_time.h"

namespace plorix::scheduler {

// A moment with room for values past the ends of the int32 fields.
struct WideMoment {
    std::int64_t date = 0;
    std::int64_t time = 0;
};

// Carries a time above a whole day into the following days. A time of zero
// or below stays on its own date: a run is never pulled into the day before.
WideMoment carryForward(std::int64_t date, std::int64_t time);

// -1, 0 or +1 as a lies before, at or after b, after carrying both.
int compareMoments(Moment a, Moment b);

}  // namespace plorix::scheduler
