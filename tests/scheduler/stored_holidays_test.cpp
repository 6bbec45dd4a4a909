// Holidays read from a real Holidays table: annual ones brought forward,
// and a large table answered from memory.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "data/open_routine.h"
#include "data/tables.h"
#include "scheduler/stored_holidays.h"
#include "schedule_builder.h"
#include "support/temp_dir.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Holidays;

class StoredHolidaysTest : public ::testing::Test {
protected:
    StoredHolidaysTest() { data::openTable(table, prompter); }

    void add(Date date, bool annual, const char* name = "Holiday") {
        Holidays& holiday = table.rec<Holidays>();
        holiday.HOLIDAYDATE = date;
        holiday.HOLIDAY = name;
        holiday.ANNUAL = annual ? 1 : 0;
        ASSERT_EQ(table.add(), store::kNoError) << date;
    }

    // Stored dates of the holidays with this name, in date order.
    std::vector<Date> datesOf(const char* name) {
        std::vector<Date> dates;
        table.setStart(data::keys::Holidays::KEYHOLIDAYDATE);
        while (table.next() == store::kNoError)
            if (table.rec<Holidays>().HOLIDAY == name) dates.push_back(table.rec<Holidays>().HOLIDAYDATE);
        return dates;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
    store::Table table{Holidays::schema()};
};

TEST_F(StoredHolidaysTest, AnnualHolidaysMoveToTheirNextDate) {
    add(ymd(2022, 12, 25), true, "Christmas");
    add(ymd(2023, 3, 1), false, "Once");
    add(ymd(2020, 2, 29), true, "Leap");
    add(ymd(2024, 6, 1), true, "Today");
    add(ymd(2024, 7, 4), true, "Later");
    add(ymd(2023, 6, 1), true, "Earlier today");  // collides with "Today"
    EXPECT_EQ(bringAnnualHolidaysForward(table, ymd(2024, 6, 1)), store::kNoError);
    EXPECT_EQ(datesOf("Christmas"), std::vector<Date>{ymd(2024, 12, 25)});
    EXPECT_EQ(datesOf("Once"), std::vector<Date>{ymd(2023, 3, 1)});
    EXPECT_EQ(datesOf("Leap"), std::vector<Date>{ymd(2028, 2, 29)});
    EXPECT_EQ(datesOf("Today"), std::vector<Date>{ymd(2024, 6, 1)});
    EXPECT_EQ(datesOf("Later"), std::vector<Date>{ymd(2024, 7, 4)});
    EXPECT_EQ(datesOf("Earlier today"), std::vector<Date>{ymd(2023, 6, 1)});
}

TEST_F(StoredHolidaysTest, ReadOnFirstQuestionThenFromMemory) {
    add(ymd(2022, 12, 25), true, "Christmas");
    add(ymd(2023, 3, 1), false, "Once");
    StoredHolidays holidays(table, ymd(2024, 6, 1));
    EXPECT_EQ(datesOf("Christmas"), std::vector<Date>{ymd(2022, 12, 25)});  // not yet asked

    EXPECT_TRUE(holidays.isHoliday(ymd(2031, 12, 25)));
    EXPECT_TRUE(holidays.isHoliday(ymd(2023, 3, 1)));
    EXPECT_FALSE(holidays.isHoliday(ymd(2024, 3, 1)));
    EXPECT_EQ(holidays.error(), 0);
    EXPECT_EQ(datesOf("Christmas"), std::vector<Date>{ymd(2024, 12, 25)});

    add(ymd(2024, 8, 8), false, "New");
    EXPECT_FALSE(holidays.isHoliday(ymd(2024, 8, 8)));
    holidays.reload();
    EXPECT_TRUE(holidays.isHoliday(ymd(2024, 8, 8)));
}

TEST_F(StoredHolidaysTest, EmptyTableHasNoHolidays) {
    StoredHolidays holidays(table, ymd(2024, 6, 1));
    EXPECT_FALSE(holidays.isHoliday(ymd(2024, 12, 25)));
    EXPECT_EQ(holidays.error(), 0);
}

TEST_F(StoredHolidaysTest, TenThousandAnnualHolidays) {
    // Ten thousand past days, each an annual holiday: most cannot move (their
    // day and month are taken after the first), every lookup is from memory.
    const Date first = ymd(1990, 1, 1);
    ASSERT_EQ(table.stream(), store::kNoError);
    for (Date date = first; date < first + 10000; ++date) add(date, true);
    ASSERT_EQ(table.flush(), store::kNoError);

    const auto start = std::chrono::steady_clock::now();
    StoredHolidays holidays(table, ymd(2024, 6, 1));
    EXPECT_TRUE(holidays.isHoliday(ymd(2030, 2, 28)));
    const auto loaded = std::chrono::steady_clock::now();
    int found = 0;
    for (Date date = ymd(2024, 1, 1); date < ymd(2024, 1, 1) + 100000; ++date)
        found += holidays.isHoliday(date) ? 1 : 0;
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(found, 100000);
    EXPECT_EQ(table.records(), 10000);

    // The next firing asks again: nothing is left to move.
    const auto again = std::chrono::steady_clock::now();
    StoredHolidays next(table, ymd(2024, 6, 2));
    EXPECT_TRUE(next.isHoliday(ymd(2024, 6, 2)));
    const auto askedAgain = std::chrono::steady_clock::now();

    using ms = std::chrono::duration<double, std::milli>;
    std::printf(
        "[ figures  ] 10000 annual holidays: first question %.0f ms, "
        "next calendar %.0f ms, 100000 lookups %.1f ms\n",
        ms(loaded - start).count(), ms(askedAgain - again).count(), ms(asked - loaded).count());
    EXPECT_LT(loaded - start, std::chrono::seconds(20));
    EXPECT_LT(askedAgain - again, std::chrono::seconds(2));
    EXPECT_LT(asked - loaded, std::chrono::seconds(1));
}

}  // namespace
}  // namespace plorix::scheduler
