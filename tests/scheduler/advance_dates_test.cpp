// Advancing the date-based schedule types: once, monthly, yearly and the
// weekday patterns.

#include <gtest/gtest.h>

#include <vector>

#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

TEST(AdvanceOnce, MarksCompletedAndKeepsItsRun) {
    data::Schedule entry = makeEntry("Once", ymd(2024, 5, 6), hm(9, 0));
    EXPECT_EQ(advance(entry, at(2024, 5, 6, 9, 1)), AdvanceResult::Completed);
    EXPECT_EQ(entry.COMPLETED, 1);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 6));
    EXPECT_EQ(entry.TIME, hm(9, 0));
}

TEST(AdvanceMonthly, ThirtyFirstOverflowsAndDoesNotComeBack) {
    data::Schedule entry = makeEntry("Monthly", ymd(2023, 1, 31));
    advance(entry, {ymd(2023, 1, 31), hm(9, 0)});
    EXPECT_EQ(entry.DATE, ymd(2023, 3, 3));
    advance(entry, {entry.DATE, hm(9, 0)});
    EXPECT_EQ(entry.DATE, ymd(2023, 4, 3));

    data::Schedule leap = makeEntry("Monthly", ymd(2024, 1, 31));
    advance(leap, {ymd(2024, 1, 31), hm(9, 0)});
    EXPECT_EQ(leap.DATE, ymd(2024, 3, 2));
}

TEST(AdvanceMonthly, ThirtiethMeetsFebruaryOnlyThere) {
    data::Schedule entry = makeEntry("Monthly", ymd(2023, 3, 30));
    advance(entry, {ymd(2023, 3, 30), 1});
    EXPECT_EQ(entry.DATE, ymd(2023, 4, 30));  // April has 30 days: no overflow
    data::Schedule winter = makeEntry("Monthly", ymd(2023, 1, 30));
    advance(winter, {ymd(2023, 1, 30), 1});
    EXPECT_EQ(winter.DATE, ymd(2023, 3, 2));
}

TEST(AdvanceMonthly, DecemberRollsIntoNextYear) {
    data::Schedule entry = makeEntry("Monthly", ymd(2023, 12, 15));
    advance(entry, {ymd(2023, 12, 15), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 1, 15));
}

TEST(AdvanceMonthly, LeftBehindCatchesUpToFirstDateAfterReference) {
    data::Schedule entry = makeEntry("Monthly", ymd(1990, 3, 20));
    advance(entry, {ymd(2024, 6, 20), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 7, 20));
    data::Schedule earlier = makeEntry("Monthly", ymd(1990, 3, 20));
    advance(earlier, {ymd(2024, 6, 19), 1});
    EXPECT_EQ(earlier.DATE, ymd(2024, 6, 20));
}

TEST(AdvanceMonthly, LeftBehindWithOverflowingDayStepsThroughTheOverflow) {
    // 31 October 1999 -> 1 December 1999 (31 November overflows), then the 1st.
    data::Schedule entry = makeEntry("Monthly", ymd(1999, 10, 31));
    advance(entry, {ymd(2024, 2, 10), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 3, 1));
}

TEST(AdvanceMonthly, RunAlreadyAheadStays) {
    data::Schedule entry = makeEntry("Monthly", ymd(2024, 8, 1));
    advance(entry, {ymd(2024, 7, 1), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 8, 1));
}

TEST(AdvanceYearly, TwentyNinthOfFebruaryBecomesFirstOfMarch) {
    data::Schedule entry = makeEntry("Yearly", ymd(2024, 2, 29));
    advance(entry, {ymd(2024, 2, 29), 1});
    EXPECT_EQ(entry.DATE, ymd(2025, 3, 1));
    advance(entry, {entry.DATE, 1});
    EXPECT_EQ(entry.DATE, ymd(2026, 3, 1));
}

TEST(AdvanceYearly, LeftBehindCatchesUp) {
    data::Schedule entry = makeEntry("Yearly", ymd(1850, 12, 25));
    advance(entry, {ymd(2024, 12, 25), 1});
    EXPECT_EQ(entry.DATE, ymd(2025, 12, 25));
}

TEST(AdvanceDayOfWeek, MondayAndThursday) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 6));  // a Monday
    setWeekdays(entry, {Mon, Thu});
    advance(entry, {ymd(2024, 5, 6), hm(9, 0)});
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 9));  // Thursday
    advance(entry, {ymd(2024, 5, 9), hm(9, 0)});
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 13));  // next Monday
    EXPECT_EQ(entry.TIME, hm(9, 0));
}

TEST(AdvanceDayOfWeek, NoWeekdayFlagMeansEveryDay) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 6));
    advance(entry, {ymd(2024, 5, 10), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
}

TEST(AdvanceDayOfWeek, StaleEntryGoesToFirstFlaggedDayAfterReference) {
    data::Schedule entry = makeEntry("Day of Week", ymd(1801, 1, 1));
    setWeekdays(entry, {Sat});
    advance(entry, {ymd(2024, 5, 11), 1});  // itself a Saturday
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 18));
}

TEST(AdvanceDayOfWeek, RunAlreadyAheadStays) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 20));
    setWeekdays(entry, {Mon});
    advance(entry, {ymd(2024, 5, 6), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 20));
}

struct DayOfMonthCase {
    const char* name;
    std::vector<Weekday> weekdays;
    std::uint8_t data::Schedule::*week;
    Date reference;
    Date expected;
};

class AdvanceDayOfMonth : public testing::TestWithParam<DayOfMonthCase> {};

TEST_P(AdvanceDayOfMonth, FindsTheChosenWeekday) {
    const DayOfMonthCase& c = GetParam();
    data::Schedule entry = makeEntry("Day of Month", c.reference);
    setWeekdays(entry, c.weekdays);
    if (c.week) entry.*(c.week) = 1;
    advance(entry, {c.reference, hm(12, 0)});
    EXPECT_EQ(entry.DATE, c.expected) << c.name;
}

using S = data::Schedule;
INSTANTIATE_TEST_SUITE_P(
    Patterns, AdvanceDayOfMonth,
    testing::Values(
        // April 2024 starts on a Monday: the 1st itself is the first Monday.
        DayOfMonthCase{"first Monday, 1st qualifies", {Mon}, &S::EVERY1ST, ymd(2024, 3, 31),
                       ymd(2024, 4, 1)},
        DayOfMonthCase{"first Monday, next month", {Mon}, &S::EVERY1ST, ymd(2024, 4, 1),
                       ymd(2024, 5, 6)},
        DayOfMonthCase{"second Tuesday", {Tue}, &S::EVERY2ND, ymd(2024, 5, 1), ymd(2024, 5, 14)},
        DayOfMonthCase{"third Wednesday", {Wed}, &S::EVERY3RD, ymd(2024, 5, 16), ymd(2024, 6, 19)},
        DayOfMonthCase{"fourth Thursday", {Thu}, &S::EVERY4TH, ymd(2024, 11, 1), ymd(2024, 11, 28)},
        // May 2024 ends on a Friday: the last day itself is the last Friday.
        DayOfMonthCase{"last Friday on month's last day", {Fri}, &S::EVERYLAST, ymd(2024, 5, 24),
                       ymd(2024, 5, 31)},
        DayOfMonthCase{"last Friday, 29 February", {Fri}, &S::EVERYLAST, ymd(2024, 2, 1),
                       ymd(2024, 2, 23)},
        DayOfMonthCase{"last Sunday in non-leap February", {Sun}, &S::EVERYLAST, ymd(2023, 2, 1),
                       ymd(2023, 2, 26)},
        DayOfMonthCase{"last Thursday, a fifth one", {Thu}, &S::EVERYLAST, ymd(2024, 5, 1),
                       ymd(2024, 5, 30)},
        DayOfMonthCase{"no ordinal: every flagged weekday", {Wed}, nullptr, ymd(2024, 5, 1),
                       ymd(2024, 5, 8)},
        DayOfMonthCase{"no weekday: first day of the chosen week", {}, &S::EVERY3RD,
                       ymd(2024, 5, 21), ymd(2024, 6, 15)}),
    [](const testing::TestParamInfo<DayOfMonthCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(AdvanceDayOfMonthEnd, EveryMonthsLastDay) {
    // Month End alone, whatever the other checks still hold from before.
    data::Schedule entry = makeEntry("Day of Month", ymd(2023, 12, 31));
    entry.LASTDAYOFMONTH = 1;
    setWeekdays(entry, {Sun, Mon, Tue, Wed, Thu, Fri, Sat});
    entry.EVERYLAST = 1;
    const Date expected[] = {ymd(2024, 1, 31), ymd(2024, 2, 29), ymd(2024, 3, 31),
                             ymd(2024, 4, 30), ymd(2024, 5, 31)};
    for (Date date : expected) {
        advance(entry, {entry.DATE, entry.TIME});
        EXPECT_EQ(entry.DATE, date);
    }
    data::Schedule common = makeEntry("Day of Month", ymd(2023, 1, 31));
    common.LASTDAYOFMONTH = 1;
    advance(common, {common.DATE, common.TIME});
    EXPECT_EQ(common.DATE, ymd(2023, 2, 28));
}

TEST(AdvanceDayOfMonthEnd, MidMonthReferenceGivesThatMonthsEnd) {
    data::Schedule entry = makeEntry("Day of Month", ymd(2024, 1, 10));
    entry.LASTDAYOFMONTH = 1;
    advance(entry, {ymd(2024, 4, 12), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 4, 30));
}

TEST(AdvanceDayOfMonth, AlwaysTakesAStepEvenWhenAhead) {
    data::Schedule entry = makeEntry("Day of Month", ymd(2024, 6, 3));  // first Monday of June
    setWeekdays(entry, {Mon});
    entry.EVERY1ST = 1;
    advance(entry, {ymd(2024, 5, 1), 1});
    EXPECT_EQ(entry.DATE, ymd(2024, 7, 1));
}

}  // namespace
}  // namespace plorix::scheduler
