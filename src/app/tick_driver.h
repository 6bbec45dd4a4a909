#pragma once
// The frame's timer: runs the scheduler's tick on every timer event and
// restarts itself with the period the tick leaves (hundredths of a second),
// so a busy scheduler wakes a little more than once a second and an
// inactive one every 2.5 seconds.
//
// Once told to sleep when idle, a tick that leaves nothing to poll for
// (no script, no monitor, nothing done) is followed by a sleep until the
// next minute, run or advance warning on the real-time clock; a write in
// the data folder, a change of the clock or a resume from suspend wakes it
// sooner. On a network folder, where writes from other machines go unseen,
// it sleeps at most kNetworkPollPeriod. With the tables on a server, other
// stations' commits are heard of through the server (ServerWatch); while
// that connection is lost it polls likewise. Where the X server tells of every
// new clipboard owner, the clipboard monitor no longer keeps the period: a
// copy wakes the sleep and the next tick reads it.

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/scheduler_engine.h"

namespace plorix::platform {
class WakeTimer;
class ClipboardWatch;
class FolderWatch;
}  // namespace plorix::platform

namespace plorix::app {

// Hundredths of a second.
inline constexpr int kNetworkPollPeriod = 500;

class ResumeWatch;
class ServerWatch;

class TickDriver final : public QObject {
public:
    // `before` runs ahead of every tick (the window tells the tick whether
    // it is iconized), `after` once it has run (the window shows its state).
    TickDriver(SchedulerEngine& engine, std::function<void()> before,
               std::function<void(const scheduler::TickReport&)> after, QObject* parent = nullptr);
    ~TickDriver() override;

    // Starts with the opening period.
    void start();
    void stop();
    // Lets idle ticks sleep as above, watching `dataFolder`. Only on the
    // system clock (a clock a test moves has no real-time moments), and not
    // when PLORIX_FIXED_TICK is set in the environment.
    void sleepWhenIdle(const QString& dataFolder);
    // Sleeping until a planned moment rather than waiting out a period.
    bool sleeping() const { return sleeping_; }
    // Milliseconds until the next tick as now set (the period's, not a sleep's).
    int interval() const { return timer_.interval(); }
    // A tick soon when asleep: something outside the data folder changed
    // what the tick would do (the settings, the frame's state).
    void wakeSoon();
    // One tick now, as a timer event would run it.
    void tickNow();
    // The timer of the sleep; null until sleepWhenIdle took it up.
    platform::WakeTimer* wakeTimer() { return wake_.get(); }

private:
    void restart(int hundredths);
    void plan();
    void trace(const char* cause, const scheduler::TickReport* report) const;

    SchedulerEngine& engine_;
    std::function<void()> before_;
    std::function<void(const scheduler::TickReport&)> after_;
    QTimer timer_;
    QTimer changed_;   // gathers a burst of writes into one tick
    QTimer lateness_;  // measures how late it runs, when traced
    std::unique_ptr<platform::WakeTimer> wake_;
    std::unique_ptr<platform::FolderWatch> watch_;
    std::unique_ptr<ServerWatch> server_;
    std::unique_ptr<ResumeWatch> resume_;
    std::unique_ptr<platform::ClipboardWatch> clipboard_;
    bool sleeping_ = false;
    bool traced_ = false;
    const char* cause_ = "timer";
};

}  // namespace plorix::app
