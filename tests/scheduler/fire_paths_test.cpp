// Firing, path by path: on time, overdue, missed, confirmed, passed over,
// without history, one-time entries, and what a run hands on.

#include <gtest/gtest.h>

#include "fire_rig.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

using OnTime = FireRig;

TEST_F(OnTime, RunShowsMovesOnAndLeavesItsHistory) {
    Schedule entry = dailyMessage("Stand-up", ymd(2024, 5, 6));
    entry.ALARM = 1;
    entry.ALARMFILE = "chime.wav";
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 6, 9, 5));

    const FireResult result = fireEntry(id);
    EXPECT_EQ(result.outcome, FireOutcome::Performed);
    EXPECT_FALSE(result.skipped);
    ASSERT_EQ(reminders.size(), 1u);
    EXPECT_EQ(reminders[0].title, "Stand-up");
    EXPECT_EQ(reminders[0].text, "Text of Stand-up");
    EXPECT_EQ(reminders[0].soundFile, "chime.wav");
    EXPECT_EQ(reminderKinds[0], ReminderKind::Message);
    EXPECT_EQ(sound.played, std::vector<std::string>{"chime.wav"});
    EXPECT_EQ(frameBrought, 1);

    const Schedule moved = read(id);
    EXPECT_EQ(moved.DATE, ymd(2024, 5, 7));
    EXPECT_EQ(moved.TIME, hm(9, 0));
    EXPECT_EQ(moved.LASTRUNDATE, ymd(2024, 5, 6));
    EXPECT_EQ(moved.LASTRUNTIME, hm(9, 5));
    const auto records = history();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].ID, result.historyId);
    EXPECT_EQ(records[0].DATE, ymd(2024, 5, 6));
    EXPECT_EQ(records[0].TIME, hm(9, 0));
    EXPECT_EQ(records[0].DESCRIPTION, "Stand-up");
    EXPECT_EQ(records[0].LASTRUNTIME, hm(9, 5));
}

TEST_F(OnTime, ProgramAndBothStartTheProgramWithTheEntrysIdentifier) {
    const std::int32_t program = add(withType(dailyMessage("Backup", ymd(2024, 5, 6)), "Run Program"));
    Schedule both = withType(dailyMessage("Report", ymd(2024, 5, 6)), "Both", "report.sh");
    both.PATH = "/srv/reports";
    const std::int32_t bothId = add(both);
    fireEntry(program);
    fireEntry(bothId);
    EXPECT_EQ(programs, (std::vector<std::string>{std::to_string(program) + " backup.sh ",
                                                  std::to_string(bothId) + " report.sh /srv/reports"}));
    // Only "Both" shows a message; a program alone does not call the frame back.
    EXPECT_EQ(reminders.size(), 1u);
    EXPECT_EQ(frameBrought, 1);
}

TEST_F(OnTime, FrameComesBackForNonModalMessagesOrWhenAskedTo) {
    struct Case {
        bool modal, maximize;
        const char* type;
        int expected;
    };
    for (const Case& c : {Case{false, false, "Display Message", 1}, Case{true, false, "Display Message", 0},
                          Case{true, true, "Display Message", 1}, Case{false, false, "Run Program", 0},
                          Case{false, true, "Run Program", 1}}) {
        settings.UseModalMessage = c.modal;
        settings.MaximizeOnRun = c.maximize;
        frameBrought = 0;
        fireEntry(add(withType(dailyMessage("Task", ymd(2024, 5, 6)), c.type)));
        EXPECT_EQ(frameBrought, c.expected) << c.type << c.modal << c.maximize;
    }
}

TEST_F(OnTime, AlarmBeepsRingsTheBellAndNoAlarmIsSilent) {
    Schedule beep = dailyMessage("Beep", ymd(2024, 5, 6));
    beep.ALARM = 1;
    beep.ALARMFILE = " beep ";
    Schedule silent = dailyMessage("Silent", ymd(2024, 5, 6));
    silent.ALARMFILE = "chime.wav";  // the alarm is off: the file is neither played nor handed on
    fireEntry(add(beep));
    fireEntry(add(silent));
    EXPECT_EQ(sound.bells, 1);
    EXPECT_TRUE(sound.played.empty());
    ASSERT_EQ(reminders.size(), 2u);
    EXPECT_EQ(reminders[1].soundFile, "");
}

TEST_F(OnTime, ReplyPathOpensTheReplyWindowWithTheAddress) {
    Schedule entry = dailyMessage("Mail", ymd(2024, 5, 6));
    entry.PATH = "Reply to:/home/ann/shared";
    fireEntry(add(entry));
    ASSERT_EQ(reminders.size(), 1u);
    EXPECT_EQ(reminderKinds[0], ReminderKind::WithReplyPath);
    EXPECT_EQ(reminders[0].replyAddress, "/home/ann/shared");
}

TEST_F(OnTime, SixtyOpenWindowsSendTheMessageToAPlainBox) {
    openWindows = 60;
    fireEntry(add(dailyMessage("Busy", ymd(2024, 5, 6))));
    EXPECT_TRUE(reminders.empty());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Busy");
    EXPECT_EQ(prompter.shown()[0].text, "Text of Busy");
    openWindows = 59;
    fireEntry(add(dailyMessage("Room", ymd(2024, 5, 6))));
    EXPECT_EQ(reminders.size(), 1u);
}

using Overdue = FireRig;

TEST_F(Overdue, MoreThanTenMinutesLateIsSkippedWhenTheEntrySaysSo) {
    Schedule entry = withType(dailyMessage("Backup", ymd(2024, 5, 6)), "Both");
    entry.SKIPIFMISSED = 1;
    entry.ALARM = 1;
    entry.ALARMFILE = "BEEP";
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 6, 9, 11));
    const FireResult result = fireEntry(id);
    EXPECT_TRUE(result.skipped);
    EXPECT_TRUE(reminders.empty());
    EXPECT_TRUE(programs.empty());
    EXPECT_EQ(sound.bells, 1);  // the alarm comes before the decision
    EXPECT_EQ(logLines, (std::vector<LogLine>{{"Overdue task skipped", "Backup"}}));
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history()[0].DESCRIPTION, "(Skipped) Backup");
    EXPECT_EQ(read(id).DATE, ymd(2024, 5, 7));
    EXPECT_EQ(read(id).LASTRUNTIME, hm(9, 11));
}

TEST_F(Overdue, TenMinutesOrLessOrWithoutTheOptionStillRuns) {
    Schedule flagged = dailyMessage("Flagged", ymd(2024, 5, 6));
    flagged.SKIPIFMISSED = 1;
    const std::int32_t early = add(flagged);
    clock.set(at(2024, 5, 6, 9, 10));
    EXPECT_FALSE(fireEntry(early).skipped);
    const std::int32_t plain = add(dailyMessage("Plain", ymd(2024, 5, 6)));
    clock.set(at(2024, 5, 6, 15, 0));
    EXPECT_FALSE(fireEntry(plain).skipped);
    EXPECT_EQ(reminders.size(), 2u);
}

TEST_F(Overdue, JustAfterMidnightIsMeasuredAcrossTheDayChange) {
    // 23:58 seen at 00:05: seven minutes late, not a day.
    Schedule entry = dailyMessage("Late night", ymd(2024, 5, 6), hm(23, 58));
    entry.SKIPIFMISSED = 1;
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 7, 0, 5));
    EXPECT_FALSE(fireEntry(id).skipped);
    EXPECT_EQ(reminders.size(), 1u);
}

using Missed = FireRig;

TEST_F(Missed, ProgramFromAnEarlierDayAsksFirst) {
    for (int answer : {kNo, kYes}) {
        Schedule entry = withType(dailyMessage("Payroll", ymd(2024, 5, 5)), "Run Program");
        entry.WARN = 1;
        const std::int32_t id = add(entry);
        programs.clear();
        logLines.clear();
        prompter.clear();
        prompter.answerNext(answer);
        const FireResult result = fireEntry(id);
        ASSERT_EQ(prompter.shown().size(), 1u);
        const auto& question = prompter.shown()[0];
        EXPECT_EQ(question.title, "Missed Task");
        EXPECT_EQ(question.text, "Payroll was not run.  Run it now?");
        EXPECT_EQ(question.buttons, kYes | kNo);
        EXPECT_EQ(question.defaultButton, kNo);
        EXPECT_EQ(result.skipped, answer == kNo);
        EXPECT_EQ(programs.size(), answer == kYes ? 1u : 0u);
        const std::vector<LogLine> skippedLine{{"Missed task skipped", "Payroll"}};
        EXPECT_EQ(logLines, answer == kNo ? skippedLine : std::vector<LogLine>{});
        EXPECT_EQ(read(id).DATE, ymd(2024, 5, 7));
    }
}

TEST_F(Missed, MessagesAreShownWithoutAsking) {
    Schedule entry = dailyMessage("Birthday", ymd(2024, 5, 5));
    entry.WARN = 1;
    fireEntry(add(entry));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(reminders.size(), 1u);
}

TEST_F(Missed, RunCaughtAtTheTurnOfTheDayIsNotMissed) {
    Schedule entry = withType(dailyMessage("Rollover", ymd(2024, 5, 5), makeTime(23, 59, 59)), "Run Program");
    entry.WARN = 1;
    const std::int32_t id = add(entry);
    clock.set({ymd(2024, 5, 6), makeTime(0, 0, 1)});
    fireEntry(id);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(programs.size(), 1u);
}

TEST_F(Missed, SkipWhenMissedMovesOnFromTheStartOfToday) {
    // A run every 4 hours from Sunday 21:00, missed until Monday 09:00: the
    // next run is the first step on or after Monday 00:00, not after 09:00.
    Schedule entry = custom(4, "hour(s)", ymd(2024, 5, 5), hm(21, 0));
    entry.ID = 0;
    entry.SKIPIFMISSED = 1;
    entry.TASKTYPE = "Display Message";
    const std::int32_t id = add(entry);
    fireEntry(id);
    EXPECT_EQ(read(id).DATE, ymd(2024, 5, 6));
    EXPECT_EQ(read(id).TIME, hm(1, 0));
}

using Confirm = FireRig;

TEST_F(Confirm, NoStillRecordsTheRunAndMovesOn) {
    Schedule entry = withType(dailyMessage("Defrag", ymd(2024, 5, 6)), "Both");
    entry.USERSKIP = 1;
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 6, 9, 1));
    prompter.answerNext(kNo);
    const FireResult result = fireEntry(id);
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Confirm Task"});
    EXPECT_EQ(prompter.shown()[0].text, "Defrag is due to run.  Run it now?");
    EXPECT_TRUE(result.skipped);
    EXPECT_TRUE(reminders.empty());
    EXPECT_TRUE(programs.empty());
    EXPECT_EQ(logLines, (std::vector<LogLine>{{"Task skipped", "Defrag"}}));
    const Schedule moved = read(id);
    EXPECT_EQ(moved.LASTRUNDATE, ymd(2024, 5, 6));
    EXPECT_EQ(moved.LASTRUNTIME, hm(9, 1));
    EXPECT_EQ(moved.DATE, ymd(2024, 5, 7));
    EXPECT_EQ(history()[0].DESCRIPTION, "(Skipped) Defrag");
}

TEST_F(Confirm, YesRunsIt) {
    Schedule entry = withType(dailyMessage("Defrag", ymd(2024, 5, 6)), "Run Program");
    entry.USERSKIP = 1;
    prompter.answerNext(kYes);
    EXPECT_FALSE(fireEntry(add(entry)).skipped);
    EXPECT_EQ(programs.size(), 1u);
    EXPECT_EQ(history()[0].DESCRIPTION, "Defrag");
}

using SkipNextTime = FireRig;

TEST_F(SkipNextTime, PassesOverSilentlyMovesOnAndClearsTheFlag) {
    Schedule entry = withType(dailyMessage("Cleanup", ymd(2024, 5, 6)), "Both");
    entry.SKIPNEXTTIME = 1;
    entry.ALARM = 1;
    entry.ALARMFILE = "BEEP";
    entry.USERSKIP = 1;
    entry.SKIPIFMISSED = 1;
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 6, 12, 0));  // overdue too, but nothing is judged
    const FireResult result = fireEntry(id);
    EXPECT_TRUE(result.passedOver);
    EXPECT_FALSE(result.skipped);
    EXPECT_EQ(sound.bells, 0);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_TRUE(reminders.empty());
    EXPECT_TRUE(programs.empty());
    EXPECT_TRUE(logLines.empty());
    const Schedule moved = read(id);
    EXPECT_EQ(moved.SKIPNEXTTIME, 0);
    EXPECT_EQ(moved.DATE, ymd(2024, 5, 7));
    EXPECT_EQ(moved.LASTRUNTIME, hm(12, 0));
    EXPECT_EQ(history()[0].DESCRIPTION, "Cleanup");
}

using NoHistory = FireRig;

TEST_F(NoHistory, RecurringEntryMovesOnWithoutARecord) {
    Schedule entry = dailyMessage("Quiet", ymd(2024, 5, 6));
    entry.NOHISTORY = 1;
    const std::int32_t id = add(entry);
    EXPECT_EQ(fireEntry(id).historyId, 0);
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(read(id).DATE, ymd(2024, 5, 7));
}

TEST_F(NoHistory, OneTimeEntryIsDeletedWithItsScript) {
    Schedule entry = withType(makeEntry("Once", ymd(2024, 5, 6)), "Run Program");
    entry.ID = 0;
    entry.NOHISTORY = 1;
    const std::int32_t id = add(entry);
    addScriptItems(id, 3);
    fireEntry(id);
    EXPECT_EQ(programs.size(), 1u);  // the script was loaded while its items still existed
    EXPECT_FALSE(load(id));
    EXPECT_EQ(scriptItemsOf(id), 0);
}

TEST_F(NoHistory, OneTimeEntryBecomesItsOwnHistoryAndKeepsItsScriptOnlyWhenAsked) {
    for (bool saveScripts : {false, true}) {
        settings.SaveScripts = saveScripts;
        Schedule entry = withType(makeEntry("Once", ymd(2024, 5, 6)), "Both");
        entry.ID = 0;
        entry.DESCRIPTION = "Once only";
        const std::int32_t id = add(entry);
        addScriptItems(id, 2);
        const std::size_t before = all().size();
        EXPECT_EQ(fireEntry(id).historyId, 0);
        const Schedule record = read(id);
        EXPECT_TRUE(record.DISABLED && record.COMPLETED);
        EXPECT_EQ(record.DATE, ymd(2024, 5, 6));
        EXPECT_EQ(all().size(), before);
        EXPECT_EQ(scriptItemsOf(id), saveScripts ? 2 : 0);
    }
}

TEST_F(NoHistory, SaveScriptsCopiesTheScriptToTheHistoryRecord) {
    settings.SaveScripts = true;
    const std::int32_t id = add(withType(dailyMessage("Scripted", ymd(2024, 5, 6)), "Run Program"));
    addScriptItems(id, 4);
    const FireResult result = fireEntry(id);
    ASSERT_NE(result.historyId, 0);
    EXPECT_EQ(scriptItemsOf(id), 4);
    EXPECT_EQ(scriptItemsOf(result.historyId), 4);
}

using ExceptedRuns = FireRig;

TEST_F(ExceptedRuns, NextRunOnAnExcludedDayIsStoredSkippedWithItsCopy) {
    // Friday's daily run moves to Saturday, which weekends exclude: the
    // entry passes over Saturday and a one-off copy runs on Monday.
    Schedule entry = dailyMessage("Weekday note", ymd(2024, 5, 10));
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = "Next Day";
    const std::int32_t id = add(entry);
    clock.set(at(2024, 5, 10, 9, 0));
    const FireResult result = fireEntry(id);
    ASSERT_NE(result.copyId, 0);
    EXPECT_NE(result.historyId, result.copyId);
    const Schedule moved = read(id);
    EXPECT_EQ(moved.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(moved.SKIPNEXTTIME, 1);
    EXPECT_EQ(moved.EXCEPTIONLINK, result.copyId);
    const Schedule copy = read(result.copyId);
    EXPECT_EQ(copy.SCHEDULETYPE, "Once");
    EXPECT_EQ(copy.DATE, ymd(2024, 5, 13));
}

using RunNow = FireRig;

TEST_F(RunNow, RunsOnceWithoutMovingStoringOrHistory) {
    Schedule entry = withType(dailyMessage("Manual", ymd(2024, 5, 20)), "Both");
    entry.ALARM = 1;
    entry.ALARMFILE = "ding.wav";
    entry.PATH = "Reply to:/srv/x";
    const std::int32_t id = add(entry);
    const std::size_t before = all().size();
    ASSERT_TRUE(load(id));
    runNow(context);
    EXPECT_EQ(sound.played.size(), 1u);
    ASSERT_EQ(reminders.size(), 1u);
    EXPECT_EQ(reminderKinds[0], ReminderKind::Message);  // no reply window here
    EXPECT_EQ(programs.size(), 1u);
    EXPECT_EQ(frameBrought, 0);
    EXPECT_EQ(read(id).DATE, ymd(2024, 5, 20));
    EXPECT_EQ(read(id).LASTRUNDATE, 0);
    EXPECT_EQ(all().size(), before);
}

TEST_F(RunNow, QuestionsAnsweredNoSkipSilentlyAndSkipNextTimeHoldsTheProgram) {
    Schedule missed = withType(dailyMessage("Old", ymd(2024, 5, 1)), "Run Program");
    missed.WARN = 1;
    ASSERT_TRUE(load(add(missed)));
    prompter.answerNext(kNo);
    runNow(context);
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"Missed Task"});
    EXPECT_TRUE(programs.empty());
    EXPECT_TRUE(logLines.empty());

    Schedule held = withType(dailyMessage("Held", ymd(2024, 5, 20)), "Both");
    held.SKIPNEXTTIME = 1;
    ASSERT_TRUE(load(add(held)));
    runNow(context);
    EXPECT_EQ(reminders.size(), 1u);
    EXPECT_TRUE(programs.empty());
}

TEST_F(RunNow, SixtyOpenWindowsGiveAnUntitledBox) {
    openWindows = 60;
    ASSERT_TRUE(load(add(dailyMessage("Crowded", ymd(2024, 5, 20)))));
    runNow(context);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "");
    EXPECT_EQ(prompter.shown()[0].text, "Text of Crowded");
}

}  // namespace
}  // namespace plorix::scheduler
