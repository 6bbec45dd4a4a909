// Advance warnings: when they show, what they say, how firing carries them
// to the next run, and that a run already made never warns again.

#include <gtest/gtest.h>

#include "fire_rig.h"
#include "scheduler/advance_warning.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

class AdvanceWarning : public FireRig {
protected:
    // A daily 10:00 task warned about an hour ahead.
    Schedule warnedDaily(std::string_view description, Date date) {
        Schedule entry = dailyMessage(description, date, hm(10, 0));
        entry.ADVANCEWARNDATE = date;
        entry.ADVANCEWARNTIME = hm(9, 0);
        return entry;
    }
};

TEST_F(AdvanceWarning, ShowsOnceItsMomentHasPassedAndOnlyOnce) {
    const std::int32_t id = add(warnedDaily("Meeting", ymd(2024, 5, 6)));
    clock.set(at(2024, 5, 6, 9, 0));
    EXPECT_FALSE(checkAdvanceWarning(context));  // not before its moment has passed
    clock.set({ymd(2024, 5, 6), hm(9, 0) + 1});
    EXPECT_TRUE(checkAdvanceWarning(context));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Advanced Warning");
    EXPECT_EQ(prompter.shown()[0].text, "MAY 06,2024 10:00AM\rText of Meeting");
    EXPECT_EQ(logLines, (std::vector<LogLine>{{"Advanced Warning", "Meeting"}}));
    EXPECT_EQ(read(id).ADVANCEWARNED, 1);
    EXPECT_FALSE(checkAdvanceWarning(context));
    EXPECT_EQ(prompter.shown().size(), 1u);
}

TEST_F(AdvanceWarning, TextTellsWhatTheTaskDoes) {
    struct Case {
        const char* type;
        const char* message;
        const char* command;
        const char* body;
    };
    const Case cases[] = {
        {"Display Message", "Call Bob  ", "", "Call Bob"},
        {"Run Program", "ignored", "backup.sh", "Command:  backup.sh"},
        {"Both", "Call Bob", "dial.sh", "Call Bob\rCommand: dial.sh"},
        {"Both", "", "dial.sh", "\rCommand: dial.sh"},
        {"", "  Call Bob", "dial.sh", "Call Bob\rCommand: dial.sh"},
        {"", "  Call Bob  ", "", "Call Bob"},
    };
    for (const Case& c : cases) {
        Schedule entry = makeEntry("Day of Week", ymd(2024, 5, 6), hm(17, 30));
        entry.TASKTYPE = c.type;
        entry.MESSAGE = c.message;
        entry.COMMAND = c.command;
        EXPECT_EQ(advanceWarningText(entry), std::string("MAY 06,2024 5:30PM\r") + c.body) << c.type;
    }
}

TEST_F(AdvanceWarning, FiringCarriesTheLeadToTheNextRun) {
    const std::int32_t id = add(warnedDaily("Meeting", ymd(2024, 5, 6)));
    clock.set({ymd(2024, 5, 6), hm(9, 0) + 1});
    ASSERT_TRUE(checkAdvanceWarning(context));
    clock.set(at(2024, 5, 6, 10, 0));
    fireEntry(id);
    const Schedule moved = read(id);
    EXPECT_EQ(moved.ADVANCEWARNDATE, ymd(2024, 5, 7));
    EXPECT_EQ(moved.ADVANCEWARNTIME, hm(9, 0));
    EXPECT_EQ(moved.ADVANCEWARNED, 0);

    // The history record of Monday's run is never warned about; Tuesday's is.
    prompter.clear();
    clock.set(at(2024, 5, 6, 12, 0));
    EXPECT_FALSE(checkAdvanceWarning(context));
    clock.set(at(2024, 5, 7, 9, 1));
    EXPECT_TRUE(checkAdvanceWarning(context));
    EXPECT_FALSE(checkAdvanceWarning(context));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text.substr(0, 11), "MAY 07,2024");
}

TEST_F(AdvanceWarning, RunFiredBeforeItsWarningLeavesNoWarningBehind) {
    // The warning was due but the program was not running: firing comes
    // first; the history record of that run stays silent.
    const std::int32_t id = add(warnedDaily("Missed warning", ymd(2024, 5, 6)));
    clock.set(at(2024, 5, 6, 10, 0));
    fireEntry(id);
    EXPECT_FALSE(checkAdvanceWarning(context));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(AdvanceWarning, LeadAcrossMidnightLandsOnThePreviousEvening) {
    // Run at 00:30 every day, warned an hour before: 23:30 the evening before.
    Schedule entry = dailyMessage("Night job", ymd(2024, 5, 6), hm(0, 30));
    entry.ADVANCEWARNDATE = ymd(2024, 5, 6);
    entry.ADVANCEWARNTIME = hm(0, 30) - kHundredthsPerHour + kHundredthsPerDay;  // stored as 23:30 ...
    entry.ADVANCEWARNDATE = ymd(2024, 5, 5);                                     // ... of the day before
    entry.ADVANCEWARNED = 1;
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 6, 0, 30));
    fireEntry(id);
    const Schedule moved = read(id);
    EXPECT_EQ(moved.ADVANCEWARNDATE, ymd(2024, 5, 6));
    EXPECT_EQ(moved.ADVANCEWARNTIME, hm(23, 30));

    // A custom 90-minute task warned 60 minutes ahead crosses midnight the other way.
    Schedule every90 = custom(90, "minute(s)", ymd(2024, 5, 6), hm(23, 0));
    every90.ID = 0;
    every90.ADVANCEWARNDATE = ymd(2024, 5, 6);
    every90.ADVANCEWARNTIME = hm(22, 0);
    const std::int32_t customId = add(every90);
    clock.set(at(2024, 5, 6, 23, 0));
    fireEntry(customId);
    const Schedule next = read(customId);
    EXPECT_EQ(next.DATE, ymd(2024, 5, 7));
    EXPECT_EQ(next.TIME, hm(0, 30));
    EXPECT_EQ(next.ADVANCEWARNDATE, ymd(2024, 5, 6));
    EXPECT_EQ(next.ADVANCEWARNTIME, hm(23, 30));
}

TEST_F(AdvanceWarning, PassedOverRunsAndOldHistoryAreMarkedWithoutABox) {
    Schedule skipped = warnedDaily("Skipped", ymd(2024, 5, 6));
    skipped.SKIPNEXTTIME = 1;
    const std::int32_t skippedId = add(skipped);
    // A history record from a file written before records were stored warned.
    Schedule old = warnedDaily("Old run", ymd(2024, 5, 3));
    old.DISABLED = 1;
    old.COMPLETED = 1;
    const std::int32_t oldId = add(old);
    clock.set(at(2024, 5, 6, 9, 30));
    EXPECT_TRUE(checkAdvanceWarning(context));  // one per call, earliest first
    EXPECT_TRUE(checkAdvanceWarning(context));
    EXPECT_FALSE(checkAdvanceWarning(context));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_TRUE(logLines.empty());
    EXPECT_EQ(read(skippedId).ADVANCEWARNED, 1);
    EXPECT_EQ(read(oldId).ADVANCEWARNED, 1);
}

TEST_F(AdvanceWarning, EntryWithoutScheduleTypeHoldsTheCheck) {
    Schedule blank = warnedDaily("No type", ymd(2024, 5, 6));
    blank.SCHEDULETYPE = "";
    add(blank);
    clock.set(at(2024, 5, 6, 9, 30));
    EXPECT_FALSE(checkAdvanceWarning(context));
    EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
}  // namespace plorix::scheduler
