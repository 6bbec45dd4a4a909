#pragma once
// Calendar date-times and the scheduler's local wall-clock moments.
//
// The scheduler keeps wall-clock times without a zone, so the schedule is
// written with floating times (no TZID): "09:00" stays 09:00 wherever the
// calendar is read, which is what a run at 09:00 means here. Times read in
// another zone, or in UTC, are converted to local time through the C
// library, which follows TZ.

#include <libical/ical.h>

#include <ctime>

#include "runtime/date_time.h"

namespace plorix::ical {

// Whether the value names a real day and time of day within the calendar
// the scheduler keeps (1801 to 9999); libical reads "T380000" as it stands.
bool isPlausible(icaltimetype value);
// The moment as a floating date-time, to the second.
icaltimetype floatingTime(Moment moment);
// The moment of a calendar value in local time. Floating times and dates
// are local already; a date counts as its midnight.
Moment localMoment(icaltimetype value);
// Whether the value, converted to local time, still shows the wall-clock
// time it was written with (always so for floating times and dates).
bool readsAsLocal(icaltimetype value);
// The instant of a local wall-clock moment.
std::time_t instantOf(Moment local);
// The local moment as a value in the zone `like` is written in, so that it
// can be compared with and iterated from values of that zone.
icaltimetype inZoneOf(Moment local, icaltimetype like);

}  // namespace plorix::ical
