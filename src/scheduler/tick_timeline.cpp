#include "scheduler/tick_timeline.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "scheduler/moment.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The wall moment as whole seconds counted as if the wall clock were UTC,
// and the hundredths beyond them.
struct WallSeconds {
    std::int64_t seconds = 0;
    int hundredths = 0;
};

WallSeconds wallSeconds(Moment wall) {
    const WideMoment carried = carryForward(wall.date, std::max<std::int64_t>(wall.time, kMidnight));
    const Date date =
        static_cast<Date>(std::clamp<std::int64_t>(carried.date, firstUsableDate(), lastUsableDate()));
    const std::int64_t sinceMidnight = carried.time - kMidnight;
    const CivilDate civil = civilFromDate(date);
    std::tm fields{};
    fields.tm_year = civil.year - 1900;
    fields.tm_mon = civil.month - 1;
    fields.tm_mday = civil.day;
    const std::int64_t seconds = sinceMidnight / 100;
    fields.tm_hour = static_cast<int>(seconds / 3600);
    fields.tm_min = static_cast<int>(seconds / 60 % 60);
    fields.tm_sec = static_cast<int>(seconds % 60);
    return {static_cast<std::int64_t>(timegm(&fields)), static_cast<int>(sinceMidnight % 100)};
}

// The zone's offset from UTC, in seconds, at a real instant.
std::int64_t offsetAt(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local)) return 0;
    return local.tm_gmtoff;
}

// What the wall clock reads at a real instant, as seconds counted as UTC.
std::int64_t wallAt(std::int64_t seconds) { return seconds + offsetAt(seconds); }

}  // namespace

WallInstants instantsOf(Moment wall) {
    const WallSeconds w = wallSeconds(wall);
    // The offsets in force a day either side cover one change of the clocks.
    const std::int64_t offsets[] = {offsetAt(w.seconds - kSecondsPerDay),
                                    offsetAt(w.seconds + kSecondsPerDay)};
    WallInstants found;
    std::int64_t candidates[2];
    for (std::int64_t offset : offsets) {
        const std::int64_t candidate = w.seconds - offset;
        if (offsetAt(candidate) != offset) continue;
        if (found.count == 1 && candidates[0] == candidate) continue;
        candidates[found.count++] = candidate;
    }
    if (found.count == 2 && candidates[1] < candidates[0]) std::swap(candidates[0], candidates[1]);
    if (found.count >= 1) found.first = candidates[0] * 100 + w.hundredths;
    if (found.count == 2) found.second = candidates[1] * 100 + w.hundredths;
    return found;
}

Instant dueInstant(Moment wall) {
    const WallInstants instants = instantsOf(wall);
    if (instants.count > 0) return instants.first;
    // Skipped by a change of the clocks: the first second at which the wall
    // clock reads past the moment. Before the change it read less, after it
    // more; the change lies between the two readings of the moment.
    const WallSeconds w = wallSeconds(wall);
    const std::int64_t before = offsetAt(w.seconds - kSecondsPerDay);
    const std::int64_t after = offsetAt(w.seconds + kSecondsPerDay);
    std::int64_t low = w.seconds - std::max(before, after);
    std::int64_t high = w.seconds - std::min(before, after);
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        if (wallAt(middle) >= w.seconds)
            high = middle;
        else
            low = middle + 1;
    }
    return low * 100;
}

void TickTimeline::observe(Moment wall, std::int64_t steadyHundredths) {
    const WallInstants instants = instantsOf(wall);
    Instant now = instants.count == 0 ? dueInstant(wall) : instants.first;
    if (instants.count == 2 && observed_) {
        // The pass nearer to where the steady count says the clock should be.
        const Instant expected = now_ + (steadyHundredths - steady_);
        if (std::llabs(instants.second - expected) < std::llabs(instants.first - expected))
            now = instants.second;
    }
    now_ = now;
    steady_ = steadyHundredths;
    observed_ = true;
}

std::int64_t TickTimeline::lateness(Moment due) const {
    return std::max<std::int64_t>(0, now_ - dueInstant(due));
}

}  // namespace plorix::scheduler
