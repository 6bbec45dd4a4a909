#pragma once
// Exceptions of a schedule entry: excluded weekends, weekdays or holidays,
// and an excluded time window. A run on an excluded day is skipped and, if
// the entry says so, replaced by a one-off copy on the nearest allowed day
// after or before it; a run inside the window is advanced out of it.

#include <cstdint>
#include <optional>

#include "store/store.h"
#include "data/tables/schedule.h"
#include "runtime/prompter.h"
#include "scheduler/holiday_calendar.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {

// What the exceptions did to an entry, before anything is stored.
struct ExceptionPlan {
    bool excepted = false;      // the run fell on an excluded day; SKIPNEXTTIME is now 1
    bool moved = false;         // the time window moved the run
    bool invalidUnits = false;  // moving met a custom repetition without a unit
    // The one-off run on the shifted day ("Once", not yet numbered).
    std::optional<data::Schedule> copy;
    bool changed() const { return excepted || moved; }
};

// Applies the exceptions to the buffer in place and says what follows. A
// "Once" entry has its exception fields cleared and is otherwise left alone.
// When no allowed day lies within 366 days of an excluded run, no copy is
// made: the run is skipped and the entry goes on with its pattern.
ExceptionPlan planExceptions(data::Schedule& entry, const HolidayCalendar& holidays);

// True when the entry's exceptions exclude the whole day.
bool isExcludedDay(const data::Schedule& entry, Date date, const HolidayCalendar& holidays);

// The nearest day not excluded, starting at `date` itself and moving one day
// at a time in the direction of `shift` for at most 366 days; 0 if none.
Date nearestAllowedDay(const data::Schedule& entry, Date date, ShiftKind shift,
                       const HolidayCalendar& holidays);

struct ExceptionsApplied {
    bool stored = false;      // the entry has been written; the caller need not store it
    std::int32_t copyId = 0;  // identifier of the one-off copy added, 0 if none
    int error = 0;            // the store's code of the first failed step
};

// The exception step on the table's current record buffer, which must hold
// the table's current record (as after reading or adding it). Stores the
// entry when the exceptions changed it, adds the one-off copy and links it
// from the entry's EXCEPTIONLINK; the copy is numbered like every new entry
// (a failing add offers Retry through `prompter`). With `replacePreviousCopy`
// a copy made earlier that has not run yet is deleted. Afterwards the buffer
// holds the entry again. The first store error ends the step and is
// returned; a missing custom unit is reported once through `prompter`.
ExceptionsApplied applyExceptions(store::Table& schedule, const HolidayCalendar& holidays,
                                  bool replacePreviousCopy, Prompter& prompter);

}  // namespace plorix::scheduler
