#include "platform/linux/wake_timer.h"

#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace plorix::platform {

WakeTimer::WakeTimer(std::function<void()> woke, std::function<void()> clockChanged)
    : woke_(std::move(woke)), clockChanged_(std::move(clockChanged)) {
    fd_ = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
}

WakeTimer::~WakeTimer() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

void WakeTimer::armAt(std::int64_t epochHundredths) {
    if (fd_ < 0) return;
    itimerspec alarm{};
    alarm.it_value.tv_sec = static_cast<time_t>(epochHundredths / 100);
    alarm.it_value.tv_nsec = static_cast<long>(epochHundredths % 100) * 10'000'000L;
    // A zero value would disarm: a moment at the epoch is long passed anyway.
    if (alarm.it_value.tv_sec <= 0) alarm.it_value = {0, 1};
    timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &alarm, nullptr);
}

void WakeTimer::disarm() {
    if (fd_ < 0) return;
    const itimerspec none{};
    timerfd_settime(fd_, 0, &none, nullptr);
}

void WakeTimer::clockWasSet() {
    // Cancelled, the timer reads ECANCELED until it is set again.
    disarm();
    clockChanged_();
}

void WakeTimer::readable() {
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
    if (got < 0 && errno == ECANCELED)
        clockWasSet();
    else if (got == sizeof expirations)
        woke_();
}

}  // namespace plorix::platform
