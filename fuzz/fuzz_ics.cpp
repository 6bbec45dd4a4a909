// Calendar files of arbitrary bytes: reading must not fail, and what it
// plans must agree with the fates it reports.

#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "ical/calendar_plan.h"
#include "scheduler/schedule_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plorix;
    using fuzz::check;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Moment now{makeDate(1, 4, 2027), makeTime(12, 0)};
    const auto plan = ical::planCalendar(text, now);
    if (!plan) return 0;
    std::size_t tasks = 0;
    std::size_t todos = 0;
    for (const ical::ItemFate& fate : plan->fates) {
        check(fate.runs >= 0 && fate.runs <= ical::kMostRunsPerEvent);
        if (fate.fate == ical::Fate::Pattern || fate.fate == ical::Fate::Runs)
            tasks += static_cast<std::size_t>(fate.runs);
        if (fate.fate == ical::Fate::ToDo) ++todos;
        check(fate.fate == ical::Fate::Pattern || fate.fate == ical::Fate::ToDo || !fate.why.empty());
    }
    check(tasks == plan->tasks.size());
    check(todos == plan->todos.size());
    // Every task has a run the scheduler can hold, none in the past.
    for (const auto& task : plan->tasks) {
        check(scheduler::isUsableDate(task.DATE));
        check(task.TIME >= kMidnight && task.TIME <= kHundredthsPerDay);
        check(Moment{task.DATE, task.TIME} >= now);
    }
    return 0;
}
