#include "platform/linux/x11_window_mode.h"

#include <algorithm>

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"

namespace plorix::platform {

namespace {

constexpr auto kLookEvery = std::chrono::milliseconds(100);

void apply(X11Windows& windows, WindowId window, WindowMode mode, WindowId activeBefore) {
    switch (mode) {
    case WindowMode::Hidden: windows.hide(window); break;
    case WindowMode::Normal: windows.activate(window); break;
    case WindowMode::Minimized:
        windows.activate(window);
        windows.minimize(window);
        break;
    case WindowMode::Maximized:
        windows.maximize(window);
        windows.activate(window);
        break;
    case WindowMode::MinimizedNoFocus:
        windows.minimize(window);
        if (activeBefore != kNoWindow) windows.activate(activeBefore);
        break;
    case WindowMode::NoFocus:
        if (activeBefore != kNoWindow && activeBefore != window) windows.activate(activeBefore);
        break;
    }
}

}  // namespace

WindowModeWatcher::WindowModeWatcher(std::string displayName) : displayName_(std::move(displayName)) {}

WindowModeWatcher::~WindowModeWatcher() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void WindowModeWatcher::watch(int pid, WindowMode mode) {
    std::lock_guard lock(mutex_);
    pending_.push_back({pid, mode, std::chrono::steady_clock::now() + kPatience});
    if (!worker_.joinable()) worker_ = std::thread(&WindowModeWatcher::run, this);
    wake_.notify_all();
}

void WindowModeWatcher::run() {
    // The worker's own connection: an X connection serves one thread.
    X11Connection connection(displayName_);
    X11Windows windows(connection);
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_.empty()) {
            wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            continue;
        }
        std::vector<Pending> work = pending_;
        lock.unlock();
        // No display: nothing can be shown in a mode; drop the requests.
        const bool haveDisplay = connection.display() != nullptr;
        for (Pending& p : work) {
            if (!haveDisplay) {
                p.deadline = {};
                continue;
            }
            if (!p.looked) {
                // The window that had the focus before the program's own
                // appeared, to give it back for the modes without focus.
                p.activeBefore = windows.foreground();
                p.looked = true;
            }
            const std::vector<WindowId> shown = windows.windowsOfProcess(p.pid);
            if (shown.empty()) continue;
            apply(windows, shown.front(), p.mode, p.activeBefore);
            p.deadline = {};  // done
        }
        lock.lock();
        // Keep what is still waiting, with what the worker learned; requests
        // that came meanwhile stay behind the ones it worked on.
        const auto now = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < work.size(); ++i) pending_[i] = work[i];
        std::erase_if(pending_, [now](const Pending& p) { return p.deadline <= now; });
        if (!pending_.empty()) wake_.wait_for(lock, kLookEvery, [this] { return stopping_; });
    }
}

}  // namespace plorix::platform
