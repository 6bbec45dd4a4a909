#pragma once
// Short ways to write the dates, times and entries the recurrence tests use.

#include <cctype>
#include <initializer_list>
#include <string>
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

inline data::Schedule custom(int every, std::string_view unit, Date date, Time time = makeTime(9, 0)) {
    data::Schedule entry = makeEntry("Custom", date, time);
    entry.EVERY = every;
    entry.EVERYTYPE = unit;
    return entry;
}

inline void setWeekdays(data::Schedule& entry, std::initializer_list<Weekday> days) {
    std::uint8_t* flags[] = {&entry.SUNDAY,   &entry.MONDAY, &entry.TUESDAY, &entry.WEDNESDAY,
                             &entry.THURSDAY, &entry.FRIDAY, &entry.SATURDAY};
    for (Weekday day : days) *flags[day] = 1;
}

// The entry with weekday flags and further flags set, for table rows.
inline data::Schedule with(data::Schedule entry, std::initializer_list<Weekday> days,
                           std::initializer_list<std::uint8_t data::Schedule::*> flags = {}) {
    setWeekdays(entry, days);
    for (auto flag : flags) entry.*flag = 1;
    return entry;
}

// A test name from a row's description.
inline std::string testName(std::string_view text) {
    std::string name(text);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

}  // namespace plorix::scheduler::test
