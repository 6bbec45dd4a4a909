#include <gtest/gtest.h>

#include <ctime>

#include "runtime/clock.h"
#include "runtime/prompter.h"

namespace plorix {
namespace {

TEST(ManualClock, AdvanceMovesWallAndSteadyAcrossMidnight) {
    ManualClock clock({makeDate(12, 31, 1999), makeTime(23, 59, 0)});
    clock.advance(6000 + 50);
    EXPECT_EQ(clock.today(), makeDate(1, 1, 2000));
    EXPECT_EQ(clock.now(), makeTime(0, 0, 0, 50));
    EXPECT_EQ(clock.steadyHundredths(), 6050);
}

TEST(ManualClock, SetJumpsWallOnly) {
    ManualClock clock({makeDate(1, 1, 2000), kMidnight});
    clock.advance(100);
    clock.set({makeDate(6, 1, 2000), kEndOfDay});
    EXPECT_EQ(clock.current(), (Moment{makeDate(6, 2, 2000), kMidnight}));
    EXPECT_EQ(clock.steadyHundredths(), 100);
}

TEST(ProcessClock, InstallAndRestore) {
    ManualClock manual({makeDate(10, 31, 1959), makeTime(17, 30)});
    setProcessClock(&manual);
    EXPECT_EQ(processClock().today(), makeDate(10, 31, 1959));
    setProcessClock(nullptr);
    EXPECT_NE(processClock().today(), makeDate(10, 31, 1959));
}

TEST(SystemClock, AgreesWithLocalTime) {
    SystemClock clock;
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const Moment m = clock.current();
    const std::int64_t expected =
        hundredthsBetween({makeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
                           makeTime(local.tm_hour, local.tm_min, local.tm_sec)},
                          m);
    EXPECT_GE(expected, 0);
    EXPECT_LT(expected, 200);
    const auto a = clock.steadyHundredths();
    EXPECT_GE(clock.steadyHundredths(), a);
}

TEST(RecordingPrompter, AnswersFromScriptThenDefaultAndRecords) {
    RecordingPrompter p;
    p.answerNext(kNo);
    EXPECT_EQ(p.message("Housekeeping", "Remove disabled tasks?", Icon::Question, kYes | kNo, kNo), kNo);
    EXPECT_EQ(p.message("Housekeeping", "Clear To Do list?", Icon::Question, kYes | kNo, kYes), kYes);
    EXPECT_EQ(p.message("Info", "text", Icon::Information, kOk, kNoButton), kOk);
    EXPECT_EQ(p.message("Ask", "text", Icon::Question, kRetry | kCancel, kNoButton), kRetry);
    ASSERT_EQ(p.shown().size(), 4u);
    EXPECT_EQ(p.shown()[0].text, "Remove disabled tasks?");
    EXPECT_EQ(p.shown()[0].answer, kNo);
    EXPECT_EQ(p.titles(), (std::vector<std::string>{"Housekeeping", "Housekeeping", "Info", "Ask"}));
}

TEST(RecordingPrompter, ProgressRecordsAndCancelsAfterUpdates) {
    RecordingPrompter p;
    p.cancelProgressAfter = 2;
    auto progress = p.progress("Exporting Records", "0% Completed");
    EXPECT_FALSE(progress->cancelled());
    progress->setPercent(40);
    EXPECT_FALSE(progress->cancelled());
    progress->setPercent(80);
    EXPECT_TRUE(progress->cancelled());
    progress->setText("Process Completed");
    progress->finish();
    EXPECT_EQ(p.progressTitles, std::vector<std::string>{"Exporting Records"});
    EXPECT_EQ(p.progressPercents, std::vector<int>{80});
    EXPECT_EQ(p.progressTexts, std::vector<std::string>{"Process Completed"});
    EXPECT_EQ(p.progressesFinished, 1);
}

TEST(SilentPrompter, TakesDefaultAndNeverCancels) {
    SilentPrompter p;
    EXPECT_EQ(p.message("t", "x", Icon::Warning, kYes | kNo, kNo), kNo);
    EXPECT_FALSE(p.progress("t", "h")->cancelled());
    RecordingPrompter recording;
    setProcessPrompter(&recording);
    processPrompter().message("Title", "Text", Icon::None, kOk, kOk);
    setProcessPrompter(nullptr);
    processPrompter().message("Other", "Text", Icon::None, kOk, kOk);
    EXPECT_EQ(recording.titles(), std::vector<std::string>{"Title"});
}

}  // namespace
}  // namespace plorix
