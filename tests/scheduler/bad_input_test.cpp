// Entries no form would write, as imports, synchronisation and old files
// can bring them: the tick must neither hang nor crash on them, and must
// not fire one of them over and over.

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "data/tables/holidays.h"
#include "fire_rig.h"
#include "scheduler/frame_tick.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

struct BadEntry {
    const char* name;
    Schedule entry;
};

Schedule base(std::string_view type = "Custom", std::string_view unit = "minute(s)", std::int32_t every = 1) {
    Schedule entry = makeEntry(type, makeDate(5, 6, 2024), makeTime(9, 0));
    entry.ID = 1;
    entry.EVERY = every;
    entry.EVERYTYPE = unit;
    entry.TASKTYPE = "Both";
    entry.DESCRIPTION = "A description that fills all forty chars";
    entry.COMMAND = "run.sh";
    return entry;
}

template <typename Change>
Schedule changed(Schedule entry, Change change) {
    change(entry);
    return entry;
}

std::vector<BadEntry> badEntries() {
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    std::vector<BadEntry> rows = {
        {"unknown schedule type", base("Fortnightly!", "")},
        {"unknown unit", base("Custom", "lightyears")},
        {"garbage task type", changed(base(), [](Schedule& e) { e.TASKTYPE = "\x01\x7f??"; })},
        {"garbage shift letter", changed(base("Day of Week"),
                                         [](Schedule& e) {
                                             e.SHIFTTYPE = "%%";
                                             e.EXCEPTWEEKDAYS = 1;
                                         })},
        {"reply path without address", changed(base(), [](Schedule& e) { e.PATH = "Reply to:"; })},
        {"date 0", changed(base(), [](Schedule& e) { e.DATE = 0; })},
        {"day number 9999", changed(base("Yearly"), [](Schedule& e) { e.DATE = 9999; })},
        {"last day of 9999", changed(base("Yearly"), [](Schedule& e) { e.DATE = makeDate(12, 31, 9999); })},
        {"negative date", changed(base(), [](Schedule& e) { e.DATE = -5; })},
        {"time 0", changed(base("Day of Week"), [](Schedule& e) { e.TIME = 0; })},
        {"time past the day", changed(base(), [](Schedule& e) { e.TIME = 3 * kHundredthsPerDay + 5; })},
        {"negative time", changed(base("Monthly"), [](Schedule& e) { e.TIME = -7000; })},
        {"every 0 minutes", base("Custom", "minute(s)", 0)},
        {"every -9 hours", base("Custom", "hour(s)", -9)},
        {"every largest minutes", base("Custom", "minute(s)", kLargest)},
        {"every largest hours", base("Custom", "hour(s)", kLargest)},
        {"every largest days", base("Custom", "day(s)", kLargest)},
        {"every largest weeks", base("Custom", "week(s)", kLargest)},
        {"every largest months", base("Custom", "month(s)", kLargest)},
        {"every largest years", base("Custom", "year(s)", kLargest)},
        {"time window over the whole day", changed(base(),
                                                   [](Schedule& e) {
                                                       e.EXCEPTTIME = 1;
                                                       e.EXCEPTTIMEBEGIN = 1;
                                                       e.EXCEPTTIMEEND = kHundredthsPerDay;
                                                   })},
        {"time window with garbage bounds", changed(base("Day of Week"),
                                                    [](Schedule& e) {
                                                        e.EXCEPTTIME = 1;
                                                        e.EXCEPTTIMEBEGIN = -4;
                                                        e.EXCEPTTIMEEND = kLargest;
                                                    })},
        {"every day a holiday, moved forward", changed(base("Day of Week"),
                                                       [](Schedule& e) {
                                                           e.EXCEPTHOLIDAYS = 1;
                                                           e.SHIFTTYPE = "Next Day";
                                                       })},
        {"every day a holiday, moved back", changed(base("Day of Month"),
                                                    [](Schedule& e) {
                                                        e.EXCEPTHOLIDAYS = 1;
                                                        e.EXCEPTWEEKENDS = 1;
                                                        e.SHIFTTYPE = "Previous Day";
                                                    })},
        {"weekdays and weekends excepted", changed(base(),
                                                   [](Schedule& e) {
                                                       e.EXCEPTWEEKDAYS = 1;
                                                       e.EXCEPTWEEKENDS = 1;
                                                       e.SHIFTTYPE = "N";
                                                   })},
        {"warning at garbage moments", changed(base(),
                                               [](Schedule& e) {
                                                   e.ADVANCEWARNDATE = -1;
                                                   e.ADVANCEWARNTIME = kLargest;
                                               })},
        {"link to itself", changed(base("Day of Week"),
                                   [](Schedule& e) {
                                       e.EXCEPTIONLINK = 1;
                                       e.EXCEPTWEEKDAYS = 1;
                                       e.SHIFTTYPE = "Next Day";
                                   })},
    };
    return rows;
}

class ImportedGarbage : public FireRig {
protected:
    // 10,000 annual holidays, one a day for 27 years back: every day of the
    // year is a holiday.
    void fillHolidays() {
        store::Table& holidays = data::processTable<data::Holidays>();
        const data::TableUse use(holidays, prompter);
        ASSERT_EQ(holidays.stream(), store::kNoError);
        for (Date day = ymd(2024, 5, 1) - 10000; day < ymd(2024, 5, 1); ++day) {
            auto& holiday = holidays.rec<data::Holidays>();
            holiday.HOLIDAYDATE = day;
            holiday.HOLIDAY = "Every day";
            holiday.ANNUAL = 1;
            ASSERT_EQ(holidays.add(), store::kNoError);
        }
        ASSERT_EQ(holidays.flush(), store::kNoError);
    }
};

TEST_F(ImportedGarbage, NoEntryHangsCrashesOrFiresOnEveryTick) {
    fillHolidays();
    for (const BadEntry& row : badEntries()) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(schedule().empty(), store::kNoError);
        add(row.entry);
        clock.set(at(2024, 5, 6, 9, 0));
        prompter.clear();
        FrameTick frame(context);
        int fires = 0;
        const auto started = std::chrono::steady_clock::now();
        for (int i = 0; i < 40; ++i) {
            const TickReport report = frame.tick();
            if (report.fired && report.fired->outcome == FireOutcome::Performed) ++fires;
            clock.advance(frame.state().timerPeriod);
        }
        // 50 seconds of ticks: a minute's repetition fires at most twice.
        EXPECT_LE(fires, 2);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
        EXPECT_LE(prompter.shown().size(), 2u);
        for (const auto& shown : prompter.shown())
            EXPECT_TRUE(shown.title == "Invalid Units" || shown.title == "Missed Task" ||
                        shown.title == "Advanced Warning")
                << shown.title;
    }
}

TEST_F(ImportedGarbage, LongDescriptionKeepsItsSkippedMarkWithinTheField) {
    Schedule entry = base();
    entry.USERSKIP = 1;
    add(entry);
    prompter.answerNext(kNo);
    fireEntry(1);
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history()[0].DESCRIPTION, "(Skipped) A description that fills all f");
}

TEST_F(ImportedGarbage, UnknownUnitIsReportedAndStillMovesOn) {
    add(base("Custom", "lightyears"));
    fireEntry(1);
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"Invalid Units"});
    EXPECT_EQ(read(1).DATE, ymd(2024, 5, 7));
}

TEST_F(ImportedGarbage, EveryDayAHolidayLeavesTheRunSkippedWithoutACopy) {
    fillHolidays();
    Schedule entry = base("Day of Week");
    entry.EXCEPTHOLIDAYS = 1;
    entry.SHIFTTYPE = "Next Day";
    add(entry);
    const FireResult result = fireEntry(1);
    EXPECT_EQ(result.copyId, 0);
    EXPECT_EQ(read(1).SKIPNEXTTIME, 1);
    EXPECT_EQ(read(1).DATE, ymd(2024, 5, 7));
}

}  // namespace
}  // namespace plorix::scheduler
