// Fills a data folder for the exchange benchmarks (bench/run-exchange):
// tasks with script items and to-do items, in one batch of writes.
//
// Usage: bench_exchange_fill DIR TASKS ITEMS_PER_TASK TODOS

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/tables.h"

namespace {

using namespace plorix;

constexpr std::array<const char*, 8> kCategories = {"Home",    "Work",   "Backup", "Mail",
                                                    "Reports", "Garden", "Family", "Travel"};
constexpr std::array<const char*, 4> kTaskTypes = {"Display Message", "Run Program", "Both", "None"};
constexpr std::array<const char*, 3> kScheduleTypes = {"Once", "Day of Week", "Monthly"};

int fail(const store::Table& table, const char* what) {
    std::fprintf(stderr, "bench_exchange_fill: %s: %s\n", what, table.error().describe().c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: bench_exchange_fill DIR TASKS ITEMS_PER_TASK TODOS\n");
        return 2;
    }
    const int tasks = std::atoi(argv[2]);
    const int items = std::atoi(argv[3]);
    const int todos = std::atoi(argv[4]);
    SilentPrompter prompter;
    store::Table schedule(data::Schedule::schema());
    store::Table scripting(data::Scripting::schema());
    store::Table todo(data::Todo::schema());
    data::openTable(schedule, prompter);
    data::openTable(scripting, prompter);
    data::openTable(todo, prompter);
    if (schedule.stream() != 0) return fail(schedule, "batch");
    for (int i = 1; i <= tasks; ++i) {
        auto& t = schedule.rec<data::Schedule>();
        store::clearRecord(schedule.schema(), &t);
        t.ID = i;
        t.TASKTYPE = kTaskTypes[i % kTaskTypes.size()];
        t.CATEGORY = kCategories[i % kCategories.size()];
        t.DESCRIPTION = "Task number " + std::to_string(i);
        t.COMMAND = "/usr/bin/backup-tool --profile=" + std::to_string(i % 97);
        t.PATH = "/home/user/work";
        t.SCHEDULETYPE = kScheduleTypes[i % kScheduleTypes.size()];
        t.MONDAY = i % 2;
        t.FRIDAY = 1;
        t.EVERY = i % 30;
        t.EVERYTYPE = "days";
        t.DATE = 80000 + i % 3650;
        t.TIME = 1 + (i % 1440) * 6000;
        t.LASTRUNDATE = t.DATE - 7;
        t.LASTRUNTIME = t.TIME;
        t.ALARMFILE = "/usr/share/sounds/alarm.oga";
        t.SHIFTTYPE = "Next Valid Day";
        t.EXCEPTWEEKENDS = i % 3 == 0;
        t.EXCEPTTIMEBEGIN = 1 + 22 * 360000;
        t.EXCEPTTIMEEND = 1 + 6 * 360000;
        t.LASTCHANGEDATE = 80000 + i % 365;
        t.LASTCHANGETIME = 1 + (i % 86400) * 100;
        t.ORIGINALID = i;
        t.MESSAGE = "Reminder text of task " + std::to_string(i);
        if (schedule.add() != 0) return fail(schedule, "adding a task");
        for (int s = 1; s <= items; ++s) {
            auto& item = scripting.rec<data::Scripting>();
            store::clearRecord(scripting.schema(), &item);
            data::primeScriptItem(item, i);
            item.SEQUENCE = s;
            item.KEYSTROKES = "Hello{ENTER}item " + std::to_string(s);
            item.FOCUSONWINDOW = "Editor - notes.txt";
            if (scripting.add() != 0) return fail(scripting, "adding a script item");
        }
    }
    for (int i = 1; i <= todos; ++i) {
        auto& t = todo.rec<data::Todo>();
        store::clearRecord(todo.schema(), &t);
        t.PRIORITY = static_cast<std::uint8_t>(i % 5);
        t.CATEGORY = kCategories[i % kCategories.size()];
        t.TODO = "To-do item " + std::to_string(i);
        t.NOTES = "Notes of item " + std::to_string(i);
        if (todo.add() != 0) return fail(todo, "adding a to-do item");
    }
    if (schedule.flush() != 0) return fail(schedule, "writing the batch");
    return 0;
}
