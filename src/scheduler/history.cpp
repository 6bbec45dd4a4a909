#include "scheduler/history.h"

#include <limits>
#include <vector>

#include "data/tables/scripting.h"
#include "log/event_log.h"
#include "store/transaction.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;
using data::Scripting;

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();

class FirstError {
public:
    void note(int code) {
        if (code_ == store::kNoError) code_ = code;
    }
    int code() const { return code_; }

private:
    int code_ = store::kNoError;
};

// Positions the Scripting table before the first item of the task.
void seekTask(store::Table& scripting, std::int32_t taskId) {
    static const int key = data::keys::Scripting::KEYID;
    Scripting& item = scripting.rec<Scripting>();
    store::clearRecord(scripting.schema(), &item);
    item.ID = taskId;
    item.SEQUENCE = kLowest;
    scripting.setAt(key);
}

// Positions the schedule table before the disabled entries of one value of
// SCH:DISABLED (any non-zero value disables), earliest date first.
void seekDisabled(store::Table& schedule, std::uint8_t disabled) {
    static const int key = data::keys::Schedule::KEYDATEENABLED;
    Schedule& entry = schedule.rec<Schedule>();
    store::clearRecord(schedule.schema(), &entry);
    entry.DISABLED = disabled;
    entry.DATE = kLowest;
    entry.TIME = kLowest;
    schedule.setAt(key);
}

void cannotRemove(Prompter& prompter, const store::Table& schedule) {
    prompter.message(kCannotRemoveHistory, schedule.error().text + " error while removing history",
                     Icon::Error, kOk, kOk);
}

}  // namespace

RunMoments runMoments(const Schedule& entry) {
    return {entry.DATE, entry.TIME, entry.ADVANCEWARNDATE, entry.ADVANCEWARNTIME};
}

void makeHistoryRecord(Schedule& entry, const RunMoments& run) {
    entry.DISABLED = 1;
    entry.COMPLETED = 1;
    entry.DATE = run.date;
    entry.TIME = run.time;
    entry.ADVANCEWARNDATE = run.warnDate;
    entry.ADVANCEWARNTIME = run.warnTime;
    // Without a warning moment the record stays out of the warning key.
    entry.ADVANCEWARNED = run.warnDate != 0 || run.warnTime != 0 ? 1 : 0;
}

bool isHistoryRecord(const Schedule& entry) { return entry.DISABLED && entry.COMPLETED; }

int deleteTaskScript(store::Table& scripting, std::int32_t taskId) {
    FirstError error;
    error.note(scripting.stream());
    seekTask(scripting, taskId);
    const Scripting& item = scripting.rec<Scripting>();
    int code;
    while ((code = scripting.next()) == store::kNoError && item.ID == taskId) {
        if (scripting.erase() != store::kNoError) error.note(scripting.errorCode());
    }
    if (code != store::kNoError && code != store::kRecordNotAvailable) error.note(code);
    error.note(scripting.flush());
    return error.code();
}

int copyTaskScript(store::Table& scripting, std::int32_t from, std::int32_t to) {
    FirstError error;
    std::vector<Scripting> items;
    seekTask(scripting, from);
    Scripting& item = scripting.rec<Scripting>();
    int code;
    while ((code = scripting.next()) == store::kNoError && item.ID == from) items.push_back(item);
    if (code != store::kNoError && code != store::kRecordNotAvailable) error.note(code);
    if (items.empty()) return error.code();
    error.note(scripting.stream());
    for (const Scripting& copy : items) {
        item = copy;
        item.ID = to;
        if (scripting.add() != store::kNoError) error.note(scripting.errorCode());
    }
    error.note(scripting.flush());
    return error.code();
}

bool HistoryRemoval::removeHistory(FireContext& context, store::ErrorState* failure) {
    const settings::Settings& settings = context.settings;
    // A negative age would remove runs that have not even happened yet.
    if (settings.HistoryExpires <= 0) return false;
    const Date today = context.clock.today();
    if (lastRun_ >= today) return false;

    store::Table& schedule = context.schedule;
    Schedule& entry = schedule.rec<Schedule>();
    store::Transaction batch(schedule);
    if (batch.error().code == store::kFileLocked) return false;  // another station writes: next tick
    lastRun_ = today;
    seekDisabled(schedule, 1);
    for (;;) {
        const int code = schedule.next();
        if (code == store::kRecordNotAvailable) break;
        if (code != store::kNoError) {
            if (failure) *failure = schedule.error();
            break;
        }
        if (!entry.DISABLED) break;
        if (std::int64_t{today} < std::int64_t{entry.DATE} + settings.HistoryExpires) {
            // Dates only grow from here on within this value of the flag:
            // everything after this record is kept too.
            if (entry.DISABLED == std::numeric_limits<std::uint8_t>::max()) break;
            seekDisabled(schedule, static_cast<std::uint8_t>(entry.DISABLED + 1));
            continue;
        }
        if (!entry.COMPLETED && !settings.RemoveUncompleted) continue;
        const Schedule record = entry;
        if (settings.SaveScripts) {
            if (context.hooks.deleteScript)
                context.hooks.deleteScript(record.ID);
            else
                deleteTaskScript(context.scripting, record.ID);
        }
        if (schedule.erase() != store::kNoError) {
            cannotRemove(context.prompter, schedule);
            continue;
        }
        if (context.hooks.historyRemoved) context.hooks.historyRemoved(record);
    }
    log::logEvent("Checked for tasks needing removal", "History");
    // Without the batch (the file was busy) each removal stood on its own.
    if (batch.ok() && batch.commit() != store::kNoError) cannotRemove(context.prompter, schedule);
    return true;
}

}  // namespace plorix::scheduler
