// The advance step beyond single cases: counts stored back, long gaps,
// the message for missing units, wall-clock days and the firing reference.

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

TEST(AdvanceCustom, CountBelowOneBecomesOneInTheBuffer) {
    for (int every : {0, -5, std::numeric_limits<std::int32_t>::min()}) {
        data::Schedule entry = custom(every, "day(s)", ymd(2024, 1, 1));
        advance(entry, {ymd(2024, 1, 1), 1});
        EXPECT_EQ(entry.EVERY, 1);
        EXPECT_EQ(entry.DATE, ymd(2024, 1, 2));
    }
}

TEST(AdvanceCustom, LargestMinuteCountStillFitsTheCalendar) {
    // 2^31 minutes are about 4,000 years.
    data::Schedule entry = custom(std::numeric_limits<std::int32_t>::max(), "minute(s)", ymd(2024, 1, 1));
    EXPECT_EQ(advance(entry, at(2024, 1, 1, 9, 0)), AdvanceResult::Advanced);
    EXPECT_GT(entry.DATE, ymd(6000, 1, 1));
}

TEST(AdvanceCustom, CenturiesBehindAreCountedNotStepped) {
    data::Schedule entry = custom(1, "minute(s)", ymd(1801, 1, 1), hm(0, 0));
    data::Schedule monthly = makeEntry("Monthly", ymd(1801, 1, 29));
    const auto start = std::chrono::steady_clock::now();
    advance(entry, at(9999, 12, 31, 12, 0));
    advance(monthly, {ymd(9999, 11, 30), 1});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_EQ(entry.DATE, ymd(9999, 12, 31));
    EXPECT_EQ(entry.TIME, hm(12, 1));
    EXPECT_EQ(monthly.DATE, ymd(9999, 12, 1));  // 29 February 1801 overflowed to 1 March
}

TEST(AdvanceCustom, MissingUnitMessage) {
    RecordingPrompter prompter;
    reportInvalidUnits(prompter);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Invalid Units");
    EXPECT_EQ(prompter.shown()[0].text, "Custom repetition is not set up properly.  Select units.");
    EXPECT_EQ(prompter.shown()[0].buttons, kOk);
}

// The scheduler counts local wall-clock days and hundredths; the clock's
// jumps do not exist for it. A run in the hour skipped in spring stays a run.
TEST(AdvanceWallClock, SkippedSpringHourIsAValidRun) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    data::Schedule entry = custom(30, "minute(s)", ymd(2024, 3, 31), hm(1, 30));
    for (Time expected : {hm(2, 0), hm(2, 30), hm(3, 0)}) {
        advance(entry, {entry.DATE, entry.TIME});
        EXPECT_EQ(entry.TIME, expected);
    }
    data::Schedule daily = custom(1, "day(s)", ymd(2024, 3, 30), hm(2, 30));
    advance(daily, {ymd(2024, 3, 30), hm(2, 30)});
    EXPECT_EQ(daily.DATE, ymd(2024, 3, 31));
    EXPECT_EQ(daily.TIME, hm(2, 30));

    // The hour repeated in autumn is one hour of the day, not two.
    data::Schedule hourly = custom(1, "hour(s)", ymd(2024, 10, 27), hm(1, 0));
    for (Time expected : {hm(2, 0), hm(3, 0)}) {
        advance(hourly, {hourly.DATE, hourly.TIME});
        EXPECT_EQ(hourly.TIME, expected);
    }
    unsetenv("TZ");
    tzset();
}

TEST(FireReference, MissedRunSkippedWhenMissedStartsFromTheDay) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 9));
    const Moment now = at(2024, 5, 10, 14, 0);
    EXPECT_EQ(fireReference(entry, now), now);
    entry.SKIPIFMISSED = 1;
    EXPECT_EQ(fireReference(entry, now), (Moment{ymd(2024, 5, 10), 0}));
    entry.DATE = ymd(2024, 5, 10);
    EXPECT_EQ(fireReference(entry, now), now);
}

}  // namespace
}  // namespace plorix::scheduler
