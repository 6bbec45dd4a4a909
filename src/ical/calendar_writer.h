#pragma once
// The schedule as a calendar: each active entry one VEVENT with floating
// times. A pattern that a recurrence rule expresses exactly travels as that
// rule; any other is written as its runs of the coming year (RDATE).

#include <string>
#include <vector>

#include "data/tables/schedule.h"
#include "runtime/date_time.h"
#include "scheduler/holiday_calendar.h"

namespace plorix::ical {

struct ExportOutcome {
    int events = 0;
    std::vector<std::string> asRuns;      // "Name: why", entries written as their runs
    std::vector<std::string> notWritten;  // entries without a run in the coming year
};

// Disabled and completed entries (history among them) are passed over.
std::string calendarOf(const std::vector<data::Schedule>& entries, const scheduler::HolidayCalendar& holidays,
                       Moment now, ExportOutcome& outcome);

// The UID an entry is written under; the same for every export of it.
std::string uidOf(const data::Schedule& entry);

}  // namespace plorix::ical
