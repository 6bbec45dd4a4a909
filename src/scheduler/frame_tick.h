#pragma once
// The frame's timer tick: the scheduler's main loop. Each tick checks the
// clipboard, fires the first due task (at most one), gives at most one
// advance warning, removes expired history once a day, lets a queued script
// take one step, and leaves the frame's title, status zones, tray icon and
// next timer period in its FrameState.
//
//     FrameTick tick(context, hooks);
//     on every timer event: tick.tick(); copy tick.state() into the window;
//                           restart the timer with tick.state().timerPeriod.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "data/table_watch.h"
#include "scheduler/fire.h"
#include "scheduler/fire_context.h"
#include "scheduler/frame_state.h"
#include "scheduler/history.h"
#include "scheduler/tick_timeline.h"

namespace plorix::scheduler {

struct TickHooks {
    // One pass of the clipboard saver (while "MonitorClipboard" is on); the
    // error of a read that failed, code 0 when none did.
    std::function<store::ErrorState()> clipboardCheck;
    // One pass of the window monitor on a tick that fired nothing (while
    // window monitoring is on); as the clipboard check.
    std::function<store::ErrorState()> windowMonitorPass;
    // One call of the script stepper; the new progress text, if any.
    std::function<std::optional<std::string>()> scriptStep;
    // The tray icon or its tip changed while the tray icon is shown.
    std::function<void(const FrameState&)> trayChanged;
    // Each tick looks whether the schedule's rows changed, whoever changed
    // them, and tells the browses (TickReport::scheduleChanged). A look
    // after a write reads every row: the program's tick wants it, a
    // simulation, which writes on most ticks, does not.
    bool watchSchedule = false;
};

struct TickReport {
    bool ran = false;  // false when a box the tick opened is still showing
    std::optional<FireResult> fired;
    bool warned = false;
    bool historyRemoved = false;
    // The first read or write of the tick that failed (code 0 when none
    // did) and its table's name; the tick stopped that part of its work.
    store::ErrorState failure;
    std::string failedTable;
    bool failedWrite = false;  // the failure was a write, not a read
    // Another station held the file for longer than the tick waits: what
    // could not be done is tried again on the next tick, without a word.
    bool busy = false;
    // The schedule's rows differ from those the last tick saw, whoever
    // changed them (this tick's run, a window, a receive, another station):
    // the open schedule browses have been told.
    bool scheduleChanged = false;
};

// How long a tick waits for another station's lock before leaving the work
// to the next tick, in milliseconds.
inline constexpr int kTickLockWaitMs = 100;

class FrameTick {
public:
    // The scheduler starts active unless the settings say otherwise.
    explicit FrameTick(FireContext& context, TickHooks hooks = {});

    // One timer event. While a question or box opened by this tick is still
    // showing, a timer event that reaches the tick does nothing.
    TickReport tick();

    FrameState& state() { return state_; }
    const FrameState& state() const { return state_; }
    BrowseRegistry& browses() { return browses_; }
    // A text the next tick shows in status zone 2, once (20 characters).
    void setOneShotStatus(std::string_view text);
    bool running() const { return running_; }
    Date lastHistoryRemoval() const { return history_.lastRun(); }

private:
    void scheduleCheck(TickReport& report);
    void lookForChanges(TickReport& report);
    void active(TickReport& report);
    void inactive();
    void updateTray();
    bool scriptQueued() const;
    void notifyTray();
    enum class Access { Read, Write };
    void note(const store::ErrorState& error, const store::Table& table, TickReport& report,
              Access access = Access::Read);
    void tell(const TickReport& report);

    FireContext& context_;
    TickHooks hooks_;
    FrameState state_;
    BrowseRegistry browses_;
    std::optional<data::TableWatch> scheduleWatch_;
    static constexpr std::int64_t kLookPause = 10;
    std::int64_t nextLook_ = 0;  // steady hundredths
    HistoryRemoval history_;
    TickTimeline timeline_;
    std::string oneShot_;
    bool running_ = false;
    bool failureShown_ = false;  // until a tick goes through without one
};

}  // namespace plorix::scheduler
