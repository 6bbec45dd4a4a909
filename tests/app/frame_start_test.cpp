// The desktop program started as a user starts it, on the test desktop.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {
namespace {

bool haveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// Polls `done` every 50 ms for up to `seconds`.
template <typename F>
bool waitUntil(F done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

std::string findWindow(const std::string& title) {
    auto r = runProcess({"/usr/bin/xdotool", "search", "--name", "^" + title + "$"});
    auto found = lines(r.out);
    return found.empty() ? std::string() : found.front();
}

TEST(FrameStart, WithoutADisplayItSaysSoInOneLine) {
    TempDir dir(false);
    auto r = runProcess({PLORIX_PATH, "-d", dir.path().string()}, {},
                        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    EXPECT_NE(r.status, 0);
    ASSERT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find("display"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "Px97.TPS"));
}

TEST(FrameStart, OpensItsTablesShowsItsTitleAndEndsWhenClosed) {
    if (!haveDisplay()) GTEST_SKIP() << "needs the test desktop (scripts/with-desktop)";
    TempDir dir(false);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl(PLORIX_PATH, PLORIX_PATH, "-d", dir.path().c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string window;
    const bool shown = waitUntil([&] { return !(window = findWindow("Plorix 98 1.7a")).empty(); }, 20);
    EXPECT_TRUE(shown) << "no window titled \"Plorix 98 1.7a\"";
    EXPECT_TRUE(std::filesystem::exists(dir / "Px97.TPS"));

    if (shown) {
        runProcess({"/usr/bin/xdotool", "windowactivate", "--sync", window});
        runProcess({"/usr/bin/xdotool", "key", "--window", window, "alt+F4"});
    }
    int status = 0;
    const bool ended = waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 20);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(ended) << "closing the frame did not end the program";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace plorix::test
