#include "scheduler/moment.h"

namespace plorix::scheduler {

WideMoment carryForward(std::int64_t date, std::int64_t time) {
    if (time > kHundredthsPerDay) {
        const std::int64_t days = (time - 1) / kHundredthsPerDay;
        date += days;
        time -= days * kHundredthsPerDay;
    }
    return {date, time};
}

int compareMoments(Moment a, Moment b) {
    const WideMoment x = carryForward(a.date, a.time);
    const WideMoment y = carryForward(b.date, b.time);
    if (x.date != y.date) return x.date < y.date ? -1 : 1;
    if (x.time != y.time) return x.time < y.time ? -1 : 1;
    return 0;
}

}  // namespace plorix::scheduler
