#include "log/log_reader.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plorix::log {
namespace {

// A log of `count` lines of 100 characters each.
std::string logOf(int count) {
    std::string content;
    for (int i = 0; i < count; ++i) {
        std::string line = "line " + std::to_string(i);
        line.resize(100, ' ');
        content += line + "\r\n";
    }
    return content;
}

class LogReaderTest : public ::testing::Test {
protected:
    test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(LogReaderTest, ReadsInStepsShowingProgress) {
    dir.write("px98evnt.LOG", logOf(500) + "last line without an end");  // 51024 bytes
    LogReader reader(prompter);
    ASSERT_TRUE(reader.start());
    int steps = 0;
    while (reader.step()) ++steps;
    EXPECT_EQ(steps, 2);  // 20000 + 20000, then the last 11024 ends the reading
    EXPECT_TRUE(reader.finished());
    EXPECT_FALSE(reader.cancelled());
    ASSERT_EQ(reader.rows().size(), 501u);
    EXPECT_EQ(reader.rows()[0].substr(0, 6), "line 0");
    EXPECT_EQ(reader.rows()[0].size(), 100u);
    EXPECT_EQ(reader.rows()[499].substr(0, 8), "line 499");
    EXPECT_EQ(reader.rows()[500], "last line without an end");
    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"View Log"});
    EXPECT_EQ(prompter.progressTexts, std::vector<std::string>{"Reading File"});
    EXPECT_EQ(prompter.progressPercents, std::vector<int>{100});
    EXPECT_EQ(prompter.progressesFinished, 1);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(LogReaderTest, LongLinesContinueOnTheNextRow) {
    dir.write("PX98Evnt.LOG", std::string(600, 'x') + "\n\nshort\n");
    LogReader reader(prompter);
    reader.readAll();
    ASSERT_EQ(reader.rows().size(), 5u);
    EXPECT_EQ(reader.rows()[0].size(), 255u);
    EXPECT_EQ(reader.rows()[1].size(), 255u);
    EXPECT_EQ(reader.rows()[2].size(), 90u);
    EXPECT_EQ(reader.rows()[3], "");
    EXPECT_EQ(reader.rows()[4], "short");
}

TEST_F(LogReaderTest, AnEmptyLogSaysSo) {
    dir.write("PX98Evnt.LOG", "");
    LogReader reader(prompter);
    EXPECT_FALSE(reader.start());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "File Load Error");
    EXPECT_EQ(prompter.shown()[0].text,
              "PX98Evnt.LOG File Load Error.  The file you've requested contains no text.");
    EXPECT_TRUE(prompter.progressTitles.empty());
    EXPECT_TRUE(reader.rows().empty());
}

TEST_F(LogReaderTest, AMissingLogSaysInOneSentenceThatNothingWasLoggedYet) {
    LogReader reader(prompter);
    EXPECT_FALSE(reader.start());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Information);
    EXPECT_EQ(
        prompter.shown()[0].text,
        "Nothing has been logged yet. Events are logged when \"Log events to ASCII text file\" is ticked "
        "in Setup.");
    EXPECT_FALSE(reader.step());
    EXPECT_TRUE(reader.rows().empty());
}

TEST_F(LogReaderTest, CancellingAsksAndStopsOnlyOnOk) {
    dir.write("PX98Evnt.LOG", logOf(1000));  // 102000 bytes, six steps
    prompter.cancelProgressAfter = 2;

    LogReader keepGoing(prompter);
    prompter.answerNext(kCancel);
    prompter.answerNext(kCancel);
    prompter.answerNext(kCancel);
    keepGoing.readAll();
    EXPECT_FALSE(keepGoing.cancelled());
    EXPECT_EQ(keepGoing.rows().size(), 1000u);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown()[0].title, "Cancel Request");
    EXPECT_EQ(prompter.shown()[0].text, "Are you certain you want to stop loading PX98Evnt.LOG?");
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Question);

    prompter.clear();
    LogReader stop(prompter);
    prompter.answerNext(kOk);
    stop.readAll();
    EXPECT_TRUE(stop.cancelled());
    EXPECT_TRUE(stop.finished());
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_LT(stop.rows().size(), 1000u);
    EXPECT_FALSE(stop.step());
}

class FindRowTest : public ::testing::Test {
protected:
    std::vector<std::string> rows{"Started Plorix", "Run Program notepad", "Script Send Keystrokes",
                                  "Run Program backup", "Exit Plorix"};
    RecordingPrompter prompter;
};

TEST_F(FindRowTest, SearchesDownAndUpIgnoringCase) {
    EXPECT_EQ(findRow(rows, "run program", 0, SearchDirection::Down, prompter), 1);
    EXPECT_EQ(findRow(rows, "run program", 1, SearchDirection::Down, prompter), 3);
    EXPECT_EQ(findRow(rows, "RUN", 3, SearchDirection::Up, prompter), 1);
    EXPECT_EQ(findRow(rows, "plorix", -1, SearchDirection::Up, prompter), 4);  // nothing selected
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(FindRowTest, WrapsAroundWhenTheUserAgrees) {
    EXPECT_EQ(findRow(rows, "Started", 2, SearchDirection::Down, prompter), 0);  // Yes, the default
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "End of File Error");

    EXPECT_EQ(findRow(rows, "Exit", 2, SearchDirection::Up, prompter), 4);
    EXPECT_EQ(prompter.shown()[1].title, "Beginning of File Error");

    prompter.answerNext(kNo);
    EXPECT_EQ(findRow(rows, "Started", 2, SearchDirection::Down, prompter), -1);
    EXPECT_EQ(findRow(rows, "not there", 2, SearchDirection::Down, prompter), -1);
    EXPECT_EQ(prompter.shown().size(), 4u);
}

}  // namespace
}  // namespace plorix::log
