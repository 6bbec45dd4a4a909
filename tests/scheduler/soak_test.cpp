// A month of the scheduler on the virtual clock: 200 tasks of every kind,
// each run happening exactly once, at its moment, with its history record
// and its advance warning, as the forecast says.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "scheduler/forecast.h"
#include "scheduler/moment.h"
#include "scheduler/simulate.h"
#include "schedule_builder.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

constexpr int kTasks = 200;
constexpr int kDays = 30;
constexpr std::int64_t kWarningLead = 30 * kHundredthsPerMinute;

// Task `i` of a mix that covers every schedule type, custom unit, shift and
// exception, with runs spread over the day so that few share a moment.
Schedule soakTask(int i, Moment from, std::mt19937& random) {
    static const char* const kTypes[] = {"Once",    "Day of Week", "Day of Month",
                                         "Monthly", "Yearly",      "Custom"};
    static const char* const kUnits[] = {"minute(s)", "hour(s)", "day(s)", "week(s)", "month(s)", "year(s)"};
    static const char* const kTaskTypes[] = {"Display Message", "Run Program", "Both"};
    static const char* const kShifts[] = {"Next Day", "Previous Day", "Skip (to Next Valid Day)"};
    Schedule entry;
    entry.ID = i + 1;
    entry.DESCRIPTION = "Task " + std::to_string(i + 1);
    entry.TASKTYPE = kTaskTypes[i % 3];
    entry.MESSAGE = "Message of task " + std::to_string(i + 1);
    entry.COMMAND = "task" + std::to_string(i + 1) + ".sh";
    entry.SCHEDULETYPE = kTypes[i % 6];
    entry.DATE = from.date + static_cast<Date>(random() % 10);
    entry.TIME = makeTime(static_cast<int>(random() % 24), static_cast<int>(random() % 60),
                          static_cast<int>(random() % 60));
    entry.ALARM = i % 4 == 0;
    entry.ALARMFILE = "BEEP";
    std::uint8_t* weekdays[] = {&entry.SUNDAY,   &entry.MONDAY, &entry.TUESDAY, &entry.WEDNESDAY,
                                &entry.THURSDAY, &entry.FRIDAY, &entry.SATURDAY};
    for (std::uint8_t* day : weekdays) *day = random() % 3 == 0;
    std::uint8_t* ordinals[] = {&entry.EVERY1ST, &entry.EVERY2ND, &entry.EVERY3RD, &entry.EVERY4TH,
                                &entry.EVERYLAST};
    for (std::uint8_t* week : ordinals) *week = random() % 3 == 0;
    entry.EVERYTYPE = kUnits[(i / 6) % 6];
    // Minutes and hours often enough to matter, not so often that the month
    // is nothing but one task.
    entry.EVERY = entry.EVERYTYPE == "minute(s)" ? 240 + static_cast<int>(random() % 600)
                                                 : 1 + static_cast<int>(random() % 3);
    if (i % 5 == 1) {
        entry.EXCEPTWEEKENDS = 1;
        entry.SHIFTTYPE = kShifts[(i / 5) % 3];
    }
    if (i % 7 == 2) {
        entry.EXCEPTTIME = 1;
        entry.EXCEPTTIMEBEGIN = makeTime(22, 0);
        entry.EXCEPTTIMEEND = makeTime(6, 0);
    }
    if (i % 11 == 3) entry.SKIPNEXTTIME = 1;
    if (i % 9 == 4) {
        const Moment warning = addHundredths({entry.DATE, entry.TIME}, -kWarningLead);
        entry.ADVANCEWARNDATE = warning.date;
        entry.ADVANCEWARNTIME = warning.time;
    }
    return entry;
}

class Soak : public ::testing::Test {
protected:
    Soak() : saved(settings::settings()) { settings::settings() = settings::Settings{}; }
    ~Soak() override {
        settings::settings() = saved;
        data::resetProcessTables();
        data::resetUseCounts();
    }
    plorix::test::TempDir dir;
    settings::Settings saved;
};

TEST_F(Soak, AMonthOfEveryKindOfTaskRunsEachRunOnceAtItsMoment) {
    const Moment from = at(2024, 5, 1, 0, 0);
    const Moment to = addHundredths(from, std::int64_t{kDays} * kHundredthsPerDay - 1);
    std::mt19937 random(20240501);
    std::vector<Schedule> tasks;
    {
        SilentPrompter prompter;
        data::TableUse use(data::processTable<Schedule>(), prompter);
        ASSERT_EQ(use->stream(), store::kNoError);
        for (int i = 0; i < kTasks; ++i) {
            tasks.push_back(soakTask(i, from, random));
            use->rec<Schedule>() = tasks.back();
            ASSERT_EQ(use->add(), store::kNoError);
        }
        ASSERT_EQ(use->flush(), store::kNoError);
    }

    // What the forecast says: each task's runs (copies included) and warnings.
    std::map<std::string, std::multiset<Moment>> expectedRuns;
    std::size_t expectedWarnings = 0;
    const NoHolidays noHolidays;
    for (const Schedule& task : tasks) {
        for (const Occurrence& run : forecast(task, from, 2000, noHolidays)) {
            if (compareMoments(run.due, to) > 0) break;
            expectedRuns[task.DESCRIPTION.str()].insert(run.due);
            if (task.ADVANCEWARNDATE != 0 && !run.skipped && !run.oneOff) ++expectedWarnings;
        }
    }

    std::size_t warnings = 0;
    std::vector<SimulationEvent> unexpected;
    simulate({from, to}, [&](const SimulationEvent& event) {
        if (event.kind == "warning") ++warnings;
        if (event.kind == "question") unexpected.push_back(event);
    });
    EXPECT_TRUE(unexpected.empty());

    std::map<std::string, std::multiset<Moment>> runs;
    SilentPrompter prompter;
    data::TableUse use(data::processTable<Schedule>(), prompter);
    use->setStart(-1);
    std::size_t total = 0;
    while (use->next() == store::kNoError) {
        const Schedule& record = use->rec<Schedule>();
        if (!record.DISABLED) continue;
        ++total;
        EXPECT_FALSE(record.DESCRIPTION.str().starts_with("(Skipped)")) << record.DESCRIPTION.str();
        runs[record.DESCRIPTION.str()].insert({record.DATE, record.TIME});
        // At its moment: on the first tick after it came due, or a few ticks
        // later when other tasks came due together with it.
        const std::int64_t late =
            hundredthsBetween({record.DATE, record.TIME}, {record.LASTRUNDATE, record.LASTRUNTIME});
        EXPECT_GE(late, 0) << record.DESCRIPTION.str();
        EXPECT_LT(late, 10 * kHundredthsPerSecond) << record.DESCRIPTION.str();
    }
    EXPECT_EQ(runs, expectedRuns);
    EXPECT_EQ(warnings, expectedWarnings);
    EXPECT_GT(total, 3000u);
    EXPECT_GT(expectedWarnings, 100u);
}

}  // namespace
}  // namespace plorix::scheduler
