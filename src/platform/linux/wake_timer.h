#pragma once
// A one-shot wait until a moment of the real-time clock. Setting the clock
// ends the wait early with `clockChanged`, so the owner plans again from the
// new time instead of sleeping on.

#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>

namespace plorix::platform {

class WakeTimer final {
public:
    WakeTimer(std::function<void()> woke, std::function<void()> clockChanged);
    ~WakeTimer();
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    // False when the kernel offers no such timer.
    bool usable() const { return fd_ >= 0; }
    // Waits until `epochHundredths` (hundredths since 1970, UTC); a moment
    // already passed ends the wait at once.
    void armAt(std::int64_t epochHundredths);
    void disarm();
    // What a change of the real-time clock does: the wait ends and the
    // owner plans again. The kernel tells of it through the timer; a test,
    // which may not set the machine's clock, delivers it here.
    void clockWasSet();

private:
    void readable();

    std::function<void()> woke_;
    std::function<void()> clockChanged_;

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace plorix::platform
