// Advancing custom repetitions: every unit, counts at both ends, and the
// results for values no form would store.

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

TEST(AdvanceMinutes, WrapsPastMidnightToFirstStepAfterReference) {
    data::Schedule entry = custom(90, "minute(s)", ymd(2024, 3, 10), hm(23, 30));
    advance(entry, at(2024, 3, 11, 0, 10));
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 11));
    EXPECT_EQ(entry.TIME, hm(1, 0));
}

TEST(AdvanceMinutes, MoreThanADayAddsDaysAndMinutes) {
    data::Schedule entry = custom(2000, "minute(s)", ymd(2024, 3, 10), hm(8, 0));
    advance(entry, at(2024, 3, 10, 8, 0));
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 11));
    EXPECT_EQ(entry.TIME, hm(17, 20));  // one day and 560 minutes
}

TEST(AdvanceMinutes, AcrossMonthAndYearEnd) {
    data::Schedule entry = custom(45, "minute(s)", ymd(2023, 12, 31), hm(23, 30));
    advance(entry, at(2023, 12, 31, 23, 30));
    EXPECT_EQ(entry.DATE, ymd(2024, 1, 1));
    EXPECT_EQ(entry.TIME, hm(0, 15));
    data::Schedule leap = custom(60, "minute(s)", ymd(2024, 2, 29), hm(23, 59));
    advance(leap, at(2024, 2, 29, 23, 59));
    EXPECT_EQ(leap.DATE, ymd(2024, 3, 1));
    EXPECT_EQ(leap.TIME, hm(0, 59));
}

TEST(AdvanceMinutes, ReferenceExactlyOnAStepMovesPastIt) {
    // Firing can see the due hundredth itself; the run must still move on,
    // or the entry would fire a second time on the next tick.
    data::Schedule entry = custom(15, "minute(s)", ymd(2024, 3, 10), hm(9, 0));
    advance(entry, at(2024, 3, 10, 9, 0));
    EXPECT_EQ(entry.TIME, hm(9, 15));
}

TEST(AdvanceMinutes, StartOfDayReferenceKeepsMidnightRun) {
    data::Schedule entry = custom(1, "hour(s)", ymd(2024, 3, 9), hm(20, 0));
    advance(entry, {ymd(2024, 3, 10), 0});
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 10));
    EXPECT_EQ(entry.TIME, hm(0, 0));
}

TEST(AdvanceMinutes, YearsBehindIsCountedNotLooped) {
    data::Schedule entry = custom(1, "minute(s)", ymd(1801, 1, 1), hm(0, 0));
    const auto start = std::chrono::steady_clock::now();
    advance(entry, at(9999, 12, 31, 12, 0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_EQ(entry.DATE, ymd(9999, 12, 31));
    EXPECT_EQ(entry.TIME, hm(12, 1));
}

TEST(AdvanceHours, LargeCountsAddDaysAndHours) {
    data::Schedule entry = custom(50, "HOURS", ymd(2024, 12, 30), hm(10, 0));
    advance(entry, at(2024, 12, 30, 10, 0));
    EXPECT_EQ(entry.DATE, ymd(2025, 1, 1));
    EXPECT_EQ(entry.TIME, hm(12, 0));
}

TEST(AdvanceDays, AcrossMonthEndAndStale) {
    data::Schedule entry = custom(3, "day(s)", ymd(2024, 2, 28), hm(7, 0));
    advance(entry, {ymd(2024, 2, 28), hm(7, 0)});
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 2));
    EXPECT_EQ(entry.TIME, hm(7, 0));
    advance(entry, {ymd(2024, 3, 10), 1});  // 2, 5, 8, 11
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 11));
}

TEST(AdvanceWeeks, Fortnightly) {
    data::Schedule entry = custom(2, "week(s)", ymd(2024, 12, 23));
    advance(entry, {ymd(2024, 12, 23), hm(9, 0)});
    EXPECT_EQ(entry.DATE, ymd(2025, 1, 6));
}

TEST(AdvanceMonths, BimonthlyFromThirtyFirst) {
    data::Schedule entry = custom(2, "month(s)", ymd(2023, 12, 31));
    advance(entry, {ymd(2023, 12, 31), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 2));  // 31 February 2024
    advance(entry, {entry.DATE, 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 2));
}

TEST(AdvanceMonths, ThirteenMonthsCarriesIntoTheYear) {
    data::Schedule entry = custom(13, "month(s)", ymd(2024, 11, 15));
    advance(entry, {ymd(2024, 11, 15), 1});
    EXPECT_EQ(entry.DATE, ymd(2025, 12, 15));
}

TEST(AdvanceMonths, SixMonthsFromThirtyFirstKeepsTheDay) {
    // January and July both have 31 days: the day never overflows.
    data::Schedule entry = custom(6, "month(s)", ymd(1900, 1, 31));
    advance(entry, {ymd(2024, 3, 1), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 7, 31));
}

TEST(AdvanceYears, EveryFourYearsFromLeapDayUntil2100) {
    data::Schedule entry = custom(4, "year(s)", ymd(2096, 2, 29));
    advance(entry, {ymd(2096, 2, 29), 1});
    EXPECT_EQ(entry.DATE, ymd(2100, 3, 1));  // 2100 is no leap year
    advance(entry, {entry.DATE, 1});
    EXPECT_EQ(entry.DATE, ymd(2104, 3, 1));
}

TEST(AdvanceCustom, CountBelowOneBecomesOneInTheBuffer) {
    for (int every : {0, -5, std::numeric_limits<std::int32_t>::min()}) {
        data::Schedule entry = custom(every, "day(s)", ymd(2024, 1, 1));
        advance(entry, {ymd(2024, 1, 1), 1});
        EXPECT_EQ(entry.EVERY, 1);
        EXPECT_EQ(entry.DATE, ymd(2024, 1, 2));
    }
}

TEST(AdvanceCustom, HugeCountsEndTheEntryInsteadOfOverflowing) {
    for (const char* unit : {"minute(s)", "hour(s)", "day(s)", "week(s)", "month(s)", "year(s)"}) {
        data::Schedule entry = custom(kMaxInt, unit, ymd(2024, 1, 1));
        const AdvanceResult result = advance(entry, {ymd(2024, 1, 1), hm(9, 0)});
        // 2^31 minutes is about 4,000 years and still fits the calendar.
        if (std::string_view(unit) == "minute(s)") {
            EXPECT_EQ(result, AdvanceResult::Advanced);
            EXPECT_GT(entry.DATE, ymd(6000, 1, 1));
            EXPECT_EQ(entry.COMPLETED, 0);
        } else {
            EXPECT_EQ(result, AdvanceResult::NoFurtherRun) << unit;
            EXPECT_EQ(entry.COMPLETED, 1) << unit;
            EXPECT_EQ(entry.DATE, ymd(2024, 1, 1)) << unit;
        }
    }
}

TEST(AdvanceCustom, UnknownUnitMovesPastReferenceAndAsksForUnits) {
    for (const char* unit : {"", "fortnights", "mi", "xyz(s)"}) {
        data::Schedule entry = custom(3, unit, ymd(2024, 1, 1));
        EXPECT_EQ(advance(entry, {ymd(2024, 1, 5), 1}), AdvanceResult::InvalidUnits) << unit;
        EXPECT_EQ(entry.DATE, ymd(2024, 1, 6)) << unit;
    }
    RecordingPrompter prompter;
    reportInvalidUnits(prompter);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Invalid Units");
    EXPECT_EQ(prompter.shown()[0].text, "Custom repetition is not set up properly.  Select units.");
}

TEST(AdvanceCustom, UnknownScheduleTypeIsCustom) {
    data::Schedule entry = custom(1, "week(s)", ymd(2024, 1, 1));
    entry.SCHEDULETYPE = "Fortnightly??";
    advance(entry, {ymd(2024, 1, 1), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 1, 8));
}

// --- values no form stores ------------------------------------------------

TEST(AdvanceBadInput, UnusableEntryDateIsReadAsTheReferenceDate) {
    for (Date bad : {0, -1, 3, kMaxInt, std::numeric_limits<std::int32_t>::min()}) {
        data::Schedule monthly = makeEntry("Monthly", bad);
        advance(monthly, {ymd(2024, 5, 10), 1});
        EXPECT_EQ(monthly.DATE, ymd(2024, 6, 10)) << bad;

        data::Schedule hourly = custom(1, "hour(s)", bad, hm(0, 30));
        advance(hourly, at(2024, 5, 10, 14, 0));
        EXPECT_EQ(hourly.DATE, ymd(2024, 5, 10)) << bad;
        EXPECT_EQ(hourly.TIME, hm(14, 30)) << bad;
    }
}

TEST(AdvanceBadInput, UnusableReferenceNeverCrashes) {
    for (Date reference : {0, -7, kMaxInt, std::numeric_limits<std::int32_t>::min()}) {
        for (const char* type : {"Monthly", "Yearly", "Day of Week", "Day of Month"}) {
            data::Schedule entry = makeEntry(type, ymd(2024, 5, 10));
            const AdvanceResult result = advance(entry, {reference, 1});
            if (reference > 0) {
                EXPECT_EQ(result, AdvanceResult::NoFurtherRun) << type;
            } else {
                // Already after the reference; only "Day of Month" always steps on.
                const bool steps = std::string_view(type) == "Day of Month";
                EXPECT_EQ(result, AdvanceResult::Advanced) << type;
                EXPECT_EQ(entry.DATE, ymd(2024, 5, steps ? 11 : 10)) << type;
            }
        }
    }
}

TEST(AdvanceBadInput, LastYearOfTheCalendarEndsTheEntry) {
    data::Schedule monthly = makeEntry("Monthly", ymd(9999, 12, 15));
    EXPECT_EQ(advance(monthly, {ymd(9999, 12, 15), 1}), AdvanceResult::NoFurtherRun);
    EXPECT_EQ(monthly.DATE, ymd(9999, 12, 15));

    data::Schedule weekly = makeEntry("Day of Week", ymd(9999, 12, 31));
    setWeekdays(weekly, {Mon});
    EXPECT_EQ(advance(weekly, {ymd(9999, 12, 31), 1}), AdvanceResult::NoFurtherRun);

    data::Schedule minutes = custom(30, "minute(s)", ymd(9999, 12, 31), hm(23, 45));
    EXPECT_EQ(advance(minutes, at(9999, 12, 31, 23, 45)), AdvanceResult::NoFurtherRun);
    EXPECT_EQ(minutes.COMPLETED, 1);

    data::Schedule inDecember = makeEntry("Day of Month", ymd(9999, 12, 1));
    inDecember.LASTDAYOFMONTH = 1;
    EXPECT_EQ(advance(inDecember, {ymd(9999, 12, 1), 1}), AdvanceResult::Advanced);
    EXPECT_EQ(inDecember.DATE, ymd(9999, 12, 31));
}

TEST(AdvanceBadInput, TimesOutsideTheDay) {
    // No time counts as midnight; a time past the day carries into the date.
    data::Schedule none = custom(1, "hour(s)", ymd(2024, 5, 10), 0);
    advance(none, at(2024, 5, 10, 6, 30));
    EXPECT_EQ(none.TIME, hm(7, 0));

    data::Schedule negative = custom(1, "hour(s)", ymd(2024, 5, 10), -123456);
    advance(negative, at(2024, 5, 10, 6, 30));
    EXPECT_EQ(negative.TIME, hm(7, 0));

    data::Schedule beyond = custom(1, "hour(s)", ymd(2024, 5, 10), kHundredthsPerDay + hm(2, 0));
    advance(beyond, at(2024, 5, 11, 6, 30));
    EXPECT_EQ(beyond.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(beyond.TIME, hm(7, 0));

    data::Schedule huge = custom(1, "minute(s)", ymd(2024, 5, 10), kMaxInt);
    advance(huge, at(2024, 5, 10, 6, 30));  // already ~248 days ahead: kept
    EXPECT_EQ(huge.TIME, kMaxInt);

    data::Schedule daily = custom(1, "day(s)", ymd(2024, 5, 10), kMaxInt);
    advance(daily, {ymd(2024, 5, 10), kMaxInt});
    EXPECT_EQ(daily.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(daily.TIME, kMaxInt);  // date rules keep the time as it is
}

TEST(AdvanceBadInput, ReferenceTimesOutsideTheDay) {
    data::Schedule entry = custom(30, "minute(s)", ymd(2024, 5, 10), hm(10, 0));
    advance(entry, {ymd(2024, 5, 10), -5});
    EXPECT_EQ(entry.TIME, hm(10, 0));  // already after the start of the day
    advance(entry, {ymd(2024, 5, 10), kHundredthsPerDay + hm(1, 0)});
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(entry.TIME, hm(1, 30));
    advance(entry, {ymd(2024, 5, 11), kMaxInt});
    EXPECT_GT(entry.DATE, ymd(2024, 12, 1));
}

// The scheduler counts local wall-clock days and hundredths; the clock's
// jumps do not exist for it. A run in the hour skipped in spring stays.
TEST(AdvanceWallClock, SkippedSpringHourIsAValidRun) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    data::Schedule entry = custom(30, "minute(s)", ymd(2024, 3, 31), hm(1, 30));
    advance(entry, at(2024, 3, 31, 1, 30));
    EXPECT_EQ(entry.TIME, hm(2, 0));
    advance(entry, {entry.DATE, entry.TIME});
    EXPECT_EQ(entry.TIME, hm(2, 30));
    advance(entry, {entry.DATE, entry.TIME});
    EXPECT_EQ(entry.TIME, hm(3, 0));

    data::Schedule daily = custom(1, "day(s)", ymd(2024, 3, 30), hm(2, 30));
    advance(daily, {ymd(2024, 3, 30), hm(2, 30)});
    EXPECT_EQ(daily.DATE, ymd(2024, 3, 31));
    EXPECT_EQ(daily.TIME, hm(2, 30));
    unsetenv("TZ");
    tzset();
}

TEST(AdvanceWallClock, RepeatedAutumnHourIsCountedOnce) {
    data::Schedule entry = custom(1, "hour(s)", ymd(2024, 10, 27), hm(1, 0));
    advance(entry, at(2024, 10, 27, 1, 0));
    EXPECT_EQ(entry.TIME, hm(2, 0));
    advance(entry, {entry.DATE, entry.TIME});
    EXPECT_EQ(entry.TIME, hm(3, 0));
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
