#pragma once
// What a calendar file becomes: its events as "Display Message" tasks and
// its to-dos as to-do items, each item with its fate, before anything is
// written. Pure: no table, no clock, so it can be tried on any input.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/tables/schedule.h"
#include "data/tables/todo.h"
#include "runtime/date_time.h"

namespace plorix::ical {

// How far ahead an event that cannot keep its pattern is read as runs, and
// how many of them one event may bring.
inline constexpr int kRunDays = 366;
inline constexpr int kMostRunsPerEvent = 500;

enum class Fate { Pattern, Runs, Skipped, ToDo };

struct ItemFate {
    std::string name;  // the SUMMARY, or what stands in for it
    Fate fate = Fate::Skipped;
    std::string why;  // why the pattern could not be kept, or why skipped
    int runs = 0;     // one-off tasks made (Fate::Runs)
};

struct CalendarPlan {
    std::vector<data::Schedule> tasks;  // not yet numbered
    std::vector<data::Todo> todos;
    std::vector<ItemFate> fates;  // in file order
};

// The plan for the calendar text as seen at local moment `now`; nothing when
// the text holds no calendar at all.
std::optional<CalendarPlan> planCalendar(std::string_view text, Moment now);

// "Weekly meeting: imported as pattern (Day of Week)" and the like.
std::string describe(const ItemFate& fate);

}  // namespace plorix::ical
