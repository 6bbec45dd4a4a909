#include "runtime/clock.h"

#include <ctime>

#include "runtime/installed_slot.h"

namespace plorix {

Moment SystemClock::current() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    // A leap second (tm_sec 60) is folded into the last second of its minute.
    const int seconds = local.tm_sec > 59 ? 59 : local.tm_sec;
    return Moment{makeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
                  makeTime(local.tm_hour, local.tm_min, seconds,
                           static_cast<int>(now.tv_nsec / 10'000'000))};
}

std::int64_t SystemClock::steadyHundredths() const {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 100 + now.tv_nsec / 10'000'000;
}

void ManualClock::advance(std::int64_t hundredths) {
    wall_ = addHundredths(wall_, hundredths);
    steady_ += hundredths;
}

namespace {
InstalledSlot<Clock, SystemClock> installedClock;
}

Clock& processClock() { return installedClock.get(); }

void setProcessClock(Clock* clock) { installedClock.set(clock); }

}  // namespace plorix
