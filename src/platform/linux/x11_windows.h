#pragma once
// The desktop's top-level windows through X11 and the EWMH conventions a
// window manager follows, with the controls of a window taken from the
// accessibility bus where it runs and from X11 child windows otherwise.

#include <memory>
#include <string>

#include "platform/windows.h"

namespace plorix::platform {

class X11Connection;

class X11Windows final : public Windows {
public:
    // Uses (does not own) the shared connection.
    explicit X11Windows(X11Connection& connection);

    std::vector<WindowInfo> topLevelWindows() override;
    std::vector<ChildControl> children(WindowId window) override;
    WindowId foreground() override;
    std::string focusedWindowText() override;
    int processId(WindowId window) override;
    bool activate(WindowId window) override;
    bool restore(WindowId window) override;
    bool close(WindowId window) override;
    WindowId pickByClick(int limitMilliseconds) override;  // x11_pick.cpp

    // The window's title as the list would show it, "" when it has none.
    std::string title(WindowId window);
    // The controls from X11 child windows alone (what children() falls back
    // to where the accessibility bus does not know the window).
    std::vector<ChildControl> childWindowControls(WindowId window);

    // Beyond the interface, for the window modes of started programs:
    // the managed windows of a process, oldest first.
    std::vector<WindowId> windowsOfProcess(int pid);
    bool minimize(WindowId window);
    bool maximize(WindowId window);
    bool hide(WindowId window);

private:
    X11Connection& x_;
};

}  // namespace plorix::platform
