// plorix --headless on a server: a server out of reach is no reason to end
// the service; the run due meanwhile follows once the server is back.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "runtime/clock.h"
#include "server/server_rig.h"
#include "server/server_tasks.h"
#include "support/test_server.h"

namespace plorix::test {
namespace {

using namespace std::chrono_literals;

// The sessions the program holds on the test's database.
constexpr const char* kProgramSessions =
    " FROM pg_stat_activity WHERE datname = current_database() AND application_name LIKE 'plorix:%'";

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

template <typename Done>
bool waitFor(Done done, std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        if (done()) return true;
        std::this_thread::sleep_for(100ms);
    }
    return done();
}

TEST(ServerHeadless, AServerOutOfReachLeavesTheServiceRunningAndTheDueRunFollows) {
    PrivateCluster cluster;
    const Moment now = SystemClock().current();
    const auto start = std::chrono::steady_clock::now();
    const Time first = now.time + 10 * kHundredthsPerSecond;
    if (first + kHundredthsPerMinute > kEndOfDay) GTEST_SKIP() << "too close to midnight";
    const std::string url = cluster.url();
    TempDir folder;
    {
        const ServedFolder served(folder.path(), {url});
        data::Schedule entry = programEveryMinute({now.date, first});
        entry.TASKTYPE = "Display Message";
        entry.DESCRIPTION = "Backup";
        entry.MESSAGE = "Time to back up";
        storeEntry(entry);
        // Every table made now: the program's first start would make them.
        for (const auto* schema : dataFileSchemas()) {
            store::Table table(*schema);
            if (table.open() == store::kFileNotFound) {
                ASSERT_EQ(table.create(), store::kNoError);
            }
        }
    }
    const store::ServerAddress server{url};
    const std::string output = (folder.path() / "headless.out").string();
    const pid_t child = fork();
    if (child == 0) {
        const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        dup2(fd, 2);
        setenv("DISPLAY", "", 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
        execl(PLORIX_PATH, PLORIX_PATH, "--headless", "--database", url.c_str(), "-d", folder.path().c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto running = [child] { return waitpid(child, nullptr, WNOHANG) == 0; };
    ASSERT_TRUE(waitFor(
        [&] { return queryServer(server, std::string("SELECT count(*)") + kProgramSessions) != "0"; }, 10s))
        << readAll(output);
    std::this_thread::sleep_for(1500ms);  // the program settles: its tables open, its listener listening

    // The server goes away over the moment the run is due, then comes back.
    cluster.stop();
    std::this_thread::sleep_until(start + std::chrono::milliseconds((first - now.time) * 10) + 2s);
    EXPECT_TRUE(running()) << readAll(output);
    EXPECT_EQ(readAll(output).find("Backup: Time to back up"), std::string::npos);
    cluster.start();
    EXPECT_TRUE(
        waitFor([&] { return readAll(output).find("Backup: Time to back up") != std::string::npos; }, 40s))
        << readAll(output);
    EXPECT_TRUE(running()) << readAll(output);

    kill(child, SIGTERM);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << readAll(output);
}

}  // namespace
}  // namespace plorix::test
