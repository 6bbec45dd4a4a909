// The coming runs of one entry, as firing would produce them.

#include <gtest/gtest.h>

#include <chrono>

#include "scheduler/forecast.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

const NoHolidays kNoHolidays;

data::Schedule weekendsMovedBack(data::Schedule entry) {
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = "Previous Day";
    return entry;
}

std::vector<Moment> dues(const std::vector<Occurrence>& runs) {
    std::vector<Moment> result;
    for (const Occurrence& run : runs) result.push_back(run.due);
    return result;
}

TEST(Forecast, NothingForDisabledCompletedOrNoCount) {
    data::Schedule entry = custom(1, "day(s)", ymd(2024, 5, 10));
    EXPECT_TRUE(forecast(entry, at(2024, 5, 1, 0, 0), 0, kNoHolidays).empty());
    entry.DISABLED = 1;
    EXPECT_TRUE(forecast(entry, at(2024, 5, 1, 0, 0), 5, kNoHolidays).empty());
    entry.DISABLED = 0;
    entry.COMPLETED = 1;
    EXPECT_TRUE(forecast(entry, at(2024, 5, 1, 0, 0), 5, kNoHolidays).empty());
}

TEST(Forecast, OnceRunsOnce) {
    const data::Schedule entry = makeEntry("Once", ymd(2024, 5, 10), hm(8, 15));
    const auto runs = forecast(entry, at(2024, 5, 1, 0, 0), 5, kNoHolidays);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].due, at(2024, 5, 10, 8, 15));
    EXPECT_FALSE(runs[0].late);
}

TEST(Forecast, StoredRunFirstThenThePattern) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 6), hm(7, 45));
    setWeekdays(entry, {Mon, Thu});
    const auto runs = forecast(entry, at(2024, 5, 1, 0, 0), 4, kNoHolidays);
    EXPECT_EQ(dues(runs), (std::vector<Moment>{at(2024, 5, 6, 7, 45), at(2024, 5, 9, 7, 45),
                                               at(2024, 5, 13, 7, 45), at(2024, 5, 16, 7, 45)}));
}

TEST(Forecast, MonthEndThroughTheYear) {
    data::Schedule entry = makeEntry("Day of Month", ymd(2024, 1, 31));
    entry.LASTDAYOFMONTH = 1;
    const auto runs = forecast(entry, at(2024, 1, 1, 0, 0), 12, kNoHolidays);
    ASSERT_EQ(runs.size(), 12u);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const int month = static_cast<int>(i) + 1;
        EXPECT_EQ(runs[i].due.date, ymd(2024, month, daysInMonth(month, 2024)));
    }
}

TEST(Forecast, MissedRunIsLateAndTheNextComesFromNow) {
    const data::Schedule entry = custom(1, "hour(s)", ymd(2024, 5, 9), hm(9, 0));
    const auto runs = forecast(entry, at(2024, 5, 10, 14, 10), 3, kNoHolidays);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_TRUE(runs[0].late);
    EXPECT_EQ(runs[0].due, at(2024, 5, 9, 9, 0));
    EXPECT_EQ(runs[1].due, at(2024, 5, 10, 15, 0));
    EXPECT_FALSE(runs[1].late);
    EXPECT_EQ(runs[2].due, at(2024, 5, 10, 16, 0));
}

TEST(Forecast, MissedRunSkippedWhenMissedRestartsFromTheDay) {
    data::Schedule entry = custom(1, "hour(s)", ymd(2024, 5, 9), hm(9, 0));
    entry.SKIPIFMISSED = 1;
    const auto runs = forecast(entry, at(2024, 5, 10, 14, 10), 3, kNoHolidays);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].due, at(2024, 5, 10, 0, 0));  // the day's first run, itself missed
    EXPECT_TRUE(runs[1].late);
    EXPECT_EQ(runs[2].due, at(2024, 5, 10, 15, 0));
}

TEST(Forecast, SkipNextTimeMarksOnlyTheStoredRun) {
    data::Schedule entry = custom(1, "day(s)", ymd(2024, 5, 10));
    entry.SKIPNEXTTIME = 1;
    const auto runs = forecast(entry, at(2024, 5, 1, 0, 0), 3, kNoHolidays);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_TRUE(runs[0].skipped);
    EXPECT_FALSE(runs[1].skipped);
    EXPECT_FALSE(runs[2].skipped);
}

TEST(Forecast, ExcludedWeekendRunsAreSkippedAndCopiedToMonday) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 10));  // Friday
    setWeekdays(entry, {Fri, Sat});
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = "Next Day";
    const auto runs = forecast(entry, at(2024, 5, 1, 0, 0), 4, kNoHolidays);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].due.date, ymd(2024, 5, 10));
    EXPECT_EQ(runs[1].due.date, ymd(2024, 5, 11));
    EXPECT_TRUE(runs[1].skipped);
    EXPECT_EQ(runs[2].due.date, ymd(2024, 5, 13));
    EXPECT_TRUE(runs[2].oneOff);
    EXPECT_FALSE(runs[2].skipped);
    EXPECT_EQ(runs[3].due.date, ymd(2024, 5, 17));
}

TEST(Forecast, CopiesMovedBackAreListedInDueOrder) {
    // Daily, weekends moved to the Friday before: Friday holds its own run
    // and the copies for Saturday and Sunday, all before the skipped days.
    const data::Schedule entry = weekendsMovedBack(custom(1, "day(s)", ymd(2024, 5, 10), hm(18, 0)));
    const auto runs = forecast(entry, at(2024, 5, 1, 0, 0), 5, kNoHolidays);
    ASSERT_EQ(runs.size(), 5u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(runs[i].due, at(2024, 5, 10, 18, 0)) << i;
    EXPECT_FALSE(runs[0].oneOff);
    EXPECT_TRUE(runs[1].oneOff && runs[2].oneOff);
    EXPECT_TRUE(runs[3].skipped);
    EXPECT_EQ(runs[3].due.date, ymd(2024, 5, 11));
    EXPECT_EQ(runs[4].due.date, ymd(2024, 5, 12));
}

TEST(Forecast, TimeWindowIsApplied) {
    // A window across midnight leaves its own beginning out.
    data::Schedule entry = custom(1, "hour(s)", ymd(2024, 5, 10), hm(21, 0));
    entry.EXCEPTTIME = 1;
    entry.EXCEPTTIMEBEGIN = hm(22, 0);
    entry.EXCEPTTIMEEND = hm(6, 0);
    const auto runs = forecast(entry, at(2024, 5, 10, 0, 0), 4, kNoHolidays);
    EXPECT_EQ(dues(runs), (std::vector<Moment>{at(2024, 5, 10, 21, 0), at(2024, 5, 10, 22, 0),
                                               at(2024, 5, 11, 6, 0), at(2024, 5, 11, 7, 0)}));
}

TEST(Forecast, HolidaysFromTheCalendar) {
    HolidaySet holidays;
    holidays.add(ymd(2000, 1, 1), true);
    data::Schedule entry = makeEntry("Yearly", ymd(2024, 1, 1));
    entry.EXCEPTHOLIDAYS = 1;
    entry.SHIFTTYPE = "Next Day";
    const auto runs = forecast(entry, at(2023, 6, 1, 0, 0), 3, holidays);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].due.date, ymd(2024, 1, 1));  // as stored
    EXPECT_EQ(runs[1].due.date, ymd(2025, 1, 1));
    EXPECT_TRUE(runs[1].skipped);
    EXPECT_EQ(runs[2].due.date, ymd(2025, 1, 2));
    EXPECT_TRUE(runs[2].oneOff);
}

TEST(Forecast, EndsWithTheCalendar) {
    const data::Schedule entry = makeEntry("Monthly", ymd(9999, 10, 15));
    const auto runs = forecast(entry, at(9999, 1, 1, 0, 0), 10, kNoHolidays);
    EXPECT_EQ(runs.size(), 3u);
}

TEST(Forecast, EveryDayExcludedStillAnswersQuickly) {
    HolidaySet holidays;
    for (Date date = ymd(2024, 1, 1); date <= ymd(2024, 12, 31); ++date) holidays.add(date, true);
    data::Schedule entry = custom(1, "minute(s)", ymd(2024, 5, 10), hm(0, 0));
    entry.EXCEPTHOLIDAYS = 1;
    entry.SHIFTTYPE = "Previous Day";
    const auto start = std::chrono::steady_clock::now();
    const auto runs = forecast(entry, at(2024, 5, 10, 0, 0), 20, holidays);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(runs.size(), 20u);
    for (std::size_t i = 1; i < runs.size(); ++i) EXPECT_TRUE(runs[i].skipped);
}

TEST(Forecast, MinuteStepsWithCopiesMovedBackByDaysSettle) {
    // Every 30 minutes, weekends moved back to Friday at the same time: the
    // answer has to wait for Sunday's copies, which land before Saturday's.
    const data::Schedule entry = weekendsMovedBack(custom(30, "minute(s)", ymd(2024, 5, 10), hm(23, 0)));
    const auto runs = forecast(entry, at(2024, 5, 10, 0, 0), 3, kNoHolidays);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].due, at(2024, 5, 10, 0, 0));  // Saturday's 00:00
    EXPECT_EQ(runs[1].due, at(2024, 5, 10, 0, 0));  // Sunday's 00:00
    EXPECT_EQ(runs[2].due, at(2024, 5, 10, 0, 30));
    for (const Occurrence& run : runs) EXPECT_TRUE(run.oneOff && !run.late);
}

}  // namespace
}  // namespace plorix::scheduler
