// Which dates an entry's pattern accepts, and that the advance step reaches
// exactly those dates.

#include <gtest/gtest.h>

#include <set>

#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using S = data::Schedule;

TEST(DateMatches, DayOfWeekFlags) {
    data::Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 6));
    setWeekdays(entry, {Mon, Thu});
    EXPECT_TRUE(dateMatches(entry));  // its own date, a Monday
    EXPECT_TRUE(dateMatches(entry, ymd(2024, 5, 9)));
    EXPECT_FALSE(dateMatches(entry, ymd(2024, 5, 10)));
}

TEST(DateMatches, MonthEndAcceptsOnlyLastDays) {
    data::Schedule entry = makeEntry("Day of Month", ymd(2024, 5, 6));
    entry.LASTDAYOFMONTH = 1;
    setWeekdays(entry, {Mon});
    entry.EVERY1ST = 1;
    EXPECT_FALSE(dateMatches(entry));  // the first Monday: other flags are not consulted
    EXPECT_TRUE(dateMatches(entry, ymd(2024, 2, 29)));
    EXPECT_FALSE(dateMatches(entry, ymd(2023, 2, 28) - 1));
    EXPECT_TRUE(dateMatches(entry, ymd(2023, 2, 28)));
    EXPECT_TRUE(dateMatches(entry, ymd(2024, 4, 30)));
    EXPECT_FALSE(dateMatches(entry, ymd(2024, 5, 30)));
}

TEST(DateMatches, LastWeekIsTheLastSevenDays) {
    data::Schedule entry = makeEntry("Day of Month", ymd(2024, 5, 6));
    setWeekdays(entry, {Sun, Mon, Tue, Wed, Thu, Fri, Sat});
    entry.EVERYLAST = 1;
    EXPECT_TRUE(dateMatches(entry, ymd(2024, 2, 23)));
    EXPECT_FALSE(dateMatches(entry, ymd(2024, 2, 22)));
    EXPECT_TRUE(dateMatches(entry, ymd(2023, 2, 22)));
    EXPECT_FALSE(dateMatches(entry, ymd(2024, 5, 24)));
    EXPECT_TRUE(dateMatches(entry, ymd(2024, 5, 25)));
}

TEST(DateMatches, OtherTypesAcceptEveryUsableDate) {
    for (const char* type : {"Once", "Monthly", "Yearly", "Custom", "whatever"}) {
        const data::Schedule entry = makeEntry(type, ymd(2024, 5, 6));
        EXPECT_TRUE(dateMatches(entry)) << type;
        EXPECT_TRUE(dateMatches(entry, ymd(1801, 1, 1))) << type;
        EXPECT_FALSE(dateMatches(entry, -5)) << type;
        EXPECT_FALSE(dateMatches(entry, ymd(9999, 12, 31) + 1)) << type;
        EXPECT_FALSE(dateMatches(makeEntry(type, 0))) << type;
    }
}

// Every pattern below, advanced run by run through two years, must land on
// exactly the days the date check accepts: the form's warning and the
// calendar then never contradict what will happen.
class PatternAgreement : public testing::TestWithParam<data::Schedule> {};

TEST_P(PatternAgreement, AdvanceReachesExactlyTheMatchingDates) {
    data::Schedule entry = GetParam();
    const Date first = ymd(2024, 1, 1);
    const Date last = ymd(2025, 12, 31);
    std::set<Date> reached;
    for (int guard = 0; guard < 1000; ++guard) {
        advance(entry, {entry.DATE, entry.TIME});
        if (entry.DATE > last) break;
        reached.insert(entry.DATE);
    }
    std::set<Date> matching;
    for (Date date = first; date <= last; ++date)
        if (dateMatches(entry, date)) matching.insert(date);
    EXPECT_FALSE(matching.empty());
    EXPECT_EQ(reached, matching);
}

data::Schedule pattern(const char* type, std::initializer_list<Weekday> days,
                       std::initializer_list<std::uint8_t S::*> flags = {}) {
    return with(makeEntry(type, ymd(2023, 12, 31)), days, flags);
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternAgreement,
                         testing::Values(pattern("Day of Week", {Mon, Thu}), pattern("Day of Week", {}),
                                         pattern("Day of Month", {Tue}, {&S::EVERY2ND}),
                                         pattern("Day of Month", {Fri}, {&S::EVERYLAST}),
                                         pattern("Day of Month", {Mon, Wed}, {&S::EVERY1ST, &S::EVERY3RD}),
                                         pattern("Day of Month", {Sat}),
                                         pattern("Day of Month", {}, {&S::EVERY4TH}),
                                         pattern("Day of Month", {}),
                                         pattern("Day of Month", {Sun}, {&S::LASTDAYOFMONTH}),
                                         pattern("Day of Month", {}, {&S::LASTDAYOFMONTH, &S::EVERYLAST})));

}  // namespace
}  // namespace plorix::scheduler
