#pragma once
// The runs of one calendar event (DTSTART, RRULE, RDATE, EXDATE), expanded
// by libical in the event's own zone and converted to local time.

#include <libical/ical.h>

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/date_time.h"

namespace plorix::ical {

struct EventTimes {
    icaltimetype start{};                   // in its own zone
    std::vector<icalrecurrencetype> rules;  // RRULE
    std::vector<icaltimetype> dates;        // RDATE
    std::vector<icaltimetype> excluded;     // EXDATE, and runs another event replaces
};

// The value of a date-time property with its TZID resolved against the
// calendar's VTIMEZONEs, then the system's zone database. `unknownZone`
// receives a TZID found in neither.
icaltimetype zonedValue(icaltimetype value, icalproperty* property, icalcomponent* calendar,
                        std::string& unknownZone);

// Reads the event's times; returns why it cannot be used ("it has no start",
// "its time zone 'X' is unknown"), empty when it can.
std::string readEventTimes(icalcomponent* event, icalcomponent* calendar, EventTimes& times);

// The event's runs from `from` to `to` (local time, both included), in time
// order, at most `limit` of them. The start always counts as a run, as
// the calendar format has it; excluded runs are left out when `withExcluded` is false.
std::vector<Moment> runsBetween(const EventTimes& times, Moment from, Moment to, std::size_t limit,
                                bool withExcluded = false);

// Whether the zone of `value` shows the same wall-clock time as local time
// on every day from `from` for `days` days.
bool zoneActsLocal(icaltimetype value, Date from, int days);

}  // namespace plorix::ical
