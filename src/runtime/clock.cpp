#include "runtime/clock.h"

#include <ctime>

#include "runtime/installed_slot.h"

namespace plorix {

namespace {

std::tm localFields(std::int64_t realHundredths) {
    // Floor division: an instant before 1970 still has its own second.
    const std::int64_t seconds = realHundredths / 100 - (realHundredths % 100 < 0 ? 1 : 0);
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

}  // namespace

Moment wallClockAt(std::int64_t realHundredths) {
    const std::tm local = localFields(realHundredths);
    // A leap second (tm_sec 60) is folded into the last second of its minute.
    const int seconds = local.tm_sec > 59 ? 59 : local.tm_sec;
    const int hundredths = static_cast<int>((realHundredths % 100 + 100) % 100);
    return Moment{makeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
                  makeTime(local.tm_hour, local.tm_min, seconds, hundredths)};
}

std::string zoneNameAt(std::int64_t realHundredths) {
    const std::tm local = localFields(realHundredths);
    return local.tm_zone ? local.tm_zone : "";
}

Moment SystemClock::current() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return wallClockAt(std::int64_t{now.tv_sec} * 100 + now.tv_nsec / 10'000'000);
}

Moment ZonedClock::current() const { return wallClockAt(real_); }

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
