#include "app/tick_driver.h"

#include "scheduler/frame_state.h"

namespace plorix::app {

TickDriver::TickDriver(SchedulerEngine& engine, std::function<void()> before,
                       std::function<void(const scheduler::TickReport&)> after, QObject* parent)
    : QObject(parent), engine_(engine), before_(std::move(before)), after_(std::move(after)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { tickNow(); });
}

void TickDriver::start() {
    scheduler::FrameState& state = engine_.state();
    state.timerPeriod = scheduler::openingPeriod(state.timerPeriod);
    restart(state.timerPeriod);
}

void TickDriver::tickNow() {
    if (before_) before_();
    const scheduler::TickReport report = engine_.tick();
    // A timer event that reaches a tick still showing its own box changes
    // nothing; the running tick restarts the timer when it ends.
    if (!report.ran) return;
    if (after_) after_(report);
    restart(engine_.state().timerPeriod);
}

void TickDriver::restart(int hundredths) { timer_.start(hundredths * 10); }

}  // namespace plorix::app
