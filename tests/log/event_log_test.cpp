#include "log/event_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "runtime/pictures.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace plorix::log {
namespace {

std::vector<std::string> lines(const std::string& content) {
    std::vector<std::string> out;
    std::size_t begin = 0;
    for (std::size_t end; (end = content.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        out.push_back(content.substr(begin, end - begin));
    EXPECT_EQ(begin, content.size()) << "every line ends in CR LF";
    return out;
}

class EventLogTest : public ::testing::Test {
protected:
    EventLogTest() { settings.LogEvents = true; }

    test::TempDir dir;
    ManualClock clock{Moment{makeDate(10, 31, 1959), makeTime(17, 30)}};
    settings::Settings settings;
    EventLog log{clock, settings};
};

TEST_F(EventLogTest, NothingIsWrittenWhileLoggingIsOffButObserversSeeEveryEvent) {
    settings.LogEvents = false;
    std::vector<std::string> seen;
    log.setHook([&](const LogEntry& e) { seen.push_back(e.label + "|" + e.text); });
    log.write("Backup", "Run Program");
    EXPECT_FALSE(std::filesystem::exists(dir / "PX98Evnt.LOG"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_EQ(seen, std::vector<std::string>{"Run Program|Backup"});
}

TEST_F(EventLogTest, FixedColumnsCutLabelAndText) {
    const std::string label(31, 'L');
    const std::string text = std::string(50, 'T') + "0123456789";
    log.write(text, label);
    log.write("", "Exit Plorix");
    log.close();
    const auto got = lines(dir.read("PX98Evnt.LOG"));
    ASSERT_EQ(got.size(), 2u);
    const std::string& first = got[0];
    ASSERT_EQ(first.size(), 102u);
    EXPECT_EQ(first.substr(0, 12), "OCT 31,1959 ");
    EXPECT_EQ(first.substr(12, 10), formatTime(makeTime(17, 30), "t7") +
                                        std::string(10 - formatTime(makeTime(17, 30), "t7").size(), ' '));
    EXPECT_EQ(first.substr(22, 30), std::string(30, 'L'));
    EXPECT_EQ(first.substr(52, 50), std::string(50, 'T'));
    EXPECT_EQ(got[1].substr(22, 30), "Exit Plorix" + std::string(19, ' '));
}

TEST_F(EventLogTest, TheDatePictureFallsBackToD3WhenItDoesNotFit) {
    settings.DateFormat = "d4";  // "October 31, 1959" is wider than the column
    log.write("a", "Started");
    settings.DateFormat = "n4b";  // no date picture at all
    log.write("b", "Started");
    settings.DateFormat = "D6";
    log.write("c", "Started");
    log.close();
    const auto got = lines(dir.read("PX98Evnt.LOG"));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].substr(0, 12), "OCT 31,1959 ");
    EXPECT_EQ(got[1].substr(0, 12), "OCT 31,1959 ");
    EXPECT_EQ(got[2].substr(0, 12), "31/10/1959  ");
    EXPECT_EQ(logDate(0, "d1"), "");
}

TEST_F(EventLogTest, TheFileIsClosedAfterEvery101stLineAndNothingIsLost) {
    for (int i = 1; i <= 101; ++i) {
        log.write("event " + std::to_string(i), "Script");
        EXPECT_EQ(log.isOpen(), i < 101) << i;
    }
    EXPECT_EQ(log.counter(), 0);
    log.write("event 102", "Script");
    EXPECT_TRUE(log.isOpen());
    EXPECT_EQ(log.counter(), 1);
    log.close();

    const auto got = lines(dir.read("PX98Evnt.LOG"));
    ASSERT_EQ(got.size(), 102u);
    for (int i = 0; i < 102; ++i)
        EXPECT_EQ(got[static_cast<std::size_t>(i)].substr(52),
                  "event " + std::to_string(i + 1) + std::string(50 - 6 - std::to_string(i + 1).size(), ' '));
}

TEST_F(EventLogTest, AppendsToAnExistingFileWhateverItsLetterCase) {
    dir.write("px98evnt.log", "old line\r\n");
    log.write("Checked for tasks needing removal", "History");
    log.close();
    EXPECT_FALSE(std::filesystem::exists(dir / "PX98Evnt.LOG"));
    const auto got = lines(dir.read("px98evnt.log"));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "old line");
    EXPECT_EQ(got[1].substr(22, 7), "History");
}

TEST_F(EventLogTest, LineBreaksInsideATextCannotSplitTheRecord) {
    log.write("first\r\nsecond", "Message");
    log.close();
    EXPECT_EQ(lines(dir.read("PX98Evnt.LOG")).size(), 1u);
}

TEST_F(EventLogTest, AnUnwritableFolderLosesTheEventQuietly) {
    const int failed = plorix::test::runUnprivileged(
        [&] {
            try {
                log.write("lost", "Script");
            } catch (...) {
                return 1;
            }
            if (log.counter() != 0) return 2;  // the next event tries again
            return log.isOpen() ? 3 : 0;
        },
        dir.path());
    EXPECT_EQ(failed, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "PX98Evnt.LOG"));
}

}  // namespace
}  // namespace plorix::log
