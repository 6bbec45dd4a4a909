#pragma once
// The frame's timer: runs the scheduler's tick on every timer event and
// restarts itself with the period the tick leaves (hundredths of a second),
// so an idle scheduler wakes a little more than once a second and an
// inactive one every 2.5 seconds.

#include <QObject>
#include <QTimer>
#include <functional>

#include "app/scheduler_engine.h"

namespace plorix::app {

class TickDriver final : public QObject {
public:
    // `before` runs ahead of every tick (the window tells the tick whether
    // it is iconized), `after` once it has run (the window shows its state).
    TickDriver(SchedulerEngine& engine, std::function<void()> before,
               std::function<void(const scheduler::TickReport&)> after, QObject* parent = nullptr);

    // Starts with the opening period.
    void start();
    void stop() { timer_.stop(); }
    // Milliseconds until the next tick as now set.
    int interval() const { return timer_.interval(); }
    // One tick now, as a timer event would run it.
    void tickNow();

private:
    void restart(int hundredths);

    SchedulerEngine& engine_;
    std::function<void()> before_;
    std::function<void(const scheduler::TickReport&)> after_;
    QTimer timer_;
};

}  // namespace plorix::app
