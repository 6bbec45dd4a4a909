// Without an X display, or after losing it, every desktop operation finds
// nothing and refuses quietly; the program goes on. A private X server
// without a window manager also shows how windows are found then.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "desktop_rig.h"
#include "platform/linux/desktop_linux.h"
#include "script/command_line.h"
#include "support/temp_dir.h"

// Last: Xlib's macros clash with the test framework.
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"
#include "platform/linux/xtest_keyboard.h"

namespace plorix::platform {
namespace {

constexpr const char* kNoDisplay = ":plorix-no-display";

TEST(NoDisplayTest, EverythingFindsNothingAndTheReasonIsToldOnce) {
    ::testing::internal::CaptureStderr();
    {
        LinuxDesktop linux(script::splitCommandLine, kNoDisplay);
        const Desktop& d = desktop();
        for (int round = 0; round < 3; ++round) {
            EXPECT_TRUE(d.windows->topLevelWindows().empty());
            EXPECT_EQ(d.windows->foreground(), kNoWindow);
            EXPECT_EQ(d.windows->focusedWindowText(), "");
            EXPECT_TRUE(d.windows->children(0x400001).empty());
            EXPECT_FALSE(d.windows->activate(0x400001));
            EXPECT_FALSE(d.windows->close(0x400001));
            EXPECT_FALSE(d.keyboard->typeText("x"));
            EXPECT_FALSE(d.keyboard->pressKey(13));
            d.sound->bell();
        }
        EXPECT_EQ(d.clipboard->text(), std::nullopt);
        EXPECT_FALSE(d.clipboard->setText("x"));
        // Programs still start; their window mode just has nothing to act on.
        const StartResult started =
            d.processes->spawn({{"true"}, "", Priority::Normal, WindowMode::Maximized});
        ASSERT_TRUE(started.started());
        EXPECT_TRUE(
            test::waitUntil([&] { return d.processes->poll(started.pid).state != ProcessState::Running; }));
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    const std::string message = "cannot open the X display ':plorix-no-display'";
    ASSERT_NE(said.find(message), std::string::npos) << said;
    EXPECT_EQ(said.find(message, said.find(message) + 1), std::string::npos) << "said once: " << said;
}

TEST(NoDisplayTest, UnsetDisplayIsNamedInTheMessage) {
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    ::unsetenv("DISPLAY");
    ::testing::internal::CaptureStderr();
    X11Connection connection;
    EXPECT_EQ(connection.display(), nullptr);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("(DISPLAY is not set)"), std::string::npos);
    if (old) ::setenv("DISPLAY", saved.c_str(), 1);
}

// An X server of the test's own, without a window manager.
class PrivateServer {
public:
    PrivateServer() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                     "640x480x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // The number comes when the server is ready, ended by a line feed.
        std::string number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~PrivateServer() { stop(); }
    void stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = 0;
    }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = 0;
    std::string name_;
};

TEST(NoDisplayTest, WithoutAManagerTheRootsShownChildrenAreListedAndLosingTheServerIsSurvived) {
    PrivateServer server;
    if (server.name().empty()) GTEST_SKIP() << "Xvfb could not be started";
    X11Connection connection(server.name());
    X11Windows windows(connection);
    XTestKeyboard keyboard(connection);
    Display* d = connection.display();
    ASSERT_NE(d, nullptr);
    ASSERT_FALSE(connection.windowManagerRuns());

    auto make = [&](const char* title, bool map) {
        const ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 50, 50, 0, 0, 0);
        if (*title) XStoreName(d, w, title);
        if (map) XMapWindow(d, w);
        XSync(d, False);
        return w;
    };
    const ::Window shown = make("Shown Without Manager", true);
    make("Never Shown", false);
    make("", true);
    const auto list = windows.topLevelWindows();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, shown);
    EXPECT_EQ(list[0].title, "Shown Without Manager");
    ASSERT_TRUE(windows.activate(shown));
    EXPECT_EQ(windows.foreground(), shown);
    EXPECT_EQ(windows.focusedWindowText(), "Shown Without Manager");

    server.stop();
    EXPECT_TRUE(windows.topLevelWindows().empty());
    EXPECT_FALSE(keyboard.typeText("still here"));
    EXPECT_EQ(windows.foreground(), kNoWindow);
}

}  // namespace
}  // namespace plorix::platform
