#pragma once
// Next run of a schedule entry.
//
// These work on a `Schedule` record buffer and change it in place; they
// neither read the clock nor touch a table. Dates and times are local
// wall-clock values throughout: a run at 02:30 on the night the clocks
// jump from 02:00 to 03:00 stays a run at 02:30 of that day.

#include "data/tables/schedule.h"
#include "runtime/date_time.h"
#include "runtime/prompter.h"
#include "scheduler/moment.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {

enum class AdvanceResult {
    Advanced,      // the next run lies after the reference (unchanged if it already did)
    Completed,     // a one-time entry has run: marked completed, date and time kept
    NoFurtherRun,  // the next run would fall after 31 December 9999: marked completed
    InvalidUnits,  // custom repetition without a known unit: moved past the reference
};

// Moves the entry's DATE/TIME to its next run after `reference`, by its
// schedule type. Date-based kinds keep TIME and stop at the first date after
// the reference date; minute and hour repetitions stop at the first moment
// after the reference moment. A custom count below 1 becomes 1 in the buffer.
// An unusable DATE (0, or outside the calendar) is read as the reference
// date. The caller shows reportInvalidUnits() for InvalidUnits.
AdvanceResult advance(data::Schedule& entry, Moment reference);

// The message for a custom repetition whose unit is not set.
void reportInvalidUnits(Prompter& prompter);

// The reference from which firing at `now` advances the entry: the start of
// today for a missed run that is skipped when missed, otherwise now.
Moment fireReference(const data::Schedule& entry, Moment now);

// Whether `date` (0: the entry's own DATE) is a day the entry's pattern can
// produce. Only "Day of Week" and "Day of Month" restrict days; a date outside
// the calendar never matches.
bool dateMatches(const data::Schedule& entry, Date date = 0);

}  // namespace plorix::scheduler
