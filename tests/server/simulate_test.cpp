// simulate on a served data file: a scratch schema of the same database
// unless --in-place, never left behind; and a server that goes away in the
// middle and comes back costs no run and doubles none.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <set>

#include "server/server_rig.h"
#include "support/test_server.h"
#include "server/server_tasks.h"

namespace plorix::test {
namespace {

using scheduler::test::at;

std::vector<std::string> fireLines(const std::string& out) {
    std::vector<std::string> fires;
    for (const auto& line : lines(out))
        if (line.find("\tfire\t") != std::string::npos) fires.push_back(line);
    return fires;
}

// plorix-cli started with its output on a pipe, read as it comes, and its
// errors in a file when one is named.
class Running {
public:
    explicit Running(std::vector<std::string> args, const std::string& errors = {}) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            if (!errors.empty()) freopen(errors.c_str(), "w", stderr);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
    }
    ~Running() {
        if (out_) fclose(out_);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    // The next line, false at the end.
    bool line(std::string& text) {
        char buffer[4096];
        if (!fgets(buffer, sizeof buffer, out_)) return false;
        text = buffer;
        return true;
    }
    void interrupt() { kill(pid_, SIGTERM); }
    // The exit status, or 128 + the signal that ended it.
    int status() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

TEST(ServerSimulate, WorksOnAScratchSchemaThatGoesAndSweepsOnesLeftBehind) {
    const std::string url = ownDatabase();
    TempDir folder;
    {
        const ServedFolder served(folder.path(), {url});
        storeEntry(programEveryMinute(at(2024, 5, 6, 9, 0)));
    }
    // A simulation killed earlier left its schema; nobody holds its lock.
    queryServer({url}, "CREATE SCHEMA plorix_sim_1_00000000");
    const std::vector<std::string> run = {"--database",       url,    "simulate",        "--from",
                                          "2024-05-06T09:00", "--to", "2024-05-06T09:10"};
    const ProcessResult copy = cli(folder.path().string(), run);
    ASSERT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(fireLines(copy.out).size(), 11u) << copy.out;
    EXPECT_EQ(queryServer({url}, "SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'plorix_sim%'"), "0");
    EXPECT_EQ(cli(folder.path().string(), run).out, copy.out);  // the shared schema is as it was

    auto inPlace = run;
    inPlace.push_back("--in-place");
    EXPECT_EQ(cli(folder.path().string(), inPlace).out, copy.out);
    EXPECT_TRUE(fireLines(cli(folder.path().string(), inPlace).out).empty());  // done already

    // Interrupted, it drops its schema all the same.
    Running interrupted({PLORIX_CLI_PATH, "-d", folder.path().string(), "--database", url, "simulate",
                         "--from", "2024-05-06T09:00", "--to", "2025-05-06T09:00"});
    std::string line;
    ASSERT_TRUE(interrupted.line(line));
    interrupted.interrupt();
    EXPECT_EQ(interrupted.status(), 128 + SIGTERM);
    EXPECT_EQ(queryServer({url}, "SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'plorix_sim%'"), "0");
}

TEST(ServerSimulate, AServerStoppedMidwayAndStartedAgainCostsNoRunAndDoublesNone) {
    PrivateCluster cluster;
    TempDir folder;
    {
        const ServedFolder served(folder.path(), {cluster.url()});
        storeEntry(programEveryMinute(at(2024, 5, 6, 0, 0)));
    }
    Running simulate({PLORIX_CLI_PATH, "-d", folder.path().string(), "--database", cluster.url(), "simulate",
                      "--from", "2024-05-06T00:00", "--to", "2024-05-06T23:59", "--in-place"},
                     (folder / "errors").string());
    std::multiset<std::string> fired;  // the moments of the runs
    std::string line;
    bool stopped = false;
    while (simulate.line(line)) {
        if (line.find("\tfire\t") != std::string::npos) fired.insert(line.substr(0, line.find('\t')));
        if (fired.size() == 300 && !stopped) {
            cluster.stop();
            sleep(1);
            cluster.start();
            stopped = true;
        }
    }
    EXPECT_EQ(simulate.status(), 0);
    ASSERT_TRUE(stopped);
    // The stop fell in the middle: the simulation waited for the server.
    EXPECT_NE(folder.read("errors").find("connection to the server was lost"), std::string::npos)
        << folder.read("errors");
    const std::set<std::string> distinct(fired.begin(), fired.end());
    EXPECT_EQ(fired.size(), 24u * 60u);
    EXPECT_EQ(distinct.size(), fired.size());
    EXPECT_EQ(*distinct.begin(), "2024-05-06 00:00:00");
    EXPECT_EQ(*distinct.rbegin(), "2024-05-06 23:59:00");
    // Each run's history record is there once, beside the task.
    const ProcessResult list = cli(folder.path().string(), {"--database", cluster.url(), "list", "Schedule"});
    EXPECT_EQ(lines(list.out).size(), 1u + 1u + 24u * 60u);
}

}  // namespace
}  // namespace plorix::test
