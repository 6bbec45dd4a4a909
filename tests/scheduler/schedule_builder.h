#pragma once
// Short ways to write the dates, times and entries the recurrence tests use.

#include <initializer_list>
#include <string_view>

#include "data/tables/schedule.h"
#include "runtime/date_time.h"

namespace plorix::scheduler::test {

inline Date ymd(int year, int month, int day) { return makeDate(month, day, year); }
inline Time hm(int hours, int minutes) { return makeTime(hours, minutes); }
inline Moment at(int year, int month, int day, int hours, int minutes) {
    return {ymd(year, month, day), hm(hours, minutes)};
}

// Weekday numbers as day numbers give them.
enum Weekday { Sun, Mon, Tue, Wed, Thu, Fri, Sat };

inline data::Schedule makeEntry(std::string_view type, Date date, Time time = makeTime(9, 0)) {
    data::Schedule entry;
    entry.ID = 1;
    entry.SCHEDULETYPE = type;
    entry.DATE = date;
    entry.TIME = time;
    return entry;
}

inline data::Schedule custom(int every, std::string_view unit, Date date,
                             Time time = makeTime(9, 0)) {
    data::Schedule entry = makeEntry("Custom", date, time);
    entry.EVERY = every;
    entry.EVERYTYPE = unit;
    return entry;
}

template <typename Days = std::initializer_list<Weekday>>
void setWeekdays(data::Schedule& entry, const Days& days) {
    std::uint8_t* flags[] = {&entry.SUNDAY,   &entry.MONDAY, &entry.TUESDAY, &entry.WEDNESDAY,
                             &entry.THURSDAY, &entry.FRIDAY, &entry.SATURDAY};
    for (Weekday day : days) *flags[day] = 1;
}

}  // namespace plorix::scheduler::test
