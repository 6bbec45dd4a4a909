#include "scheduler/pattern.h"
#include "scheduler/recurrence.h"

namespace plorix::scheduler {

bool dateMatches(const data::Schedule& entry, Date date) {
    if (date == 0) date = entry.DATE;
    if (!isUsableDate(date)) return false;
    switch (scheduleTypeOf(entry.SCHEDULETYPE)) {
    case ScheduleType::DayOfWeek: return weekdayAllowed(entry, date);
    case ScheduleType::DayOfMonth: return dayOfMonthAllowed(entry, date);
    default: return true;
    }
}

}  // namespace plorix::scheduler
