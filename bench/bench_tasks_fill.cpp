// Fills a data folder for bench/run-store's stations: COUNT tasks of every
// kind (bench_tasks.h), all due from DATE on.
// Usage: bench_tasks_fill DIR COUNT YYYY-MM-DD

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "bench_tasks.h"
#include "data/open_routine.h"
#include "runtime/prompter.h"

int main(int argc, char** argv) {
    using namespace plorix;
    int year = 0, month = 0, day = 0;
    if (argc != 4 || std::sscanf(argv[3], "%d-%d-%d", &year, &month, &day) != 3) {
        std::fprintf(stderr, "usage: bench_tasks_fill DIR COUNT YYYY-MM-DD\n");
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    const Moment start{makeDate(month, day, year), makeTime(0, 0)};
    SilentPrompter prompter;
    store::Table schedule(data::Schedule::schema());
    data::openTable(schedule, prompter);
    if (schedule.stream() != store::kNoError) return 1;
    for (int i = 0; i < std::atoi(argv[2]); ++i) {
        data::Schedule entry = bench::mixedTask(i, start);
        entry.DATE = start.date;
        schedule.rec<data::Schedule>() = entry;
        if (schedule.add() != store::kNoError) {
            std::fprintf(stderr, "bench_tasks_fill: %s\n", schedule.error().describe().c_str());
            return 1;
        }
    }
    return schedule.flush() == store::kNoError ? 0 : 1;
}
