// Advancing every schedule type and unit: one row per case, the entry as
// stored, the reference firing passes, and the run expected after it.

#include <gtest/gtest.h>

#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using S = data::Schedule;

struct AdvanceCase {
    const char* name;
    data::Schedule entry;
    Moment reference;
    Moment expected;
    AdvanceResult result = AdvanceResult::Advanced;
};

class Advance : public testing::TestWithParam<AdvanceCase> {};

TEST_P(Advance, GivesTheNextRun) {
    const AdvanceCase& c = GetParam();
    data::Schedule entry = c.entry;
    EXPECT_EQ(advance(entry, c.reference), c.result);
    EXPECT_EQ(entry.DATE, c.expected.date);
    EXPECT_EQ(entry.TIME, c.expected.time);
    const bool ended = c.result == AdvanceResult::Completed || c.result == AdvanceResult::NoFurtherRun;
    EXPECT_EQ(entry.COMPLETED, ended ? 1 : 0);
}

std::string rowName(const testing::TestParamInfo<AdvanceCase>& info) {
    return testName(info.param.name);
}

// Weekday examples: 6 May 2024 is a Monday, 1 April 2024 a Monday, 31 May
// 2024 a Friday, 29 February 2024 a Thursday.
INSTANTIATE_TEST_SUITE_P(
    DateTypes, Advance,
    testing::Values(
        AdvanceCase{"once completes in place", makeEntry("Once", ymd(2024, 5, 6)),
                    at(2024, 5, 6, 9, 1), at(2024, 5, 6, 9, 0), AdvanceResult::Completed},
        AdvanceCase{"monthly 31 Jan to 3 Mar", makeEntry("Monthly", ymd(2023, 1, 31)),
                    {ymd(2023, 1, 31), 1}, at(2023, 3, 3, 9, 0)},
        AdvanceCase{"monthly 3 Mar stays on the 3rd", makeEntry("Monthly", ymd(2023, 3, 3)),
                    {ymd(2023, 3, 3), 1}, at(2023, 4, 3, 9, 0)},
        AdvanceCase{"monthly 31 Jan leap year", makeEntry("Monthly", ymd(2024, 1, 31)),
                    {ymd(2024, 1, 31), 1}, at(2024, 3, 2, 9, 0)},
        AdvanceCase{"monthly 30 Mar fits April", makeEntry("Monthly", ymd(2023, 3, 30)),
                    {ymd(2023, 3, 30), 1}, at(2023, 4, 30, 9, 0)},
        AdvanceCase{"monthly December to January", makeEntry("Monthly", ymd(2023, 12, 15)),
                    {ymd(2023, 12, 15), 1}, at(2024, 1, 15, 9, 0)},
        AdvanceCase{"monthly stale catches up", makeEntry("Monthly", ymd(1990, 3, 20)),
                    {ymd(2024, 6, 20), 1}, at(2024, 7, 20, 9, 0)},
        AdvanceCase{"monthly stale through overflow", makeEntry("Monthly", ymd(1999, 10, 31)),
                    {ymd(2024, 2, 10), 1}, at(2024, 3, 1, 9, 0)},
        AdvanceCase{"monthly ahead stays", makeEntry("Monthly", ymd(2024, 8, 1)),
                    {ymd(2024, 7, 1), 1}, at(2024, 8, 1, 9, 0)},
        AdvanceCase{"yearly 29 Feb to 1 Mar", makeEntry("Yearly", ymd(2024, 2, 29)),
                    {ymd(2024, 2, 29), 1}, at(2025, 3, 1, 9, 0)},
        AdvanceCase{"yearly stale catches up", makeEntry("Yearly", ymd(1850, 12, 25)),
                    {ymd(2024, 12, 25), 1}, at(2025, 12, 25, 9, 0)},
        AdvanceCase{"day of week Monday to Thursday",
                    with(makeEntry("Day of Week", ymd(2024, 5, 6)), {Mon, Thu}),
                    at(2024, 5, 6, 9, 0), at(2024, 5, 9, 9, 0)},
        AdvanceCase{"day of week Thursday to Monday",
                    with(makeEntry("Day of Week", ymd(2024, 5, 9)), {Mon, Thu}),
                    at(2024, 5, 9, 9, 0), at(2024, 5, 13, 9, 0)},
        AdvanceCase{"day of week without flags is daily", makeEntry("Day of Week", ymd(2024, 5, 6)),
                    {ymd(2024, 5, 10), 1}, at(2024, 5, 11, 9, 0)},
        AdvanceCase{"day of week stale", with(makeEntry("Day of Week", ymd(1801, 1, 1)), {Sat}),
                    {ymd(2024, 5, 11), 1}, at(2024, 5, 18, 9, 0)},
        AdvanceCase{"day of week ahead stays", with(makeEntry("Day of Week", ymd(2024, 5, 20)), {Mon}),
                    {ymd(2024, 5, 6), 1}, at(2024, 5, 20, 9, 0)},
        AdvanceCase{"first Monday on the 1st",
                    with(makeEntry("Day of Month", ymd(2024, 3, 4)), {Mon}, {&S::EVERY1ST}),
                    {ymd(2024, 3, 31), 1}, at(2024, 4, 1, 9, 0)},
        AdvanceCase{"first Monday next month",
                    with(makeEntry("Day of Month", ymd(2024, 4, 1)), {Mon}, {&S::EVERY1ST}),
                    {ymd(2024, 4, 1), 1}, at(2024, 5, 6, 9, 0)},
        AdvanceCase{"second Tuesday", with(makeEntry("Day of Month", ymd(2024, 4, 9)), {Tue}, {&S::EVERY2ND}),
                    {ymd(2024, 5, 1), 1}, at(2024, 5, 14, 9, 0)},
        AdvanceCase{"third Wednesday", with(makeEntry("Day of Month", ymd(2024, 5, 15)), {Wed}, {&S::EVERY3RD}),
                    {ymd(2024, 5, 16), 1}, at(2024, 6, 19, 9, 0)},
        AdvanceCase{"fourth Thursday", with(makeEntry("Day of Month", ymd(2024, 10, 24)), {Thu}, {&S::EVERY4TH}),
                    {ymd(2024, 11, 1), 1}, at(2024, 11, 28, 9, 0)},
        AdvanceCase{"last Friday on the month's last day",
                    with(makeEntry("Day of Month", ymd(2024, 4, 26)), {Fri}, {&S::EVERYLAST}),
                    {ymd(2024, 5, 24), 1}, at(2024, 5, 31, 9, 0)},
        AdvanceCase{"last Friday of leap February",
                    with(makeEntry("Day of Month", ymd(2024, 1, 26)), {Fri}, {&S::EVERYLAST}),
                    {ymd(2024, 2, 1), 1}, at(2024, 2, 23, 9, 0)},
        AdvanceCase{"last Sunday of common February",
                    with(makeEntry("Day of Month", ymd(2023, 1, 29)), {Sun}, {&S::EVERYLAST}),
                    {ymd(2023, 2, 1), 1}, at(2023, 2, 26, 9, 0)},
        AdvanceCase{"last Thursday is a fifth one",
                    with(makeEntry("Day of Month", ymd(2024, 4, 25)), {Thu}, {&S::EVERYLAST}),
                    {ymd(2024, 5, 1), 1}, at(2024, 5, 30, 9, 0)},
        AdvanceCase{"no week chosen is every flagged weekday",
                    with(makeEntry("Day of Month", ymd(2024, 5, 1)), {Wed}),
                    {ymd(2024, 5, 1), 1}, at(2024, 5, 8, 9, 0)},
        AdvanceCase{"no weekday is any day of the chosen week",
                    with(makeEntry("Day of Month", ymd(2024, 5, 15)), {}, {&S::EVERY3RD}),
                    {ymd(2024, 5, 21), 1}, at(2024, 6, 15, 9, 0)},
        AdvanceCase{"day of month steps even when ahead",
                    with(makeEntry("Day of Month", ymd(2024, 6, 3)), {Mon}, {&S::EVERY1ST}),
                    {ymd(2024, 5, 1), 1}, at(2024, 7, 1, 9, 0)},
        // Month End alone decides, whatever the other checks still hold.
        AdvanceCase{"month end to leap February",
                    with(makeEntry("Day of Month", ymd(2024, 1, 31)), {Mon, Fri}, {&S::LASTDAYOFMONTH, &S::EVERY1ST}),
                    {ymd(2024, 1, 31), 1}, at(2024, 2, 29, 9, 0)},
        AdvanceCase{"month end to common February",
                    with(makeEntry("Day of Month", ymd(2023, 1, 31)), {}, {&S::LASTDAYOFMONTH}),
                    {ymd(2023, 1, 31), 1}, at(2023, 2, 28, 9, 0)},
        AdvanceCase{"month end to a 30-day month",
                    with(makeEntry("Day of Month", ymd(2024, 3, 31)), {}, {&S::LASTDAYOFMONTH}),
                    {ymd(2024, 3, 31), 1}, at(2024, 4, 30, 9, 0)},
        AdvanceCase{"month end from mid-month reference",
                    with(makeEntry("Day of Month", ymd(2024, 1, 10)), {}, {&S::LASTDAYOFMONTH}),
                    {ymd(2024, 4, 12), 1}, at(2024, 4, 30, 9, 0)}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    CustomUnits, Advance,
    testing::Values(
        AdvanceCase{"90 minutes past midnight", custom(90, "minute(s)", ymd(2024, 3, 10), hm(23, 30)),
                    at(2024, 3, 11, 0, 10), at(2024, 3, 11, 1, 0)},
        AdvanceCase{"2000 minutes is a day and 560 minutes",
                    custom(2000, "minute(s)", ymd(2024, 3, 10), hm(8, 0)), at(2024, 3, 10, 8, 0),
                    at(2024, 3, 11, 17, 20)},
        AdvanceCase{"45 minutes into the new year", custom(45, "minute(s)", ymd(2023, 12, 31), hm(23, 30)),
                    at(2023, 12, 31, 23, 30), at(2024, 1, 1, 0, 15)},
        AdvanceCase{"60 minutes out of leap February", custom(60, "minute(s)", ymd(2024, 2, 29), hm(23, 59)),
                    at(2024, 2, 29, 23, 59), at(2024, 3, 1, 0, 59)},
        // Firing can see the due hundredth itself; the run must still move
        // on, or the entry would fire again on the next tick.
        AdvanceCase{"reference exactly on a step", custom(15, "minute(s)", ymd(2024, 3, 10), hm(9, 0)),
                    at(2024, 3, 10, 9, 0), at(2024, 3, 10, 9, 15)},
        AdvanceCase{"start of day keeps the midnight run", custom(1, "hour(s)", ymd(2024, 3, 9), hm(20, 0)),
                    {ymd(2024, 3, 10), 0}, at(2024, 3, 10, 0, 0)},
        AdvanceCase{"50 hours across the year end", custom(50, "HOURS", ymd(2024, 12, 30), hm(10, 0)),
                    at(2024, 12, 30, 10, 0), at(2025, 1, 1, 12, 0)},
        AdvanceCase{"3 days across leap February", custom(3, "day(s)", ymd(2024, 2, 28), hm(7, 0)),
                    at(2024, 2, 28, 7, 0), at(2024, 3, 2, 7, 0)},
        AdvanceCase{"3 days stale", custom(3, "day(s)", ymd(2024, 3, 2)), {ymd(2024, 3, 10), 1},
                    at(2024, 3, 11, 9, 0)},
        AdvanceCase{"fortnightly across the year end", custom(2, "week(s)", ymd(2024, 12, 23)),
                    at(2024, 12, 23, 9, 0), at(2025, 1, 6, 9, 0)},
        AdvanceCase{"bimonthly from 31 December", custom(2, "month(s)", ymd(2023, 12, 31)),
                    {ymd(2023, 12, 31), 1}, at(2024, 3, 2, 9, 0)},
        AdvanceCase{"bimonthly after the overflow", custom(2, "month(s)", ymd(2024, 3, 2)),
                    {ymd(2024, 3, 2), 1}, at(2024, 5, 2, 9, 0)},
        AdvanceCase{"13 months", custom(13, "month(s)", ymd(2024, 11, 15)), {ymd(2024, 11, 15), 1},
                    at(2025, 12, 15, 9, 0)},
        AdvanceCase{"6 months from the 31st never overflow", custom(6, "month(s)", ymd(1900, 1, 31)),
                    {ymd(2024, 3, 1), 1}, at(2024, 7, 31, 9, 0)},
        AdvanceCase{"4 years from leap day into 2100", custom(4, "year(s)", ymd(2096, 2, 29)),
                    {ymd(2096, 2, 29), 1}, at(2100, 3, 1, 9, 0)},
        AdvanceCase{"unknown type is custom", [] {
                        data::Schedule e = custom(1, "week(s)", ymd(2024, 1, 1));
                        e.SCHEDULETYPE = "Fortnightly??";
                        return e;
                    }(),
                    {ymd(2024, 1, 1), 1}, at(2024, 1, 8, 9, 0)},
        AdvanceCase{"unknown unit moves past the reference", custom(3, "xyz(s)", ymd(2024, 1, 1)),
                    {ymd(2024, 1, 5), 1}, at(2024, 1, 6, 9, 0), AdvanceResult::InvalidUnits},
        AdvanceCase{"unit of two letters is unknown", custom(3, "mi", ymd(2024, 1, 1)),
                    {ymd(2024, 1, 5), 1}, at(2024, 1, 6, 9, 0), AdvanceResult::InvalidUnits}),
    rowName);

// Values no form stores: every one has a defined result.
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    BadInput, Advance,
    testing::Values(
        AdvanceCase{"no date is read as the reference", makeEntry("Monthly", 0), {ymd(2024, 5, 10), 1},
                    at(2024, 6, 10, 9, 0)},
        AdvanceCase{"date before 1801 is read as the reference", custom(1, "hour(s)", 3, hm(0, 30)),
                    at(2024, 5, 10, 14, 0), at(2024, 5, 10, 14, 30)},
        AdvanceCase{"huge date is read as the reference", makeEntry("Yearly", kMaxInt),
                    {ymd(2024, 5, 10), 1}, at(2025, 5, 10, 9, 0)},
        AdvanceCase{"negative date is read as the reference", custom(1, "day(s)", kMinInt),
                    {ymd(2024, 5, 10), 1}, at(2024, 5, 11, 9, 0)},
        AdvanceCase{"reference before 1801 leaves the run", makeEntry("Monthly", ymd(2024, 5, 10)),
                    {kMinInt, 1}, at(2024, 5, 10, 9, 0)},
        AdvanceCase{"reference past 9999 ends monthly", makeEntry("Monthly", ymd(2024, 5, 10)),
                    {kMaxInt, 1}, at(2024, 5, 10, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"reference past 9999 ends weekly", makeEntry("Day of Week", ymd(2024, 5, 10)),
                    {kMaxInt, 1}, at(2024, 5, 10, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"monthly in December 9999 ends", makeEntry("Monthly", ymd(9999, 12, 15)),
                    {ymd(9999, 12, 15), 1}, at(9999, 12, 15, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"weekly on the last day ends", with(makeEntry("Day of Week", ymd(9999, 12, 31)), {Mon}),
                    {ymd(9999, 12, 31), 1}, at(9999, 12, 31, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"minutes past the last day end", custom(30, "minute(s)", ymd(9999, 12, 31), hm(23, 45)),
                    at(9999, 12, 31, 23, 45), at(9999, 12, 31, 23, 45), AdvanceResult::NoFurtherRun},
        AdvanceCase{"month end still reaches 31 December 9999",
                    with(makeEntry("Day of Month", ymd(9999, 12, 1)), {}, {&S::LASTDAYOFMONTH}),
                    {ymd(9999, 12, 1), 1}, at(9999, 12, 31, 9, 0)},
        AdvanceCase{"no time counts as midnight", custom(1, "hour(s)", ymd(2024, 5, 10), 0),
                    at(2024, 5, 10, 6, 30), at(2024, 5, 10, 7, 0)},
        AdvanceCase{"negative time counts as midnight", custom(1, "hour(s)", ymd(2024, 5, 10), -123456),
                    at(2024, 5, 10, 6, 30), at(2024, 5, 10, 7, 0)},
        AdvanceCase{"time past the day carries", custom(1, "hour(s)", ymd(2024, 5, 10), kHundredthsPerDay + hm(2, 0)),
                    at(2024, 5, 11, 6, 30), at(2024, 5, 11, 7, 0)},
        AdvanceCase{"huge time is already ahead", custom(1, "minute(s)", ymd(2024, 5, 10), kMaxInt),
                    at(2024, 5, 10, 6, 30), {ymd(2024, 5, 10), kMaxInt}},
        AdvanceCase{"date rules keep a huge time", custom(1, "day(s)", ymd(2024, 5, 10), kMaxInt),
                    {ymd(2024, 5, 10), kMaxInt}, {ymd(2024, 5, 11), kMaxInt}},
        AdvanceCase{"negative reference time is the start of the day",
                    custom(30, "minute(s)", ymd(2024, 5, 10), hm(10, 0)), {ymd(2024, 5, 10), -5},
                    at(2024, 5, 10, 10, 0)},
        AdvanceCase{"reference time past the day carries",
                    custom(30, "minute(s)", ymd(2024, 5, 10), hm(10, 0)),
                    {ymd(2024, 5, 10), kHundredthsPerDay + hm(1, 0)}, at(2024, 5, 11, 1, 30)},
        AdvanceCase{"hours beyond the calendar end", custom(kMaxInt, "hour(s)", ymd(2024, 1, 1)),
                    at(2024, 1, 1, 9, 0), at(2024, 1, 1, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"days beyond the calendar end", custom(kMaxInt, "day(s)", ymd(2024, 1, 1)),
                    at(2024, 1, 1, 9, 0), at(2024, 1, 1, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"weeks beyond the calendar end", custom(kMaxInt, "week(s)", ymd(2024, 1, 1)),
                    at(2024, 1, 1, 9, 0), at(2024, 1, 1, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"months beyond the calendar end", custom(kMaxInt, "month(s)", ymd(2024, 1, 1)),
                    at(2024, 1, 1, 9, 0), at(2024, 1, 1, 9, 0), AdvanceResult::NoFurtherRun},
        AdvanceCase{"years beyond the calendar end", custom(kMaxInt, "year(s)", ymd(2024, 1, 1)),
                    at(2024, 1, 1, 9, 0), at(2024, 1, 1, 9, 0), AdvanceResult::NoFurtherRun}),
    rowName);

}  // namespace
}  // namespace plorix::scheduler
