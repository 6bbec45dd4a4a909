#pragma once
// Gives a started program's first window the window mode it was started
// with (minimized, maximized, without focus ...). The window shows up some
// time after the start, so a worker thread with a display connection of its
// own looks for it, by the process id in _NET_WM_PID, for a while.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/processes.h"

namespace plorix::platform {

class WindowModeWatcher {
public:
    explicit WindowModeWatcher(std::string displayName);
    ~WindowModeWatcher();
    WindowModeWatcher(const WindowModeWatcher&) = delete;
    WindowModeWatcher& operator=(const WindowModeWatcher&) = delete;

    // Applies `mode` to the first window of `pid` once it appears.
    void watch(int pid, WindowMode mode);

    // How long a program may take to show its first window.
    static constexpr std::chrono::seconds kPatience{30};

private:
    struct Pending {
        int pid;
        WindowMode mode;
        std::chrono::steady_clock::time_point deadline;
        unsigned long activeBefore = 0;  // 0 until the worker has looked
        bool looked = false;
    };
    void run();

    std::string displayName_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Pending> pending_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace plorix::platform
