// The exception passes on the buffer: excluded days with their shifts, the
// time window, and both together.

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <vector>

#include "scheduler/exceptions.h"
#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

const NoHolidays kNoHolidays;

data::Schedule weekly(Date date, std::string_view shift) {
    data::Schedule entry = makeEntry("Day of Week", date);
    setWeekdays(entry, {Sat});
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = shift;
    entry.EXCEPTIONLINK = 77;
    return entry;
}

TEST(ExceptionsOnce, ClearsTheExceptionFieldsAndChangesNothingElse) {
    data::Schedule entry = makeEntry("Once", ymd(2024, 5, 11));  // a Saturday
    entry.EXCEPTWEEKENDS = entry.EXCEPTWEEKDAYS = entry.EXCEPTHOLIDAYS = entry.EXCEPTTIME = 1;
    entry.EXCEPTTIMEBEGIN = hm(1, 0);
    entry.EXCEPTTIMEEND = hm(2, 0);
    entry.EXCEPTOTHER = "other";
    entry.SHIFTTYPE = "Next Day";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_FALSE(plan.changed());
    EXPECT_FALSE(plan.copy);
    EXPECT_EQ(entry.EXCEPTWEEKENDS + entry.EXCEPTWEEKDAYS + entry.EXCEPTHOLIDAYS + entry.EXCEPTTIME, 0);
    EXPECT_EQ(entry.EXCEPTTIMEBEGIN, 0);
    EXPECT_EQ(entry.EXCEPTTIMEEND, 0);
    EXPECT_TRUE(entry.EXCEPTOTHER.empty());
    EXPECT_EQ(entry.SKIPNEXTTIME, 0);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
}

TEST(ExceptionsDays, ExcludedRunIsSkippedAndCopiedForTheShiftedDay) {
    data::Schedule entry = weekly(ymd(2024, 5, 11), "Next Day");
    entry.DESCRIPTION = "Back up";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.excepted);
    EXPECT_EQ(entry.SKIPNEXTTIME, 1);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));  // the entry keeps its excluded run, skipped
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 13));
    EXPECT_EQ(plan.copy->TIME, entry.TIME);
    EXPECT_EQ(plan.copy->SCHEDULETYPE, "Once");
    EXPECT_EQ(plan.copy->SKIPNEXTTIME, 0);
    EXPECT_EQ(plan.copy->EXCEPTIONLINK, 0);
    EXPECT_EQ(plan.copy->DESCRIPTION, "Back up");

    data::Schedule skipping = weekly(ymd(2024, 5, 11), "Next Day");
    skipping.SKIPNEXTTIME = 1;  // asked for before: the copy keeps the request
    EXPECT_EQ(planExceptions(skipping, kNoHolidays).copy->SKIPNEXTTIME, 1);
}

// One excluded-day case per row: the run, what excludes it, and the day of
// the copy (0: none). 11 May 2024 is a Saturday, 13 May a holiday below.
struct ShiftCase {
    const char* name;
    Date date;
    std::string_view shift;
    std::vector<std::uint8_t data::Schedule::*> excepts;
    bool excepted;
    Date copyDay;
};

class ExcludedDays : public testing::TestWithParam<ShiftCase> {};

TEST_P(ExcludedDays, SkipAndShift) {
    const ShiftCase& c = GetParam();
    HolidaySet holidays;
    holidays.add(ymd(2024, 5, 13), false);
    holidays.add(ymd(1990, 12, 25), true);
    data::Schedule entry = makeEntry("Day of Week", c.date);
    entry.SHIFTTYPE = c.shift;
    for (auto flag : c.excepts) entry.*flag = 1;
    const ExceptionPlan plan = planExceptions(entry, holidays);
    EXPECT_EQ(plan.excepted, c.excepted);
    EXPECT_EQ(entry.SKIPNEXTTIME, c.excepted ? 1 : 0);
    EXPECT_EQ(entry.DATE, c.date);
    EXPECT_EQ(plan.copy ? plan.copy->DATE : 0, c.copyDay);
}

using S = data::Schedule;
INSTANTIATE_TEST_SUITE_P(
    Shifts, ExcludedDays,
    testing::Values(
        ShiftCase{"allowed day", ymd(2024, 5, 10), "Next Day", {&S::EXCEPTWEEKENDS}, false, 0},
        ShiftCase{"Saturday back to Friday",
                  ymd(2024, 5, 11),
                  "Previous Day",
                  {&S::EXCEPTWEEKENDS},
                  true,
                  ymd(2024, 5, 10)},
        ShiftCase{"Sunday back to Friday",
                  ymd(2024, 5, 12),
                  "Previous Day",
                  {&S::EXCEPTWEEKENDS},
                  true,
                  ymd(2024, 5, 10)},
        ShiftCase{
            "skip only skips", ymd(2024, 5, 11), "Skip (to Next Valid Day)", {&S::EXCEPTWEEKENDS}, true, 0},
        ShiftCase{"blank shift skips", ymd(2024, 5, 11), "", {&S::EXCEPTWEEKENDS}, true, 0},
        ShiftCase{"leading blank is no letter", ymd(2024, 5, 11), "  N", {&S::EXCEPTWEEKENDS}, true, 0},
        ShiftCase{"lower-case letter shifts",
                  ymd(2024, 5, 11),
                  "next",
                  {&S::EXCEPTWEEKENDS},
                  true,
                  ymd(2024, 5, 13)},
        ShiftCase{"weekends win over weekdays",
                  ymd(2024, 5, 8),
                  "N",
                  {&S::EXCEPTWEEKENDS, &S::EXCEPTWEEKDAYS},
                  false,
                  0},
        ShiftCase{
            "weekdays move to Saturday", ymd(2024, 5, 8), "N", {&S::EXCEPTWEEKDAYS}, true, ymd(2024, 5, 11)},
        ShiftCase{"past weekend and holiday",
                  ymd(2024, 5, 11),
                  "N",
                  {&S::EXCEPTWEEKENDS, &S::EXCEPTHOLIDAYS},
                  true,
                  ymd(2024, 5, 14)},
        ShiftCase{"one-off holiday", ymd(2024, 5, 13), "P", {&S::EXCEPTHOLIDAYS}, true, ymd(2024, 5, 12)},
        ShiftCase{"one-off holiday is not annual", ymd(2025, 5, 13), "P", {&S::EXCEPTHOLIDAYS}, false, 0},
        ShiftCase{
            "annual holiday any year", ymd(2030, 12, 25), "P", {&S::EXCEPTHOLIDAYS}, true, ymd(2030, 12, 24)},
        ShiftCase{"holidays not excepted", ymd(2030, 12, 25), "P", {&S::EXCEPTWEEKENDS}, false, 0},
        // 31 December 9999 is a Friday, 3 January 1801 a Saturday.
        ShiftCase{"no day after the calendar", ymd(9999, 12, 31), "N", {&S::EXCEPTWEEKDAYS}, true, 0},
        ShiftCase{
            "back to 2 January 1801", ymd(1801, 1, 3), "P", {&S::EXCEPTWEEKENDS}, true, ymd(1801, 1, 2)},
        ShiftCase{"no day before the calendar", ymd(1801, 1, 2), "P", {&S::EXCEPTWEEKDAYS}, true, 0},
        ShiftCase{"no date is never excluded", 0, "N", {&S::EXCEPTWEEKDAYS}, false, 0}),
    [](const testing::TestParamInfo<ShiftCase>& info) { return testName(info.param.name); });

TEST(ExceptionsHolidays, AnnualLeapDayOnlyInLeapYears) {
    HolidaySet holidays;
    holidays.add(ymd(2024, 2, 29), true);
    EXPECT_TRUE(holidays.isHoliday(ymd(2028, 2, 29)));
    EXPECT_FALSE(holidays.isHoliday(ymd(2027, 2, 28)));
    EXPECT_FALSE(holidays.isHoliday(ymd(2027, 3, 1)));
    holidays.add(0, true);  // unusable dates are ignored
    holidays.add(-3, false);
    EXPECT_FALSE(holidays.isHoliday(0));
}

TEST(ExceptionsDays, EveryDayExcludedSkipsWithoutCopy) {
    // Weekdays excepted and every day of the year an annual holiday.
    HolidaySet holidays;
    for (Date date = ymd(2024, 1, 1); date <= ymd(2024, 12, 31); ++date) holidays.add(date, true);
    for (const char* shift : {"Next Day", "Previous Day"}) {
        data::Schedule entry = makeEntry("Day of Week", ymd(2025, 6, 7));
        entry.EXCEPTWEEKDAYS = 1;
        entry.EXCEPTHOLIDAYS = 1;
        entry.SHIFTTYPE = shift;
        const ExceptionPlan plan = planExceptions(entry, holidays);
        EXPECT_TRUE(plan.excepted);
        EXPECT_FALSE(plan.copy);
        EXPECT_EQ(entry.SKIPNEXTTIME, 1);
        EXPECT_EQ(entry.DATE, ymd(2025, 6, 7));
    }
}

// --- time window ----------------------------------------------------------

data::Schedule windowed(data::Schedule entry, Time begin, Time end) {
    entry.EXCEPTTIME = 1;
    entry.EXCEPTTIMEBEGIN = begin;
    entry.EXCEPTTIMEEND = end;
    return entry;
}

struct WindowCase {
    const char* name;
    data::Schedule entry;
    Time begin;
    Time end;
    Moment expected;
    bool moved;
};

class TimeWindow : public testing::TestWithParam<WindowCase> {};

TEST_P(TimeWindow, MovesRunsOutOfTheWindow) {
    const WindowCase& c = GetParam();
    data::Schedule entry = windowed(c.entry, c.begin, c.end);
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_EQ(plan.moved, c.moved);
    EXPECT_EQ(entry.DATE, c.expected.date);
    EXPECT_EQ(entry.TIME, c.expected.time);
    EXPECT_EQ(entry.EXCEPTTIMEEND, c.end ? c.end : kHundredthsPerDay);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TimeWindow,
    testing::Values(
        WindowCase{"hourly overnight to the end", custom(1, "hour(s)", ymd(2024, 5, 10), hm(23, 0)),
                   hm(22, 0), hm(6, 0), at(2024, 5, 11, 6, 0), true},
        // Advancing never leaves the window: after 100 tries the run after
        // the saved one (from the next day, as 23:00 lies after the end) is
        // placed at the window's end.
        WindowCase{"daily inside the window", custom(1, "day(s)", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0),
                   hm(6, 0), at(2024, 5, 12, 6, 0), true},
        WindowCase{"daily before the window's end", custom(1, "day(s)", ymd(2024, 5, 10), hm(5, 0)),
                   hm(22, 0), hm(6, 0), at(2024, 5, 11, 6, 0), true},
        WindowCase{"daytime window includes its ends", custom(30, "minute(s)", ymd(2024, 5, 10), hm(12, 0)),
                   hm(12, 0), hm(14, 0), at(2024, 5, 10, 14, 30), true},
        WindowCase{"overnight window leaves out its beginning",
                   custom(1, "hour(s)", ymd(2024, 5, 10), hm(22, 0)), hm(22, 0), hm(6, 0),
                   at(2024, 5, 10, 22, 0), false},
        WindowCase{"run outside the window stays", custom(30, "minute(s)", ymd(2024, 5, 10), hm(15, 0)),
                   hm(12, 0), hm(14, 0), at(2024, 5, 10, 15, 0), false},
        WindowCase{"no end means the whole day",
                   custom(1, "hour(s)", ymd(2024, 5, 10), hm(9, 0)),
                   0,
                   0,
                   {ymd(2024, 5, 10), kHundredthsPerDay},
                   true}),
    [](const testing::TestParamInfo<WindowCase>& info) { return testName(info.param.name); });

TEST(ExceptionsWindow, GarbageBoundsAndTimesStayBounded) {
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    const std::int32_t small = std::numeric_limits<std::int32_t>::min();
    const auto start = std::chrono::steady_clock::now();
    for (Time time : {0, -1, big, small, hm(12, 0)}) {
        for (auto [begin, end] : {std::pair{small, big}, std::pair{big, small}, std::pair{-5, 0}}) {
            for (const char* unit : {"minute(s)", "day(s)", "nothing"}) {
                data::Schedule entry = windowed(custom(big, unit, ymd(2024, 5, 10), time), begin, end);
                planExceptions(entry, kNoHolidays);
                EXPECT_TRUE(entry.COMPLETED || isUsableDate(entry.DATE));
            }
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(ExceptionsWindow, UnknownUnitIsReportedOnceNotPerAttempt) {
    data::Schedule entry = windowed(custom(1, "??", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0), hm(6, 0));
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.invalidUnits);
    EXPECT_EQ(entry.TIME, hm(6, 0));
}

TEST(ExceptionsBoth, WindowThenWeekend) {
    // Friday 23:00 hourly, nights excluded: Saturday 06:00, a weekend day, so
    // a one-off copy runs on Monday at 06:00.
    data::Schedule entry = windowed(custom(1, "hour(s)", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0), hm(6, 0));
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = "Next Day";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.moved);
    EXPECT_TRUE(plan.excepted);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(entry.TIME, hm(6, 0));
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 13));
    EXPECT_EQ(plan.copy->TIME, hm(6, 0));
}

TEST(ExceptionsBoth, ManyAnnualHolidaysStayFast) {
    HolidaySet holidays;
    for (int i = 0; i < 10000; ++i) holidays.add(ymd(1900 + i % 100, 1 + i % 12, 1 + i % 28), true);
    data::Schedule entry = custom(1, "day(s)", ymd(2024, 1, 1));
    entry.EXCEPTHOLIDAYS = 1;
    entry.SHIFTTYPE = "Next Day";
    const auto start = std::chrono::steady_clock::now();
    int copies = 0;
    for (int day = 0; day < 1000; ++day) {
        advance(entry, {entry.DATE, entry.TIME});
        entry.SKIPNEXTTIME = 0;
        copies += planExceptions(entry, holidays).copy ? 1 : 0;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_GT(copies, 0);
}

}  // namespace
}  // namespace plorix::scheduler
