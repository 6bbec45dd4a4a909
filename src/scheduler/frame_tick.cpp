#include "scheduler/frame_tick.h"

#include "data/process_tables.h"
#include "data/tables.h"
#include "data/warnings.h"
#include "runtime/fixed_text.h"
#include "scheduler/advance_warning.h"
#include "scheduler/moment.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

// Clears a flag when the tick ends, however it ends.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& flag_;
};

}  // namespace

FrameTick::FrameTick(FireContext& context, TickHooks hooks) : context_(context), hooks_(std::move(hooks)) {
    state_.active = context.settings.StartUpActive;
    if (hooks_.watchSchedule) {
        scheduleWatch_.emplace(context.schedule);
        // Notes the rows as they stand: a change made before the first tick
        // is told by it.
        (void)scheduleWatch_->changed();
    }
}

// Once per tick, however many changes came between two ticks. Rows that
// could not be read (another station writing) are read on the next tick,
// which comes after the period instead of a sleep. A look that read a
// large schedule took a while: the next waits kLookPause times as long, so
// that a run of writes (an import, a receive) leaves the frame most of its
// time; the ticks meanwhile keep the period, so the look is not forgotten.
void FrameTick::lookForChanges(TickReport& report) {
    if (!scheduleWatch_) return;
    const std::int64_t start = context_.clock.steadyHundredths();
    if (start < nextLook_) {
        state_.steady = true;
        return;
    }
    const std::optional<bool> changed = scheduleWatch_->changed();
    nextLook_ = start + kLookPause * (context_.clock.steadyHundredths() - start);
    if (!changed) {
        report.busy = true;
        state_.steady = true;
        return;
    }
    report.scheduleChanged = *changed;
    if (report.scheduleChanged) browses_.notifyAll();
}

void FrameTick::setOneShotStatus(std::string_view text) { oneShot_ = cutToWidth(text, kOneShotWidth); }

bool FrameTick::scriptQueued() const { return context_.hooks.scriptQueued && context_.hooks.scriptQueued(); }

void FrameTick::notifyTray() {
    if (state_.trayShown && hooks_.trayChanged) hooks_.trayChanged(state_);
}

void FrameTick::note(const store::ErrorState& error, const store::Table& table, TickReport& report,
                     Access access) {
    switch (error.code) {
    case store::kNoError:
    case store::kRecordNotAvailable:
    case store::kRecordNotFound:
    case store::kRecordChanged: return;  // answers, not failures
    case store::kFileLocked: report.busy = true; return;
    default:
        if (!report.failure.ok()) return;
        report.failure = error;
        report.failedTable = table.name();
        report.failedWrite = access == Access::Write;
    }
}

// A failure is told once, not on every tick that meets it again; a tick
// without one makes the next failure worth telling.
void FrameTick::tell(const TickReport& report) {
    if (report.failure.ok()) {
        failureShown_ = false;
        return;
    }
    if (failureShown_) return;
    failureShown_ = true;
    data::setSavedError(report.failure);
    if (report.failedWrite)
        data::standardWarning(context_.prompter, data::Warning::ProcessPutError, "Put", report.failedTable);
    else
        data::standardWarning(context_.prompter, data::Warning::RecordRetrievalError, report.failedTable);
}

TickReport FrameTick::tick() {
    TickReport report;
    if (running_) return report;
    const Running running(running_);
    const store::LockWait briefly(context_.schedule, kTickLockWaitMs);
    report.ran = true;
    state_.scriptStepped = false;
    state_.steady = true;
    state_.nextRun.reset();
    state_.nextWarning.reset();
    timeline_.observe(context_.clock.current(), context_.clock.steadyHundredths());

    if (context_.settings.MonitorClipboard && hooks_.clipboardCheck)
        note(hooks_.clipboardCheck(), data::processTable<data::Clipboard>(), report);
    if (state_.active)
        active(report);
    else
        inactive();
    tell(report);
    lookForChanges(report);
    if (!trim(oneShot_).empty()) {
        state_.statusNext = oneShot_;
        oneShot_.clear();
    }
    updateTray();
    const Moment now = context_.clock.current();
    state_.statusDate = dateZone(now.date);
    state_.statusTime = timeZone(now.time);
    return report;
}

void FrameTick::active(TickReport& report) {
    scheduleCheck(report);
    store::ErrorState failure;
    report.warned = checkAdvanceWarning(context_, &failure);
    note(failure, context_.schedule, report);
    failure = {};
    if (history_.removeHistory(context_, &failure)) report.historyRemoved = true;
    note(failure, context_.schedule, report, Access::Write);
    if (scriptQueued()) {
        state_.scriptStepped = true;
        state_.timerPeriod = kScriptPeriod;
        if (hooks_.scriptStep) {
            if (std::optional<std::string> progress = hooks_.scriptStep()) state_.statusNext = *progress;
        }
        state_.toolbarMark = kScriptRunningMark;
        return;
    }
    state_.toolbarMark.clear();
    state_.timerPeriod = kActivePeriod;
    const settings::Settings& settings = context_.settings;
    state_.steady = report.fired || report.warned || report.historyRemoved || report.busy ||
                    !report.failure.ok() || (settings.MonitorClipboard && !state_.clipboardTold) ||
                    settings.monitorWindows;
    if (!state_.steady) state_.nextWarning = nextAdvanceWarning(context_);
}

void FrameTick::inactive() {
    state_.title = productTitle() + std::string(kInactiveSuffix);
    state_.statusNext = kInactiveStatus;
    state_.toolbarMark.clear();
    state_.timerPeriod = kInactivePeriod;
}

void FrameTick::scheduleCheck(TickReport& report) {
    store::Table& schedule = context_.schedule;
    const Schedule& next = schedule.rec<Schedule>();
    const int read = readFirst(schedule, data::keys::Schedule::KEYDATEENABLED);
    note(schedule.error(), schedule, report);
    // A busy file (another station, or a receive, writing) leaves the title
    // and status as they were: the next tick reads again.
    if (read == store::kFileLocked) return;
    if (read != store::kNoError || next.DISABLED) {
        state_.title = productTitle();
        state_.statusNext.clear();
        return;
    }
    state_.title = state_.iconized ? iconizedTitle(next) : productTitle();
    if (!scriptQueued()) state_.statusNext = std::string(kNextPrefix) + next.DESCRIPTION.str();
    if (!context_.settings.NoTray) {
        // The tip of a hidden frame names the next task.
        std::string tip = cutToWidth(state_.title, kTrayTipWidth);
        if (tip != state_.trayTip) {
            state_.trayTip = std::move(tip);
            notifyTray();
        }
    }
    const Moment due{next.DATE, next.TIME};
    if (compareMoments(context_.clock.current(), due) >= 0) {
        report.fired = fire(context_, timeline_.lateness(due));
        note(report.fired->error, schedule, report, Access::Write);
        return;
    }
    state_.nextRun = due;
    if (context_.settings.monitorWindows && hooks_.windowMonitorPass) {
        note(hooks_.windowMonitorPass(), data::processTable<data::WindowLookup>(), report);
    }
}

void FrameTick::updateTray() {
    if (state_.frameIcon != state_.currentIcon && !state_.scriptStepped && state_.trayShown) {
        state_.currentIcon = state_.frameIcon;
        notifyTray();
    }
    if (state_.scriptStepped && state_.trayShown) {
        state_.animationStep = state_.animationStep % static_cast<int>(kAnimationIcons.size()) + 1;
        state_.currentIcon = kAnimationIcons[static_cast<std::size_t>(state_.animationStep - 1)];
        notifyTray();
    }
}

}  // namespace plorix::scheduler
