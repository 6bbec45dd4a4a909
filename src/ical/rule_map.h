#pragma once
// Recurrence rules (RRULE) and the scheduler's patterns, in both directions.
// Only what means exactly the same on both sides is mapped; everything else
// says why not, and the caller writes or reads the runs one by one instead.

#include <libical/ical.h>

#include <string>

#include "data/tables/schedule.h"

namespace plorix::ical {

// The RRULE an entry's pattern amounts to ("FREQ=WEEKLY;BYDAY=MO,TH"), empty
// for a one-time entry. `whyNot` is set, and the result meaningless, when no
// rule runs on exactly the entry's days: runs that carry into the next month,
// exceptions, shifts, holidays, a repetition without a unit.
std::string ruleOf(const data::Schedule& entry, std::string& whyNot);

// Sets the entry's pattern fields (type, weekday and week flags, Month End,
// count and unit) from a rule whose first run is on `start`. Returns an
// empty text when the rule maps exactly, otherwise why it does not; the
// entry is then left in an unspecified state.
std::string patternOf(const icalrecurrencetype& rule, Date start, data::Schedule& entry);

}  // namespace plorix::ical
