// The one-off copy "Quick Start" makes, and the runs the entry form shows
// before a task is saved, with the exceptions planned but nothing written.

#include <gtest/gtest.h>

#include "scheduler/quick_start.h"
#include "scheduler/run_preview.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

TEST(QuickStart, ThreeHoursAtHalfPastTenRunsOnceNextDayAtOneThirtyAndOneSecond) {
    data::Schedule entry = with(makeEntry("Day of Week", ymd(2027, 5, 1)), {Mon, Fri});
    entry.ADVANCEWARNDATE = ymd(2027, 4, 30);
    entry.ADVANCEWARNTIME = hm(8, 0);
    entry.DISABLED = entry.COMPLETED = entry.SKIPPED = 1;
    entry.ORIGINALID = 7;
    entry.EXCEPTIONLINK = 9;
    ASSERT_EQ(quickStartDelays()[5].text, "3 hours");
    const data::Schedule copy =
        quickStartCopy(entry, at(2027, 5, 10, 22, 30), quickStartDelays()[5].hundredths);
    EXPECT_EQ(copy.DATE, ymd(2027, 5, 11));
    EXPECT_EQ(copy.TIME, makeTime(1, 30, 1));
    EXPECT_EQ(std::string(copy.SCHEDULETYPE), "Once");
    EXPECT_EQ(copy.ADVANCEWARNDATE, 0);
    EXPECT_EQ(copy.ADVANCEWARNTIME, 0);
    EXPECT_EQ(copy.DISABLED + copy.COMPLETED + copy.SKIPPED, 0);
    EXPECT_EQ(copy.ORIGINALID + copy.EXCEPTIONLINK, 0);  // a task of its own
    EXPECT_EQ(copy.MONDAY, 1);                           // the rest is the task's own
    // Five minutes before midnight stays on its day.
    EXPECT_EQ(quickStartCopy(entry, at(2027, 5, 10, 23, 54), quickStartDelays()[0].hundredths).DATE,
              ymd(2027, 5, 10));
}

TEST(RunPreview, ListsTheNextRunsWithTheExceptionPlannedAndNothingElseChanged) {
    // Weekdays at 9:00, weekends excepted and moved to the next day; the
    // stored date is a Saturday, as a user might type it.
    data::Schedule entry = with(makeEntry("Day of Week", ymd(2027, 5, 15)), {Mon, Tue, Wed, Thu, Fri, Sat});
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = "Next Day";
    const data::Schedule before = entry;
    const auto runs = previewRuns(entry, at(2027, 5, 14, 12, 0), NoHolidays{}, 5);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].due, at(2027, 5, 15, 9, 0));  // Saturday: passed over
    EXPECT_TRUE(runs[0].skipped);
    EXPECT_EQ(runs[1].due, at(2027, 5, 17, 9, 0));  // Monday: the moved run and the pattern's own
    EXPECT_TRUE(runs[1].oneOff || runs[2].oneOff);
    EXPECT_EQ(runs[2].due, at(2027, 5, 17, 9, 0));
    EXPECT_EQ(runs[3].due, at(2027, 5, 18, 9, 0));
    EXPECT_EQ(std::string(entry.SHIFTTYPE), std::string(before.SHIFTTYPE));
    EXPECT_EQ(entry.SKIPNEXTTIME, 0);  // the form's buffer is left as it was

    entry.DISABLED = 1;
    EXPECT_TRUE(previewRuns(entry, at(2027, 5, 14, 12, 0), NoHolidays{}).empty());
}

}  // namespace
}  // namespace plorix::scheduler
