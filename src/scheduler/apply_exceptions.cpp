// Storing what the exception passes decided: the entry, its one-off copy and
// the link between them.

#include "scheduler/exceptions.h"

#include "data/numbering.h"
#include "scheduler/recurrence.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

// Reads the entry with this identifier and makes it the current record.
bool loadScheduleById(store::Table& schedule, std::int32_t id) {
    static const int key = data::keys::Schedule::KEYID;
    schedule.rec<Schedule>().ID = id;
    return schedule.get(key) == store::kNoError;
}

// A copy that has run is its own history record by now; only one still
// waiting to run is replaced.
bool isPendingCopy(const Schedule& record) {
    return scheduleTypeOf(record.SCHEDULETYPE) == ScheduleType::Once && !record.COMPLETED && !record.DISABLED;
}

}  // namespace

ExceptionsApplied applyExceptions(store::Table& schedule, const HolidayCalendar& holidays,
                                  bool replacePreviousCopy, Prompter& prompter) {
    ExceptionsApplied result;
    Schedule& entry = schedule.rec<Schedule>();
    const std::int32_t entryId = entry.ID;
    const std::int32_t previousCopy = entry.EXCEPTIONLINK;

    ExceptionPlan plan = planExceptions(entry, holidays);
    if (plan.invalidUnits) reportInvalidUnits(prompter);
    if (!plan.changed()) return result;

    auto failed = [&] {
        result.error = schedule.errorCode();
        return result;
    };
    if (schedule.put() != store::kNoError) return failed();
    result.stored = true;
    if (!plan.copy) return result;

    // The copy is added under the next free identifier like any new entry.
    result.copyId = data::addNumbered(
        schedule, prompter, [&plan](void* record) { *static_cast<Schedule*>(record) = *plan.copy; });
    if (result.copyId == 0) {
        const int error = schedule.errorCode();
        loadScheduleById(schedule, entryId);
        result.error = error;
        return result;
    }
    if (!loadScheduleById(schedule, entryId)) return failed();
    entry.EXCEPTIONLINK = result.copyId;
    if (schedule.put() != store::kNoError) return failed();

    if (replacePreviousCopy && previousCopy != 0 && previousCopy != entryId &&
        previousCopy != result.copyId) {
        if (loadScheduleById(schedule, previousCopy) && isPendingCopy(entry) &&
            schedule.erase() != store::kNoError)
            result.error = schedule.errorCode();
        // The caller goes on with the entry itself, not with the copy read here.
        if (!loadScheduleById(schedule, entryId) && result.error == 0) result.error = schedule.errorCode();
    }
    return result;
}

}  // namespace plorix::scheduler
