// Fills a data folder for bench/run-frame: TASKS reminders, one a minute
// from tomorrow on, and with --due one more reminder due now, titled
// "Bench first tick", which the frame's first tick fires.
// Usage: bench_frame_fill DIR TASKS [--due]

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/open_routine.h"
#include "data/tables.h"
#include "runtime/clock.h"

namespace {

using namespace plorix;

int fail(const store::Table& table, const char* what) {
    std::fprintf(stderr, "bench_frame_fill: %s: %s\n", what, table.error().describe().c_str());
    return 1;
}

void reminder(data::Schedule& t, std::int32_t id, const std::string& description, Moment when) {
    t.ID = id;
    t.TASKTYPE = "Display Message";
    t.CATEGORY = "Bench";
    t.SCHEDULETYPE = "Once";
    t.DESCRIPTION = description;
    t.MESSAGE = "Reminder text of " + description;
    t.DATE = when.date;
    t.TIME = when.time;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: bench_frame_fill DIR TASKS [--due]\n");
        return 2;
    }
    const int tasks = std::atoi(argv[2]);
    const bool due = argc > 3 && std::strcmp(argv[3], "--due") == 0;
    SilentPrompter prompter;
    store::Table schedule(data::Schedule::schema());
    data::openTable(schedule, prompter);
    const Moment now = SystemClock().current();
    if (schedule.stream() != 0) return fail(schedule, "batch");
    auto& t = schedule.rec<data::Schedule>();
    for (int i = 1; i <= tasks; ++i) {
        store::clearRecord(schedule.schema(), &t);
        const Moment when = normalise({now.date + 1, 1 + static_cast<Time>(i) * 6000});
        reminder(t, i, "Task number " + std::to_string(i), when);
        if (schedule.add() != 0) return fail(schedule, "adding a task");
    }
    if (due) {
        store::clearRecord(schedule.schema(), &t);
        reminder(t, tasks + 1, "Bench first tick", now);
        if (schedule.add() != 0) return fail(schedule, "adding the due task");
    }
    if (schedule.flush() != 0) return fail(schedule, "writing the batch");
    return 0;
}
