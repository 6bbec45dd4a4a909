#include "desktop_rig.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace plorix::test {

bool displaySet() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

std::string uniqueTitle(const std::string& prefix) {
    static std::atomic<int> count{0};
    return prefix + " " + std::to_string(::getpid()) + "-" + std::to_string(++count);
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

platform::WindowId waitForWindow(platform::Windows& windows, const std::string& title,
                                 std::chrono::milliseconds limit) {
    platform::WindowId found = platform::kNoWindow;
    waitUntil(
        [&] {
            for (const platform::WindowInfo& w : windows.topLevelWindows())
                if (w.title == title) found = w.id;
            return found != platform::kNoWindow;
        },
        limit);
    return found;
}

Child::Child(const std::vector<std::string>& argv) {
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    in_ = input[1];
    out_ = output[0];
}

Child::~Child() {
    if (pid_ > 0 && !ended_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    closeInput();
    if (out_ >= 0) ::close(out_);
}

void Child::closeInput() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
}

std::string Child::lineStarting(const std::string& prefix, bool* found, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    if (found) *found = false;
    for (;;) {
        for (std::size_t newline; (newline = buffer_.find('\n')) != std::string::npos;) {
            std::string line = buffer_.substr(0, newline);
            buffer_.erase(0, newline + 1);
            if (line.rfind(prefix, 0) == 0) {
                if (found) *found = true;
                return line.substr(prefix.size());
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || out_ < 0) return {};
        pollfd fd{out_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[4096];
        const ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0) return {};
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

int Child::wait(std::chrono::milliseconds limit) {
    int status = 0;
    const bool done = waitUntil([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, limit);
    if (!done) return -1;
    ended_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string testAppPath() { return PLORIX_TESTAPP; }

std::vector<std::string> testApp(const std::string& title, const std::string& button) {
    return {testAppPath(), "--title", title, "--button", button};
}

ShownTestApp showTestApp(platform::Windows& windows, const std::string& prefix, const std::string& button) {
    ShownTestApp shown;
    shown.title = uniqueTitle(prefix);
    shown.app = std::make_unique<Child>(testApp(shown.title, button));
    shown.id = waitForWindow(windows, shown.title);
    return shown;
}

}  // namespace plorix::test
