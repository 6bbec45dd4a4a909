#pragma once
// A desktop of windows that a test lays out: titles, controls, owning
// processes and the foreground window. Every request is recorded.

#include <string>
#include <vector>

#include "platform/windows.h"

namespace plorix::platform {

struct FakeWindow {
    WindowId id = kNoWindow;
    std::string title;
    std::vector<ChildControl> children;
    int pid = 0;
    bool minimized = false;
};

class FakeWindows final : public Windows {
public:
    // Adds a window on top of the list order; returns its id (never small,
    // as on X11).
    WindowId add(std::string title, std::vector<ChildControl> children = {}, int pid = 0);
    void remove(WindowId window);
    void setTitle(WindowId window, std::string title);
    void setForeground(WindowId window) { foreground_ = window; }
    void setMinimized(WindowId window, bool minimized);
    const FakeWindow* find(WindowId window) const;
    // When true (the default) a close request removes the window at once.
    bool closeRemoves = true;

    // What was asked, in order: "activate", "restore" and "close" with the id.
    struct Request {
        std::string what;
        WindowId window;
        friend bool operator==(const Request&, const Request&) = default;
    };
    const std::vector<Request>& requests() const { return requests_; }
    void clearRequests() { requests_.clear(); }
    // How many times the window list was taken.
    int listings() const { return listings_; }

    std::vector<WindowInfo> topLevelWindows() override;
    std::vector<ChildControl> children(WindowId window) override;
    WindowId foreground() override { return foreground_; }
    std::string focusedWindowText() override;
    int processId(WindowId window) override;
    bool activate(WindowId window) override;
    bool restore(WindowId window) override;
    bool close(WindowId window) override;

private:
    FakeWindow* findMutable(WindowId window);
    std::vector<FakeWindow> windows_;
    std::vector<Request> requests_;
    WindowId nextId_ = 0x1400001;
    WindowId foreground_ = kNoWindow;
    int listings_ = 0;
};

}  // namespace plorix::platform
