// plorix-cli keeps data safe: the program's files are never replaced by an
// export or a transfer file, numbers are checked, a simulation follows the
// zone's clock, stops at the first failed write and cleans up after itself.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "support/served_run.h"

namespace plorix::test {
namespace {

namespace fs = std::filesystem;

class CliSafety : public ::testing::Test {
protected:
    std::vector<std::string> command(const std::string& folder, std::vector<std::string> args) const {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", (dir / folder).string()});
        return args;
    }
    ProcessResult cli(const std::string& folder, std::vector<std::string> args,
                      const std::map<std::string, std::string>& env = {}) const {
        return runProcess(command(folder, std::move(args)), {}, env);
    }
    void ok(const std::string& folder, std::vector<std::string> args) const {
        const ProcessResult r = cli(folder, std::move(args));
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // Exit status `status` and exactly one line on standard error.
    std::string oneLine(int status, const ProcessResult& r) const {
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
        return r.err;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void addEveryMinute(const std::string& folder) const {
        ok(folder, {"add", "Schedule", "SCH:DESCRIPTION=Often", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=1",
                    "SCH:EVERYTYPE=minute(s)", "SCH:DATE=2024-05-10", "SCH:TIME=09:00",
                    "SCH:TASKTYPE=Run Program", "SCH:COMMAND=true"});
    }
    void SetUp() override {
        for (const char* folder : {"A", "B"}) fs::create_directory(dir / folder);
        // Reachable for the tests that run as another user.
        fs::permissions(dir.path(), fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add);
    }
    TempDir dir{false};
};

TEST_F(CliSafety, NoFileOfTheProgramIsReplacedByAnExportOrATransferFile) {
    PLORIX_FILE_RUN_ONLY("compares the data file's bytes");
    ok("A", {"add", "Schedule", "SCH:DESCRIPTION=Mine"});
    ok("B", {"add", "Todo", "TDO:TODO=Theirs"});
    fs::copy_file(dir / "B/Px97.TPS", dir / "B/backup.dat");
    const std::string theirs = dir.read("B/Px97.TPS");
    // Another folder's data file, under its own name or another.
    for (const char* target : {"B/Px97.TPS", "B/backup.dat"}) {
        EXPECT_NE(oneLine(2, cli("A", {"sync", "send", path(target)})).find("data file"), std::string::npos);
        EXPECT_NE(oneLine(2, cli("A", {"export", "Schedule", path(target)})).find("data file"),
                  std::string::npos);
        EXPECT_TRUE(dir.read(target) == theirs) << target;
    }
    // The program's own files by name, in any letter case, present or not.
    for (const char* name : {"B/PX98.ini", "B/px98evnt.LOG", "B/position.INI"})
        EXPECT_NE(oneLine(2, cli("A", {"export", "Schedule", path(name)})).find(" is the "),
                  std::string::npos);

    // A transfer file may be sent again over itself, but no export replaces it.
    ok("A", {"sync", "send", path("B/x.syn")});
    ok("A", {"sync", "send", path("B/x.syn")});
    oneLine(2, cli("A", {"export", "Schedule", path("B/x.syn")}));
    ok("A", {"export", "Schedule", path("B/x.csv")});
    for (const char* made : {"B/x.syn", "B/x.csv"})
        EXPECT_EQ(fs::status(dir / made).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
    // Written under a temporary name and renamed: nothing else is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "B"), fs::directory_iterator()), 4);
    EXPECT_NE(dir.read("B/x.csv").find("Mine"), std::string::npos);
}

TEST_F(CliSafety, AWritingCommandAddsNoTableToAFileNotOurs) {
    PLORIX_FILE_RUN_ONLY("a file that is not ours");
    ok("A", {"add", "Schedule", "SCH:DESCRIPTION=Mine"});
    ok("A", {"sync", "send", path("x.syn")});
    fs::copy_file(dir / "x.syn", dir / "B/Px97.TPS");
    const std::string copied = dir.read("B/Px97.TPS");
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"add", "Categories", "CAT:CATEGORY=Work"},
          {"tables"},
          {"settings", "LogEvents", "1"}}) {
        const std::string err = oneLine(2, cli("B", command));
        EXPECT_NE(err.find(path("B/Px97.TPS") + " is not a Plorix data file"), std::string::npos) << err;
    }
    EXPECT_EQ(dir.read("B/Px97.TPS"), copied);
}

TEST_F(CliSafety, WorkThatFailsOnTheWayExitsOneWithOneLine) {
    ok("A", {"add", "Schedule", "SCH:DESCRIPTION=Mine"});
    EXPECT_NE(oneLine(1, cli("A", {"export", "Schedule", "/dev/full"})).find("No space left"),
              std::string::npos);
    // A first line too long to read is not an empty file.
    dir.write("long.csv", "\"" + std::string(17000, 'x') + "\"\r\n");
    EXPECT_NE(oneLine(2, cli("A", {"import", "Todo", path("long.csv")})).find("longer than 16,000"),
              std::string::npos);
}

TEST_F(CliSafety, AFullDiskIsToldInOneLine) {
    PLORIX_FILE_RUN_ONLY("the data file on a full disk");
    // A file system of 400 KB of its own, mounted where only the commands
    // run by `script` see it.
    const auto onTinyDisk = [&](const std::string& script) {
        fs::create_directory(dir / "tiny");
        return runProcess({"/usr/bin/unshare", "-rm", "/bin/sh", "-c",
                           "mount -t tmpfs -o size=400k tmpfs '" + path("tiny") + "' || exit 99\n" + script});
    };
    if (onTinyDisk("true").status != 0) GTEST_SKIP() << "cannot mount a file system here";
    const std::string cli = std::string("'") + PLORIX_CLI_PATH + "' -d '" + path("tiny") + "' ";
    std::string csv = "\"TDO:ToDo\"\r\n";
    for (int i = 0; i < 3000; ++i)
        csv += "\"item " + std::to_string(i) + " " + std::string(200, 'x') + "\"\r\n";
    dir.write("items.csv", csv);
    // The batch that does not fit: its count and the first line numbers.
    const ProcessResult import = onTinyDisk(cli + "tables >/dev/null && exec " + cli + "import Todo '" +
                                            path("items.csv") + "' --by-name");
    EXPECT_NE(oneLine(1, import).find("disk is full"), std::string::npos);
    EXPECT_NE(import.err.find("(3000 lines were not imported: 2, 3, 4,"), std::string::npos) << import.err;
    EXPECT_LT(import.err.size(), 300u);

    // No room for the scratch copy of a simulation.
    dir.write("A/big.csv", csv);
    ok("A", {"import", "Todo", path("A/big.csv"), "--by-name"});
    const ProcessResult simulate =
        onTinyDisk("TMPDIR='" + path("tiny") + "' exec '" + PLORIX_CLI_PATH + "' -d '" + path("A") +
                   "' simulate --from 2024-05-10 --to 2024-05-11");
    EXPECT_NE(oneLine(1, simulate).find("cannot copy the data file"), std::string::npos);
}

TEST_F(CliSafety, NumbersGivenByTheUserAreChecked) {
    EXPECT_NE(oneLine(2, cli("A", {"add", "Scripting", "SCR:ID=", "SCR:ACTION=Set Value"})).find("SCR:ID"),
              std::string::npos);
    ok("A", {"add", "Schedule", "SCH:DESCRIPTION=Mine"});
    EXPECT_NE(oneLine(2, cli("A", {"forecast", "--count", "99999999999999999999"})).find("--count"),
              std::string::npos);
    EXPECT_NE(oneLine(2, cli("A", {"set", "Schedule", "#x1", "SCH:DESCRIPTION=y"})).find("'x1'"),
              std::string::npos);
}

TEST_F(CliSafety, ForecastStreamsTheRunsOfManyTasksInOrder) {
    std::string csv =
        "\"SCH:Description\",\"SCH:ScheduleType\",\"SCH:Every\",\"SCH:EveryType\",\"SCH:Time\","
        "\"SCH:TaskType\"\r\n";
    for (int i = 0; i < 1000; ++i)
        csv += "\"T" + std::to_string(i) + "\",\"Custom\"," + std::to_string(7 + i % 50) +
               ",\"minute(s)\",\"0" + std::to_string(i % 10) + ":" + std::to_string(10 + i % 50) +
               "\",\"Run Program\"\r\n";
    dir.write("tasks.csv", csv);
    ok("A", {"import", "Schedule", path("tasks.csv"), "--by-name"});
    // A hundred million runs are asked for: the first ones come at once,
    // in time order, from every task.
    std::string pipeline;
    for (const std::string& word :
         command("A", {"forecast", "--from", "2024-05-10T00:00", "--count", "100000"}))
        pipeline += "'" + word + "' ";
    const ProcessResult r = runProcess({"/bin/sh", "-c", pipeline + "| head -n 20000"});
    const std::vector<std::string> runs = lines(r.out);
    ASSERT_EQ(runs.size(), 20000u) << r.err;
    std::vector<std::string> moments;
    std::set<std::string> tasks;
    for (const std::string& line : runs) {
        moments.push_back(line.substr(line.find('\t') + 1, 19));
        tasks.insert(line.substr(0, line.find('\t')));
    }
    EXPECT_TRUE(std::is_sorted(moments.begin(), moments.end()));
    EXPECT_EQ(tasks.size(), 1000u);
}

class CliZones : public CliSafety {
protected:
    void SetUp() override {
        CliSafety::SetUp();
        for (const char* zone : {"America/Sao_Paulo", "Australia/Lord_Howe"})
            if (!fs::exists(fs::path("/usr/share/zoneinfo") / zone)) GTEST_SKIP() << "no time zone data";
    }
    void addDaily(const std::string& folder, const std::string& date, const std::string& time) const {
        ok(folder, {"add", "Schedule", "SCH:DESCRIPTION=Daily", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=1",
                    "SCH:EVERYTYPE=day(s)", "SCH:DATE=" + date, "SCH:TIME=" + time,
                    "SCH:TASKTYPE=Run Program", "SCH:COMMAND=true"});
    }
    std::vector<std::string> fires(const std::string& folder, const std::string& zone,
                                   const std::string& from, const std::string& to) const {
        const ProcessResult r = cli(folder, {"simulate", "--from", from, "--to", to}, {{"TZ", zone}});
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> out;
        for (const std::string& line : lines(r.out))
            if (line.find("\tfire\t") != std::string::npos) out.push_back(line.substr(0, line.find('\t')));
        return out;
    }
};

TEST_F(CliZones, SimulationReadsTheClockAsTheZoneShowsIt) {
    PLORIX_FILE_RUN_ONLY("two data folders: the programs a test starts share its one served data set");
    // Sao Paulo, 4 November 2018: midnight became 01:00.
    addDaily("A", "2018-11-02", "00:30");
    EXPECT_EQ(fires("A", "America/Sao_Paulo", "2018-11-02T00:00", "2018-11-06T02:00"),
              (std::vector<std::string>{"2018-11-02 00:30:00 -03", "2018-11-03 00:30:00 -03",
                                        "2018-11-04 01:00:00 -02", "2018-11-05 00:30:00 -02",
                                        "2018-11-06 00:30:00 -02"}));
    // The forecast keeps the stored plan and says when the clock skips it.
    const ProcessResult plan =
        cli("A", {"forecast", "--from", "2018-11-03T12:00", "--count", "1"}, {{"TZ", "America/Sao_Paulo"}});
    EXPECT_EQ(plan.out, "1\t2018-11-04 00:30:00\tDaily\tin a skipped hour: fires at 2018-11-04 01:00:00\n");

    // Lord Howe, 4 October 2026: 02:00 became 02:30 (a half-hour change).
    addDaily("B", "2026-10-03", "02:15");
    EXPECT_EQ(fires("B", "Australia/Lord_Howe", "2026-10-03T00:00", "2026-10-05T03:00"),
              (std::vector<std::string>{"2026-10-03 02:15:00 +1030", "2026-10-04 02:30:00 +11",
                                        "2026-10-05 02:15:00 +11"}));
    // Away from a change the times stand alone.
    EXPECT_EQ(fires("A", "America/Sao_Paulo", "2018-11-02T00:00", "2018-11-03T02:00"),
              (std::vector<std::string>{"2018-11-02 00:30:00", "2018-11-03 00:30:00"}));
}

TEST_F(CliZones, ARepeatedHalfHourRunsEachMomentOnce) {
    ok("A", {"add", "Schedule", "SCH:DESCRIPTION=Quarter", "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=15",
             "SCH:EVERYTYPE=minute(s)", "SCH:DATE=2026-04-05", "SCH:TIME=01:00", "SCH:TASKTYPE=Run Program",
             "SCH:COMMAND=true"});
    // Lord Howe, 5 April 2026: 02:00 went back to 01:30.
    EXPECT_EQ(fires("A", "Australia/Lord_Howe", "2026-04-05T01:00", "2026-04-05T02:15"),
              (std::vector<std::string>{"2026-04-05 01:00:00 +11", "2026-04-05 01:15:00 +11",
                                        "2026-04-05 01:30:00 +11", "2026-04-05 01:45:00 +11",
                                        "2026-04-05 02:00:00 +1030", "2026-04-05 02:15:00 +1030"}));
}

// Holds the write lock of a data file from a child process, as another
// program writing the file would.
class LockingChild {
public:
    explicit LockingChild(const fs::path& file) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(file.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_start = 0x40000001;  // the byte a writer of the file locks
            lock.l_len = 1;
            const char result = fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
            [[maybe_unused]] const auto written = write(ready[1], &result, 1);
            pause();
            _exit(0);
        }
        close(ready[1]);
        char result = 'n';
        locked_ = read(ready[0], &result, 1) == 1 && result == 'y';
        close(ready[0]);
    }
    ~LockingChild() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    bool locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

TEST_F(CliSafety, SimulateStopsAtTheFirstFailedWrite) {
    PLORIX_FILE_RUN_ONLY("a SQLite lock on the file");
    addEveryMinute("A");
    ok("A", {"tables"});
    const std::vector<std::string> inPlace = {"simulate", "--from",           "2024-05-10T08:00",
                                              "--to",     "2024-05-10T12:00", "--in-place"};
    {
        const LockingChild other(dir / "A/Px97.TPS");
        ASSERT_TRUE(other.locked());
        EXPECT_NE(oneLine(1, cli("A", inPlace)).find("File Is Locked"), std::string::npos);
    }
    // A folder that refuses the write's journal: the tick's own write fails.
    fs::permissions(dir / "A/Px97.TPS", fs::perms::all, fs::perm_options::add);
    const int status = runUnprivileged(
        [&] {
            const ProcessResult r = cli("A", inPlace);
            return r.status == 1 && lines(r.err).size() == 1 && r.err.find("PUT Error") != std::string::npos
                       ? 0
                       : 1;
        },
        dir / "A");
    EXPECT_EQ(status, 0);
    // Nowhere to make the scratch copy.
    EXPECT_NE(oneLine(1, cli("A", {"simulate", "--from", "2024-05-10", "--to", "2024-05-11"},
                             {{"TMPDIR", "/dev/null"}}))
                  .find("scratch"),
              std::string::npos);
}

TEST_F(CliSafety, AnInterruptedSimulationRemovesItsCopy) {
    addEveryMinute("A");
    fs::create_directory(dir / "scratch");
    for (const int signal : {SIGINT, SIGTERM}) {
        const pid_t child = fork();
        if (child == 0) {
            setenv("TMPDIR", path("scratch").c_str(), 1);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            const auto args = command("A", {"simulate", "--from", "2024-05-10", "--to", "2034-05-10"});
            std::vector<char*> argv;
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (fs::is_empty(dir / "scratch") && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_FALSE(fs::is_empty(dir / "scratch"));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well inside the simulation
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(fs::is_empty(dir / "scratch"));
    }
}

}  // namespace
}  // namespace plorix::test
