#pragma once
// The day patterns of "Day of Week" and "Day of Month" entries: which days
// an entry may run on. The advance step and the date check share these, so
// a day the check accepts is exactly a day the advance step can reach.

#include "data/tables/schedule.h"
#include "runtime/date_time.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {

// True when the entry's weekday flags allow the date; an entry without any
// weekday flag runs on every day of the week.
bool weekdayAllowed(const data::Schedule& entry, Date date);

// True when the day lies in one of the chosen weeks of its month (days 1-7,
// 8-14, 15-21, 22-28, or the last seven days); with no week chosen, every
// week counts.
bool weekOfMonthAllowed(const data::Schedule& entry, Date date);

bool isLastDayOfMonth(Date date);

// Whether a "Day of Month" entry may run on the date. With "Month End" set
// only a month's last day qualifies and the other flags are not consulted.
bool dayOfMonthAllowed(const data::Schedule& entry, Date date);

// The first day after `after` on which an entry of a day-pattern type may
// run; 0 when none exists before the end of the calendar.
Date firstAllowedDayAfter(const data::Schedule& entry, ScheduleType type, Date after);

}  // namespace plorix::scheduler
