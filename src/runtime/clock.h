#pragma once
// The only way code below the windows learns the date and time. The
// system clock gives local wall-clock values; tests and simulations use a
// ManualClock they move themselves.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/date_time.h"

namespace plorix {

class Clock {
public:
    virtual ~Clock() = default;
    // Local date and time of day, read together so they never straddle midnight.
    virtual Moment current() const = 0;
    Date today() const { return current().date; }
    Time now() const { return current().time; }
    // A steadily increasing count of hundredths of a second that ignores
    // changes of the wall clock; used to time waits and intervals.
    virtual std::int64_t steadyHundredths() const = 0;
};

class SystemClock final : public Clock {
public:
    Moment current() const override;
    std::int64_t steadyHundredths() const override;
};

// A clock that only moves when told to. The steady count moves with every
// advance; set() jumps the wall clock without touching the steady count, as a
// user changing the system time would.
class ManualClock final : public Clock {
public:
    explicit ManualClock(Moment start = {}) : wall_(normalise(start)) {}
    Moment current() const override { return wall_; }
    std::int64_t steadyHundredths() const override { return steady_; }
    void set(Moment moment) { wall_ = normalise(moment); }
    void advance(std::int64_t hundredths);

private:
    Moment wall_;
    std::int64_t steady_ = 0;
};

// A clock for simulations that must behave as the system clock would: it
// walks real time (hundredths of a second since 1970, UTC) and reads the
// wall clock through the process's time zone exactly as SystemClock does,
// so daylight-saving changes skip and repeat hours as they do on the desk.
class ZonedClock final : public Clock {
public:
    explicit ZonedClock(std::int64_t realHundredths = 0) : real_(realHundredths) {}
    Moment current() const override;
    std::int64_t steadyHundredths() const override { return steady_; }
    std::int64_t real() const { return real_; }
    // Real time and the steady count move together.
    void advance(std::int64_t hundredths) {
        real_ += hundredths;
        steady_ += hundredths;
    }
    // The user sets the clock or the machine sleeps: real time moves (or is
    // said to), the steady count does not.
    void jump(std::int64_t hundredths) { real_ += hundredths; }

private:
    std::int64_t real_;
    std::int64_t steady_ = 0;
};

// The local wall clock at a real instant (hundredths since 1970, UTC), and
// the abbreviation of the zone's time in force then ("CET", "-02").
Moment wallClockAt(std::int64_t realHundredths);
std::string zoneNameAt(std::int64_t realHundredths);

// The process-wide clock used where no clock is handed down (the system
// clock unless a test installs another).
Clock& processClock();
void setProcessClock(Clock* clock);  // nullptr restores the system clock

}  // namespace plorix
