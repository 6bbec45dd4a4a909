#pragma once
// Everything the scheduler runs on for as long as the program lives, with
// the frame or headless: the frame's tables, the loaded settings, the script
// queue and its stepper, firing and the tick, and the clipboard and window
// monitors. The front end (the frame's window, or the headless runner)
// supplies the prompter and shows what the tick asks it to show.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "data/open_routine.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "scheduler/clipboard_monitor.h"
#include "scheduler/fire_context.h"
#include "scheduler/frame_tick.h"
#include "scheduler/window_monitor.h"
#include "script/script_queue.h"
#include "script/stepper.h"

namespace plorix::app {

struct EngineFrontEnd {
    // Shows the reminder of a fired task.
    std::function<void(const scheduler::ReminderHandOver&, scheduler::ReminderKind)> showReminder;
    // Brings the frame out of the tray or its iconized state.
    std::function<void()> bringFrameBack;
    // The tray icon or its tip changed while the tray icon is shown.
    std::function<void(const scheduler::FrameState&)> trayChanged;
    // Waits while the rest of the program runs (the keystroke sender's
    // pacing); empty: the stepper sleeps.
    std::function<void(std::int64_t hundredths)> waitYielding;
    // A group of keystrokes has been typed.
    std::function<void(std::size_t pass)> onKeystrokePass;
    // The clipboard monitor added or removed entries.
    std::function<void()> clipboardChanged;
    // A run is about to be performed (optional).
    std::function<void(const data::Schedule& run)> firing;
    // The schedule changed since the last tick, whoever changed it; once
    // per tick however many changes came (optional).
    std::function<void()> scheduleChanged;
};

class SchedulerEngine {
public:
    // Opens the frame's tables and runs the settings' start-up (WIN.INI
    // values, "Version", every setting, the INI "Debug" box). A table that
    // cannot be opened throws FatalError.
    SchedulerEngine(const Clock& clock, Prompter& prompter, EngineFrontEnd frontEnd);
    ~SchedulerEngine();
    SchedulerEngine(const SchedulerEngine&) = delete;
    SchedulerEngine& operator=(const SchedulerEngine&) = delete;

    scheduler::TickReport tick();
    scheduler::FrameTick& frameTick() { return *tick_; }
    scheduler::FrameState& state() { return tick_->state(); }
    script::ScriptQueue& queue() { return queue_; }
    script::ScriptStepper& stepper() { return *stepper_; }
    const Clock& clock() const { return clock_; }
    Prompter& prompter() { return prompter_; }

    bool scriptRunning() const { return !queue_.empty(); }
    // "&Stop Running Script": empties the queue; the next tick clears the mark.
    void stopScript() { queue_.clear(); }

    // The program starter: opens a task's command in `folder` (telling the
    // user when nothing could be started) and, for a task (`id` not 0),
    // queues its script.
    void startProgram(std::int32_t id, std::string_view command, std::string_view folder);

    // "Run Now": performs `entry` once as firing would, without advancing
    // or storing it.
    void runNow(const data::Schedule& entry);

    // Another program took the clipboard: the next tick reads it.
    void clipboardTaken() { clipboard_->taken(); }

    // The scheduler's active state follows the settings again (after SETUP).
    void followSettings();

private:
    scheduler::SchedulerHooks schedulerHooks();
    scheduler::TickHooks tickHooks();

    const Clock& clock_;
    Prompter& prompter_;
    EngineFrontEnd frontEnd_;
    std::vector<data::TableUse> tables_;
    script::ScriptQueue queue_;
    std::unique_ptr<script::ScriptStepper> stepper_;
    std::unique_ptr<scheduler::FireContext> context_;
    std::unique_ptr<scheduler::FrameTick> tick_;
    std::unique_ptr<scheduler::ClipboardMonitor> clipboard_;
    std::unique_ptr<scheduler::WindowMonitor> windows_;
};

// The next phase of the tray animation, as a script's work advances it.
void advanceTrayAnimation(scheduler::FrameState& state);

}  // namespace plorix::app
