// Firing: claim the run, perform it, keep its history.

#include "scheduler/fire.h"

#include <optional>

#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/holidays.h"
#include "data/warnings.h"
#include "log/event_log.h"
#include "runtime/fixed_text.h"
#include "scheduler/exceptions.h"
#include "scheduler/history.h"
#include "scheduler/recurrence.h"
#include "scheduler/stored_holidays.h"
#include "scheduler/tick_timeline.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

// Beyond this many open reminder windows a message goes to a plain box.
constexpr int kMostReminderWindows = 60;
constexpr std::string_view kReplyTo = "Reply to:";
constexpr std::size_t kReplyAddressWidth = 240;  // characters 10 to 249 of the path

bool ask(Prompter& prompter, std::string_view title, const std::string& text) {
    return prompter.message(title, text, Icon::Question, kYes | kNo, kNo) == kYes;
}

// The missed and confirm questions. `scheduled` adds the overdue test and
// the log lines of a run the scheduler fired. True when the run is skipped.
bool skipRun(FireContext& context, const Schedule& run, std::int64_t lateness, bool scheduled) {
    const std::string description = run.DESCRIPTION.str();
    auto skip = [&](std::string_view label) {
        if (scheduled) log::logEvent(description, label);
        return true;
    };
    if (scheduled && lateness > kOverdueAfter && run.SKIPIFMISSED) return skip("Overdue task skipped");
    const bool missed = run.DATE < context.clock.today() && lateness > kNoticeTime;
    if (missed && run.WARN && !equalNoCase(run.TASKTYPE, kDisplayMessage)) {
        if (!ask(context.prompter, "Missed Task", description + " was not run.  Run it now?"))
            return skip("Missed task skipped");
    } else if (run.USERSKIP) {
        if (!ask(context.prompter, "Confirm Task", description + " is due to run.  Run it now?"))
            return skip("Task skipped");
    }
    return false;
}

// Hands the message to a reminder window, or to a plain box when too many
// are open already.
void deliverMessage(FireContext& context, const Schedule& run, bool scheduled) {
    const SchedulerHooks& hooks = context.hooks;
    const int open = hooks.openReminders ? hooks.openReminders() : 0;
    if (open >= kMostReminderWindows || !hooks.showReminder) {
        context.prompter.message(scheduled ? run.DESCRIPTION.str() : std::string(), run.MESSAGE.str(),
                                 Icon::Information, kOk, kOk);
        return;
    }
    ReminderHandOver handOver;
    handOver.title = run.DESCRIPTION.str();
    handOver.text = run.MESSAGE.str();
    if (run.ALARM) handOver.soundFile = run.ALARMFILE.str();
    const std::string_view path = run.PATH;
    if (scheduled && path.starts_with(kReplyTo)) {
        handOver.replyAddress = cutToWidth(path.substr(kReplyTo.size()), kReplyAddressWidth);
        hooks.showReminder(handOver, ReminderKind::WithReplyPath);
        return;
    }
    hooks.showReminder(handOver, ReminderKind::Message);
}

void startProgram(FireContext& context, const Schedule& run) {
    if (context.hooks.startProgram) context.hooks.startProgram(run.ID, run.COMMAND.str(), run.PATH.str());
}

// What a run does when it is not passed over. True when it was skipped.
bool perform(FireContext& context, const Schedule& run, std::int64_t lateness) {
    const settings::Settings& settings = context.settings;
    if (((showsMessage(run) && !settings.UseModalMessage) || settings.MaximizeOnRun) &&
        context.hooks.bringFrameBack)
        context.hooks.bringFrameBack();
    if (run.ALARM) platform::playAlarm(context.sound, run.ALARMFILE);
    const bool skipped = skipRun(context, run, lateness, true);
    if (skipped) return true;
    if (showsMessage(run)) deliverMessage(context, run, true);
    if (runsProgram(run)) startProgram(context, run);
    return false;
}

// The calendar an entry's exceptions consult: the Holidays table, opened for
// the moment, when the entry excepts holidays.
class FiringHolidays {
public:
    FiringHolidays(const Schedule& entry, Prompter& prompter, Date today) {
        if (!entry.EXCEPTHOLIDAYS) return;
        use_.emplace(data::processTable<data::Holidays>(), prompter);
        stored_.emplace(use_->table(), today);
    }
    const HolidayCalendar& calendar() const {
        if (stored_) return *stored_;
        return none_;
    }

private:
    std::optional<data::TableUse> use_;
    std::optional<StoredHolidays> stored_;
    NoHolidays none_;
};

struct Claim {
    FireOutcome outcome = FireOutcome::Failed;
    bool completed = false;  // a one-time entry: it became its own history, or was deleted
    Schedule stored;         // the entry as claimed
    std::int32_t copyId = 0;
    store::ErrorState error;
};

// The tick tells a failure to the user, once however often the run stays
// due; a busy file is no failure, the run is claimed on a later tick.
Claim lostOrFailed(Claim claim, FireContext& context) {
    claim.error = context.schedule.error();
    switch (claim.error.code) {
    case store::kRecordChanged: claim.outcome = FireOutcome::Lost; break;
    case store::kFileLocked: claim.outcome = FireOutcome::Busy; break;
    default: claim.outcome = FireOutcome::Failed; break;
    }
    return claim;
}

// Moves the entry in the buffer on past this run and stores it; the write's
// change detection decides whether this station has the run.
Claim claimRun(FireContext& context, const RunMoments& run, Moment now) {
    store::Table& schedule = context.schedule;
    Schedule& entry = schedule.rec<Schedule>();
    Claim claim;
    entry.LASTRUNDATE = now.date;
    entry.LASTRUNTIME = now.time;

    // The warning keeps its lead before the run.
    const bool warnDate = entry.ADVANCEWARNDATE != 0;
    const bool warnTime = entry.ADVANCEWARNTIME != 0;
    const std::int64_t dateLead = std::int64_t{entry.ADVANCEWARNDATE} - entry.DATE;
    const std::int64_t timeLead = std::int64_t{entry.ADVANCEWARNTIME} - entry.TIME;

    if (advance(entry, fireReference(entry, now)) == AdvanceResult::InvalidUnits)
        reportInvalidUnits(context.prompter);
    if (entry.COMPLETED) {
        claim.completed = true;
        if (entry.NOHISTORY) {
            if (schedule.erase() != store::kNoError) return lostOrFailed(claim, context);
        } else {
            makeHistoryRecord(entry, run);
            if (schedule.put() != store::kNoError) return lostOrFailed(claim, context);
        }
        claim.stored = entry;
        claim.outcome = FireOutcome::Performed;
        return claim;
    }

    entry.SKIPNEXTTIME = 0;
    if (warnDate || warnTime) {
        const std::int64_t date = warnDate ? entry.DATE + dateLead : entry.ADVANCEWARNDATE;
        const std::int64_t time = warnTime ? entry.TIME + timeLead : entry.ADVANCEWARNTIME;
        // A lead that crosses midnight lands on the neighbouring day rather
        // than on a time outside the day.
        const Moment warning = date != 0 ? normalise({static_cast<Date>(date), static_cast<Time>(time)})
                                         : Moment{0, static_cast<Time>(time)};
        entry.ADVANCEWARNDATE = warning.date;
        entry.ADVANCEWARNTIME = warning.time;
    }
    entry.ADVANCEWARNED = 0;

    const FiringHolidays holidays(entry, context.prompter, now.date);
    const ExceptionsApplied applied = applyExceptions(schedule, holidays.calendar(), false, context.prompter);
    if (!applied.stored) {
        if (applied.error != store::kNoError || schedule.put() != store::kNoError)
            return lostOrFailed(claim, context);
    }
    claim.copyId = applied.copyId;
    claim.stored = entry;
    claim.outcome = FireOutcome::Performed;
    return claim;
}

// Keeps the run's history record and settles the task's script items.
void keepHistory(FireContext& context, const Schedule& run, const RunMoments& moments, const Claim& claim,
                 FireResult& result) {
    const settings::Settings& settings = context.settings;
    if (claim.completed) {
        if (run.NOHISTORY || !settings.SaveScripts) deleteTaskScript(context.scripting, run.ID);
        if (!run.NOHISTORY && context.hooks.historyAdded) context.hooks.historyAdded(claim.stored);
        return;
    }
    if (run.NOHISTORY) return;
    Schedule history = claim.stored;
    makeHistoryRecord(history, moments);
    if (result.skipped) history.DESCRIPTION = std::string(kSkippedPrefix) + history.DESCRIPTION.str();
    result.historyId = data::addNumbered(context.schedule, context.prompter, [&history](void* record) {
        *static_cast<Schedule*>(record) = history;
    });
    if (result.historyId == 0) return;
    if (context.hooks.historyAdded) context.hooks.historyAdded(context.schedule.rec<Schedule>());
    if (settings.SaveScripts && result.historyId != run.ID)
        copyTaskScript(context.scripting, run.ID, result.historyId);
}

}  // namespace

FireResult fire(FireContext& context, std::int64_t lateness) {
    FireResult result;
    const Schedule run = context.schedule.rec<Schedule>();
    const RunMoments moments = runMoments(run);
    const Moment now = context.clock.current();

    const Claim claim = claimRun(context, moments, now);
    result.outcome = claim.outcome;
    result.copyId = claim.copyId;
    result.error = claim.error;
    if (claim.outcome != FireOutcome::Performed) return result;

    if (context.hooks.firing) context.hooks.firing(run);
    result.passedOver = run.SKIPNEXTTIME != 0;
    if (!result.passedOver) result.skipped = perform(context, run, lateness);
    keepHistory(context, run, moments, claim, result);
    return result;
}

void runNow(FireContext& context) {
    const Schedule run = context.schedule.rec<Schedule>();
    TickTimeline timeline;
    timeline.observe(context.clock.current(), context.clock.steadyHundredths());
    if (run.ALARM) platform::playAlarm(context.sound, run.ALARMFILE);
    if (skipRun(context, run, timeline.lateness({run.DATE, run.TIME}), false)) return;
    if (showsMessage(run)) deliverMessage(context, run, false);
    if (runsProgram(run) && !run.SKIPNEXTTIME) startProgram(context, run);
}

}  // namespace plorix::scheduler
