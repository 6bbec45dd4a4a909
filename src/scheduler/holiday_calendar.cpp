#include "scheduler/holiday_calendar.h"

#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {

void HolidaySet::add(Date date, bool annual) {
    if (!isUsableDate(date)) return;
    if (annual)
        annual_.set(dayKey(monthOf(date), dayOf(date)));
    else
        dates_.insert(date);
}

bool HolidaySet::isHoliday(Date date) const {
    if (!isUsableDate(date)) return false;
    return annual_.test(dayKey(monthOf(date), dayOf(date))) || dates_.count(date) != 0;
}

}  // namespace plorix::scheduler
