// Whole-process figures of a desktop program for bench/run-frame:
//   bench_frame first-window TITLE -- COMMAND...
//       milliseconds from the start of COMMAND until a window titled TITLE
//       is on the desktop (listed by the window manager);
//   bench_frame idle SECONDS TITLE -- COMMAND...
//       once a window titled TITLE shows and three seconds have passed, the
//       processor time COMMAND takes over SECONDS (per cent of one core) and
//       its resident memory (kB).
// The program is ended afterwards.

#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/desktop_linux.h"
#include "script/command_line.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

pid_t start(char** argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool windowShown(plorix::platform::Windows& windows, const std::string& title) {
    for (const auto& window : windows.topLevelWindows()) {
        if (window.title == title) return true;
    }
    return false;
}

// User plus system time of the process, in clock ticks.
long long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) {
            stime = std::stoll(field);
            break;
        }
    }
    return utime + stime;
}

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_frame first-window TITLE -- COMMAND...\n"
                 "       bench_frame idle SECONDS TITLE -- COMMAND...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int separator = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            separator = i;
            break;
        }
    }
    if (argc < 4 || separator == 0 || separator + 1 >= argc) return usage();
    const std::string mode = argv[1];
    const bool idle = mode == "idle";
    if (!idle && mode != "first-window") return usage();
    if (separator != (idle ? 4 : 3)) return usage();
    const std::string title = argv[separator - 1];

    plorix::platform::LinuxDesktop desktop(plorix::script::splitCommandLine);
    plorix::platform::Windows& windows = *desktop.parts().windows;
    const auto begun = Clock::now();
    const pid_t pid = start(argv + separator + 1);
    if (pid == 0) {
        std::fprintf(stderr, "bench_frame: cannot start %s\n", argv[separator + 1]);
        return 1;
    }
    while (!windowShown(windows, title)) {
        if (Clock::now() - begun > std::chrono::seconds(60) || waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "bench_frame: no window titled \"%s\"\n", title.c_str());
            stop(pid);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begun).count();
    if (!idle) {
        std::printf("%.0f\n", ms);
        stop(pid);
        return 0;
    }
    const double seconds = std::atof(argv[2]);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const long long before = cpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const long long used = cpuTicks(pid) - before;
    const double percent =
        100.0 * static_cast<double>(used) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
    std::printf("%.2f %ld\n", percent, residentKb(pid));
    stop(pid);
    return 0;
}
