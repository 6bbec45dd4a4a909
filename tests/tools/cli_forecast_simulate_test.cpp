// plorix-cli forecast and simulate on a real data folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {
namespace {

class CliScheduler : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", dir.path().string()});
        return runProcess(args);
    }
    std::vector<std::string> ok(std::vector<std::string> args) {
        auto result = cli(std::move(args));
        EXPECT_EQ(result.status, 0) << result.err;
        return lines(result.out);
    }
    std::string dataFile() {
        std::ifstream in(dir / "Px97.TPS", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // A daily message on weekdays (weekend runs moved to Monday) and a
    // program every five hours.
    void addTasks() {
        ok({"add", "Schedule", "SCH:ID=1", "SCH:DESCRIPTION=Daily", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=1",
            "SCH:EVERYTYPE=day(s)", "SCH:DATE=2024-05-10", "SCH:TIME=09:00", "SCH:TASKTYPE=Display Message",
            "SCH:MESSAGE=Stand-up", "SCH:EXCEPTWEEKENDS=1", "SCH:SHIFTTYPE=Next Day"});
        ok({"add", "Schedule", "SCH:ID=2", "SCH:DESCRIPTION=Sync", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=5",
            "SCH:EVERYTYPE=hour(s)", "SCH:DATE=2024-05-10", "SCH:TIME=10:00", "SCH:TASKTYPE=Run Program",
            "SCH:COMMAND=sync.sh", "SCH:USERSKIP=1"});
        ok({"add", "Schedule", "SCH:ID=3", "SCH:DESCRIPTION=Off", "SCH:SCHEDULETYPE=Once",
            "SCH:DATE=2024-05-10", "SCH:TIME=11:00", "SCH:DISABLED=1"});
    }
    TempDir dir{false};
};

TEST_F(CliScheduler, ForecastMergesTheTasksAndNumbersTheCopies) {
    addTasks();
    const std::string before = dataFile();
    EXPECT_EQ(ok({"forecast", "--from", "2024-05-10T09:00", "--count", "4"}),
              (std::vector<std::string>{
                  "1\t2024-05-10 09:00:00\tDaily",
                  "2\t2024-05-10 10:00:00\tSync",
                  "2\t2024-05-10 15:00:00\tSync",
                  "2\t2024-05-10 20:00:00\tSync",
                  "2\t2024-05-11 01:00:00\tSync",
                  "1\t2024-05-11 09:00:00\tDaily\tskip",
                  "1\t2024-05-12 09:00:00\tDaily\tskip",
                  // Made when Friday's run fires, after the last task (3) and
                  // before that run's history record.
                  "4\t2024-05-13 09:00:00\tDaily",
              }));
    // Runs already due are not coming runs.
    EXPECT_EQ(ok({"forecast", "--from", "2024-05-10T09:30", "--count", "1", "--id", "1"}),
              std::vector<std::string>{"1\t2024-05-11 09:00:00\tDaily\tskip"});
    EXPECT_TRUE(dataFile() == before) << "the data file changed";
    EXPECT_EQ(cli({"forecast", "--id", "99"}).status, 2);
    EXPECT_EQ(cli({"forecast", "--count", "0"}).status, 2);
    EXPECT_EQ(cli({"forecast", "--from", "2024-02-30"}).status, 2);
}

TEST_F(CliScheduler, SimulateAgreesWithTheForecastAndLeavesTheFileAlone) {
    addTasks();
    const std::string before = dataFile();
    const auto events =
        ok({"simulate", "--from", "2024-05-10T08:00", "--to", "2024-05-13T09:30", "--answer", "yes"});
    EXPECT_TRUE(dataFile() == before) << "the data file changed";
    std::vector<std::string> fires;
    for (const std::string& line : events) {
        if (line.find("\tfire\t") != std::string::npos) fires.push_back(line);
    }
    ASSERT_GE(fires.size(), 3u);
    EXPECT_EQ(fires[0], "2024-05-10 09:00:00\tfire\t1 Daily");
    EXPECT_EQ(fires[1], "2024-05-10 10:00:00\tfire\t2 Sync");
    // Monday: the entry itself, then the copies made on Friday (4) and Saturday.
    EXPECT_EQ(fires[fires.size() - 3], "2024-05-13 09:00:00\tfire\t1 Daily");
    EXPECT_EQ(fires[fires.size() - 2], "2024-05-13 09:00:01\tfire\t4 Daily");
    const std::vector<std::string> kinds = {"fire",    "message", "run",    "question",
                                            "warning", "log",     "history"};
    for (const std::string& line : events) {
        const auto first = line.find('\t');
        const auto second = line.find('\t', first + 1);
        ASSERT_NE(second, std::string::npos) << line;
        EXPECT_EQ(first, 19u) << line;
        const std::string kind = line.substr(first + 1, second - first - 1);
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), kind), kinds.end()) << line;
    }
    EXPECT_NE(
        std::find(events.begin(), events.end(),
                  "2024-05-10 10:00:00\tquestion\tConfirm Task: Sync is due to run.  Run it now? -> Yes"),
        events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "2024-05-10 10:00:00\trun\t2 sync.sh"), events.end());
}

TEST_F(CliScheduler, SimulateInPlaceMovesTheTasksOn) {
    addTasks();
    const auto events =
        ok({"simulate", "--from", "2024-05-10T08:00", "--to", "2024-05-10T12:00", "--in-place"});
    // The question's default is No: skipped, logged, recorded.
    EXPECT_NE(std::find(events.begin(), events.end(), "2024-05-10 10:00:00\tlog\tTask skipped: Sync"),
              events.end());
    EXPECT_EQ(ok({"forecast", "--from", "2024-05-10T12:00", "--count", "1", "--id", "2"}),
              std::vector<std::string>{"2\t2024-05-10 15:00:00\tSync"});
    EXPECT_EQ(cli({"simulate", "--from", "2024-05-10", "--to", "2024-05-09"}).status, 2);
    EXPECT_EQ(cli({"simulate", "--from", "2024-05-10"}).status, 2);
}

}  // namespace
}  // namespace plorix::test
