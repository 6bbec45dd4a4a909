#pragma once
// The benchmarks' records: tasks of every schedule type and custom unit, and
// the store benchmarks' rows.

#include <array>
#include <cstdint>
#include <string>

#include "data/tables.h"
#include "runtime/date_time.h"

namespace plorix::bench {

// Task `i`, due from `start` on (a day later for every step of i % 7), at
// times spread over the day.
inline data::Schedule mixedTask(int i, Moment start) {
    static const std::array<const char*, 6> kTypes{"Day of Week", "Day of Month", "Monthly",
                                                   "Yearly",      "Custom",       "Custom"};
    static const std::array<const char*, 6> kUnits{"minute(s)", "hour(s)",  "day(s)",
                                                   "week(s)",   "month(s)", "year(s)"};
    data::Schedule entry;
    entry.ID = i + 1;
    entry.DESCRIPTION = "Task " + std::to_string(i + 1);
    entry.TASKTYPE = i % 2 ? "Display Message" : "Run Program";
    entry.COMMAND = "task.sh";
    entry.MESSAGE = "Reminder " + std::to_string(i + 1);
    entry.SCHEDULETYPE = kTypes[static_cast<std::size_t>(i % 6)];
    entry.EVERYTYPE = kUnits[static_cast<std::size_t>((i / 6) % 6)];
    entry.EVERY = entry.EVERYTYPE == "minute(s)" ? 240 + i % 300 : 1 + i % 3;
    entry.DATE = start.date + i % 7;
    entry.TIME = makeTime(i % 24, (i * 7) % 60, (i * 13) % 60);
    std::uint8_t* days[] = {&entry.SUNDAY,   &entry.MONDAY, &entry.TUESDAY, &entry.WEDNESDAY,
                            &entry.THURSDAY, &entry.FRIDAY, &entry.SATURDAY};
    for (int d = 0; d < 7; ++d) *days[d] = (i + d) % 3 == 0;
    entry.EVERY2ND = i % 4 == 1;
    entry.EVERYLAST = i % 5 == 2;
    if (i % 5 == 0) {
        entry.EXCEPTWEEKENDS = 1;
        entry.SHIFTTYPE = i % 10 ? "Next Day" : "Previous Day";
    }
    if (i % 7 == 3) {
        entry.EXCEPTTIME = 1;
        entry.EXCEPTTIMEBEGIN = makeTime(22, 0);
        entry.EXCEPTTIMEEND = makeTime(6, 0);
    }
    return entry;
}

// Row `i` of the store benchmarks' 100,000 entries.
inline void fillRow(data::Schedule& r, int i) {
    static const char* const kCategories[] = {"Work", "Home", "Backup", "Reports", "Mail"};
    r.ID = i;
    r.TASKTYPE = "Run Program";
    r.CATEGORY = kCategories[i % 5];
    r.DESCRIPTION = "Task " + std::to_string(i);
    r.COMMAND = "/usr/bin/backup --all --target /srv/backup/" + std::to_string(i % 97);
    r.SCHEDULETYPE = "Day of Week";
    r.MONDAY = 1;
    r.DATE = 80000 + i % 365;
    r.TIME = (i * 37) % 8640000 + 1;
    r.DISABLED = i % 10 == 0;
    r.NETWORKUSER = "station";
    r.ORIGINALID = i;
    r.MESSAGE = "Reminder number " + std::to_string(i);
}

}  // namespace plorix::bench
