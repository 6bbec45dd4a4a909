#include "app/tick_driver.h"

#include <QDateTime>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/resume_watch.h"
#include "app/server_watch.h"
#include "data/served_data.h"
#include "platform/linux/clipboard_watch.h"
#include "platform/linux/folder_watch.h"
#include "platform/linux/wake_timer.h"
#include "scheduler/frame_state.h"
#include "scheduler/tick_timeline.h"
#include "scheduler/wake_plan.h"

namespace plorix::app {
namespace {

// How long a burst of writes in the data folder is gathered, in milliseconds.
constexpr int kChangeGatherMs = 50;
// The trace's measure of the event loop: a timer of this period, and how
// much later than it a stall is.
constexpr int kLatenessPeriodMs = 20;
constexpr int kStallMs = 100;

}  // namespace

TickDriver::TickDriver(SchedulerEngine& engine, std::function<void()> before,
                       std::function<void(const scheduler::TickReport&)> after, QObject* parent)
    : QObject(parent), engine_(engine), before_(std::move(before)), after_(std::move(after)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { tickNow(); });
    changed_.setSingleShot(true);
    changed_.setInterval(kChangeGatherMs);
    connect(&changed_, &QTimer::timeout, this, [this] {
        cause_ = "change";
        tickNow();
    });
    // PLORIX_TICK_TRACE=1 prints a line for every tick on standard error,
    // for the idle benchmark, and one for every time the event loop stood
    // still for longer than kStallMs (how long), for bench/run-unreachable.
    traced_ = std::getenv("PLORIX_TICK_TRACE") != nullptr;
    if (traced_) {
        lateness_.setInterval(kLatenessPeriodMs);
        connect(&lateness_, &QTimer::timeout, this,
                [this, last = QDateTime::currentMSecsSinceEpoch()]() mutable {
                    const qint64 now = QDateTime::currentMSecsSinceEpoch();
                    if (now - last > kLatenessPeriodMs + kStallMs)
                        std::fprintf(stderr, "plorix-stall %lld %lld\n", static_cast<long long>(now),
                                     static_cast<long long>(now - last - kLatenessPeriodMs));
                    last = now;
                });
        lateness_.start();
    }
}

TickDriver::~TickDriver() {
    if (wake_) engine_.queue().onFilled({});
}

void TickDriver::start() {
    scheduler::FrameState& state = engine_.state();
    state.timerPeriod = scheduler::openingPeriod(state.timerPeriod);
    restart(state.timerPeriod);
}

void TickDriver::stop() {
    timer_.stop();
    changed_.stop();
    if (wake_) wake_->disarm();
    sleeping_ = false;
}

void TickDriver::sleepWhenIdle(const QString& dataFolder) {
    if (std::getenv("PLORIX_FIXED_TICK") != nullptr) return;
    if (dynamic_cast<const SystemClock*>(&engine_.clock()) == nullptr) return;
    auto replan = [this] {
        cause_ = "clock";
        tickNow();
    };
    auto wake = std::make_unique<platform::WakeTimer>(
        [this] {
            cause_ = "wake";
            tickNow();
        },
        replan);
    if (!wake->usable()) return;
    wake_ = std::move(wake);
    resume_ = std::make_unique<ResumeWatch>(replan);
    watch_ = std::make_unique<platform::FolderWatch>(dataFolder, [this] { wakeSoon(); });
    if (const auto server = data::dataFileServer())
        server_ = std::make_unique<ServerWatch>(*server, [this] { wakeSoon(); });
    engine_.queue().onFilled([this] { wakeSoon(); });
    auto clipboard = std::make_unique<platform::ClipboardWatch>([this] {
        engine_.clipboardTaken();
        wakeSoon();
    });
    if (!clipboard->usable()) return;
    clipboard_ = std::move(clipboard);
    engine_.state().clipboardTold = true;
    // Told only of copies from now on: what the clipboard holds already is
    // read by the first tick.
    engine_.clipboardTaken();
}

void TickDriver::wakeSoon() {
    if (sleeping_ && !changed_.isActive()) changed_.start();
}

void TickDriver::tickNow() {
    if (before_) before_();
    const scheduler::TickReport report = engine_.tick();
    trace(cause_, report.ran ? &report : nullptr);
    cause_ = "timer";
    // A timer event that reaches a tick still showing its own box changes
    // nothing; the running tick restarts the timer when it ends.
    if (!report.ran) return;
    if (after_) after_(report);
    const scheduler::FrameState& state = engine_.state();
    if (wake_ && !state.steady)
        plan();
    else
        restart(state.timerPeriod);
}

void TickDriver::restart(int hundredths) {
    if (wake_) wake_->disarm();
    sleeping_ = false;
    timer_.start(hundredths * 10);
}

void TickDriver::plan() {
    const scheduler::FrameState& state = engine_.state();
    const Moment wake = scheduler::plannedWake(engine_.clock().current(), state.nextRun, state.nextWarning);
    const scheduler::Instant now = QDateTime::currentMSecsSinceEpoch() / 10;
    scheduler::Instant at = scheduler::dueInstant(wake);
    // A planned moment lies ahead on the wall clock; one that lies behind on
    // the real timeline falls in the hour the clocks repeat, where the wall
    // clock reads it a second time: there the period stands in.
    if (at <= now) at = now + state.timerPeriod;
    if (!watch_->watching() || (server_ && !server_->listening()))
        at = std::min(at, now + kNetworkPollPeriod);
    timer_.stop();
    sleeping_ = true;
    wake_->armAt(at);
}

void TickDriver::trace(const char* cause, const scheduler::TickReport* report) const {
    if (!traced_) return;
    std::fprintf(stderr, "plorix-tick %lld %s%s\n",
                 static_cast<long long>(QDateTime::currentMSecsSinceEpoch()), cause,
                 report && report->fired ? " fired" : "");
}

}  // namespace plorix::app
