// The simulator: the same outcome whether it ticks through idle stretches
// or skips them, the events it reports, and the moments it reads and writes.

#include <gtest/gtest.h>

#include <filesystem>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "scheduler/simulate.h"
#include "schedule_builder.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace plorix::scheduler {

// For the failure messages.
std::ostream& operator<<(std::ostream& out, const SimulationEvent& event) {
    return out << isoMoment(event.when) << '\t' << event.kind << '\t' << event.detail;
}

namespace {

using namespace test;
using data::Schedule;

Schedule task(std::int32_t id, std::string_view description, std::string_view type, Moment due) {
    Schedule entry = makeEntry(type, due.date, due.time);
    entry.ID = id;
    entry.DESCRIPTION = description;
    entry.TASKTYPE = "Display Message";
    entry.MESSAGE = std::string("About ") + std::string(description);
    return entry;
}

// A day of tasks that touches every path the tick can take.
std::vector<Schedule> dayOfTasks() {
    Schedule daily = task(1, "Daily", "Custom", at(2024, 5, 6, 9, 0));
    daily.EVERY = 1;
    daily.EVERYTYPE = "day(s)";
    daily.TASKTYPE = "Both";
    daily.COMMAND = "daily.sh";
    daily.ADVANCEWARNDATE = ymd(2024, 5, 6);
    daily.ADVANCEWARNTIME = hm(8, 30);
    Schedule often = task(2, "Often", "Custom", at(2024, 5, 6, 7, 3));
    often.EVERY = 47;
    often.EVERYTYPE = "minute(s)";
    often.EXCEPTTIME = 1;
    often.EXCEPTTIMEBEGIN = hm(12, 0);
    often.EXCEPTTIMEEND = hm(23, 0);
    Schedule ask = task(3, "Ask", "Day of Week", at(2024, 5, 6, 11, 0));
    ask.MONDAY = ask.TUESDAY = 1;
    ask.USERSKIP = 1;
    ask.TASKTYPE = "Run Program";
    ask.COMMAND = "ask.sh";
    Schedule missed = task(4, "Missed", "Monthly", at(2024, 5, 1, 10, 0));
    missed.WARN = 1;
    missed.TASKTYPE = "Run Program";
    Schedule overdue = task(5, "Overdue", "Yearly", at(2024, 5, 5, 8, 0));
    overdue.SKIPIFMISSED = 1;
    Schedule passed = task(6, "Passed over", "Once", at(2024, 5, 6, 15, 0));
    passed.SKIPNEXTTIME = 1;
    Schedule history = task(7, "Old run", "Once", at(2024, 4, 20, 9, 0));
    history.DISABLED = history.COMPLETED = 1;
    Schedule reply = task(8, "Reply", "Once", at(2024, 5, 7, 1, 0));
    reply.PATH = "Reply to:/srv/team";
    return {daily, often, ask, missed, overdue, passed, history, reply};
}

class Simulator : public ::testing::Test {
protected:
    Simulator() : saved(settings::settings()) {
        settings::settings() = settings::Settings{};
        settings::settings().HistoryExpires = 7;
    }
    ~Simulator() override {
        settings::settings() = saved;
        resetTables();
    }
    static void resetTables() {
        data::resetProcessTables();
        data::resetUseCounts();
    }
    static void store(const std::vector<Schedule>& entries) {
        SilentPrompter prompter;
        data::TableUse use(data::processTable<Schedule>(), prompter);
        for (const Schedule& entry : entries) {
            use->rec<Schedule>() = entry;
            ASSERT_EQ(use->add(), store::kNoError);
        }
    }
    std::vector<SimulationEvent> run(SimulationOptions options) {
        std::vector<SimulationEvent> events;
        simulate(options, [&](const SimulationEvent& event) { events.push_back(event); });
        return events;
    }

    plorix::test::TempDir dir;
    settings::Settings saved;
};

TEST_F(Simulator, SkippingIdleStretchesGivesWhatTickingThroughThemGives) {
    SimulationOptions options{at(2024, 5, 6, 6, 0), at(2024, 5, 7, 2, 0), kYes, false};
    store(dayOfTasks());
    const std::vector<SimulationEvent> ticked = run(options);
    resetTables();

    plorix::test::TempDir other;
    store(dayOfTasks());
    options.skipIdle = true;
    const std::vector<SimulationEvent> skipped = run(options);
    EXPECT_EQ(skipped, ticked);
    EXPECT_GT(ticked.size(), 50u);
}

TEST_F(Simulator, ReportsEachKindOfEvent) {
    store(dayOfTasks());
    const auto events = run({at(2024, 5, 6, 6, 0), at(2024, 5, 6, 11, 30), kNo});
    auto has = [&](Moment when, std::string_view kind, std::string_view detail) {
        for (const SimulationEvent& event : events)
            if (event.when == when && event.kind == kind && event.detail == detail) return true;
        ADD_FAILURE() << "no event " << isoMoment(when) << ' ' << kind << ' ' << detail;
        return false;
    };
    const Moment start = at(2024, 5, 6, 6, 0);
    has(start, "fire", "4 Missed");
    has(start, "question", "Missed Task: Missed was not run.  Run it now? -> No");
    has(start, "log", "Missed task skipped: Missed");
    has(start, "history", "added 9 (Skipped) Missed");
    has(addHundredths(start, 125), "fire", "5 Overdue");
    has(addHundredths(start, 125), "log", "Overdue task skipped: Overdue");
    has(start, "history", "removed 7 Old run");
    has(start, "log", "History: Checked for tasks needing removal");
    has(addHundredths(at(2024, 5, 6, 8, 30), 125), "warning",
        "Advanced Warning: MAY 06,2024 9:00AM About Daily Command: daily.sh");
    has(at(2024, 5, 6, 9, 0), "fire", "1 Daily");
    has(at(2024, 5, 6, 9, 0), "message", "Daily: About Daily");
    // The reminder window's own log line, as the program would write it.
    has(at(2024, 5, 6, 9, 0), "log", "Message: Daily");
    has(at(2024, 5, 6, 9, 0), "run", "1 daily.sh");
    has(at(2024, 5, 6, 11, 0), "question", "Confirm Task: Ask is due to run.  Run it now? -> No");
}

TEST_F(Simulator, MomentsAreWrittenAndReadInOneForm) {
    EXPECT_EQ(isoMoment({ymd(2024, 2, 29), makeTime(7, 5, 9)}), "2024-02-29 07:05:09");
    EXPECT_EQ(isoMoment({ymd(2024, 2, 29), 0}), "2024-02-29 00:00:00");
    EXPECT_EQ(parseIsoMoment("2024-02-29"), (Moment{ymd(2024, 2, 29), kMidnight}));
    EXPECT_EQ(parseIsoMoment("2024-02-29T07:05"), (Moment{ymd(2024, 2, 29), hm(7, 5)}));
    EXPECT_EQ(parseIsoMoment("2024-02-29 07:05:09"), (Moment{ymd(2024, 2, 29), makeTime(7, 5, 9)}));
    for (const char* bad : {"", "2023-02-29", "2024-13-01", "2024-05-06T24:00", "2024-05-06T9", "tomorrow",
                            "2024-05-06T07:05:09x", "2024-05-06X07:05"})
        EXPECT_FALSE(parseIsoMoment(bad)) << bad;
}

}  // namespace
}  // namespace plorix::scheduler
