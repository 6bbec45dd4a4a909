#include "scheduler/advance_warning.h"

#include "log/event_log.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"
#include "scheduler/history.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

std::string trimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string messageAndCommand(const Schedule& entry) {
    return trimLeft(clip(entry.MESSAGE) + "\r" + "Command: " + entry.COMMAND.str());
}

std::string whatItDoes(const Schedule& entry) {
    if (equalNoCase(entry.TASKTYPE, kDisplayMessage)) return entry.MESSAGE.str();
    if (equalNoCase(entry.TASKTYPE, kRunProgram)) return "Command:  " + entry.COMMAND.str();
    if (equalNoCase(entry.TASKTYPE, kBoth)) return messageAndCommand(entry);
    if (!trim(entry.COMMAND).empty()) return messageAndCommand(entry);
    return trim(entry.MESSAGE);
}

bool warningDue(const Schedule& entry, Moment now) {
    return entry.ADVANCEWARNDATE < now.date ||
           (entry.ADVANCEWARNDATE == now.date && entry.ADVANCEWARNTIME < now.time);
}

}  // namespace

std::string advanceWarningText(const Schedule& entry) {
    return formatDate(entry.DATE, "d3") + " " + formatTime(entry.TIME, "T3") + "\r" + whatItDoes(entry);
}

bool checkAdvanceWarning(FireContext& context, store::ErrorState* failure) {
    store::Table& schedule = context.schedule;
    auto failed = [&] {
        if (failure) *failure = schedule.error();
        return false;
    };
    const int read = readFirst(schedule, data::keys::Schedule::KEYADVANCED);
    if (read == store::kRecordNotAvailable) return false;
    if (read != store::kNoError) return failed();
    Schedule& entry = schedule.rec<Schedule>();
    if (entry.ADVANCEWARNED || trim(entry.SCHEDULETYPE).empty()) return false;
    if (!warningDue(entry, context.clock.current())) return false;

    const Schedule warned = entry;
    entry.ADVANCEWARNED = 1;
    if (schedule.put() != store::kNoError) {
        // Another station has given this warning.
        if (schedule.errorCode() == store::kRecordChanged) return false;
        return failed();
    }
    if (isHistoryRecord(warned) || warned.SKIPNEXTTIME) return true;
    log::logEvent(warned.DESCRIPTION.str(), kAdvancedWarning);
    context.prompter.message(kAdvancedWarning, advanceWarningText(warned), Icon::Information, kOk, kOk);
    return true;
}

std::optional<Moment> nextAdvanceWarning(FireContext& context) {
    store::Table& schedule = context.schedule;
    if (readFirst(schedule, data::keys::Schedule::KEYADVANCED) != store::kNoError) return std::nullopt;
    const Schedule& entry = schedule.rec<Schedule>();
    if (entry.ADVANCEWARNED || trim(entry.SCHEDULETYPE).empty()) return std::nullopt;
    return Moment{entry.ADVANCEWARNDATE, entry.ADVANCEWARNTIME};
}

}  // namespace plorix::scheduler
