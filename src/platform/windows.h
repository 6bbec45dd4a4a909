#pragma once
// Top-level windows of the desktop: listing them with their titles, their
// child controls, the foreground window, and bringing a window to the front
// or closing it. Matching titles against patterns is not done here; the
// script engine does that on the lists this interface gives.

#include <cstdint>
#include <string>
#include <vector>

namespace plorix::platform {

// An opaque window identifier; 0 means "no window". On X11 it is the client
// window's XID, which is never small, so callers may treat any id as found.
using WindowId = std::uint64_t;
inline constexpr WindowId kNoWindow = 0;

// Longest title and child text a list carries; longer ones are cut.
inline constexpr std::size_t kMaxWindowText = 254;

struct WindowInfo {
    WindowId id = kNoWindow;
    std::string title;  // UTF-8, never empty in a list
};

// One control inside a window (an accessible child, or an X11 child window).
struct ChildControl {
    std::string className;  // role or class name
    std::string text;       // "<>" when the control has no text
};

class Windows {
public:
    virtual ~Windows() = default;

    // The managed top-level windows (shown or minimized: a minimized window
    // can still be brought to the front) that have a non-empty title, in the
    // desktop's own order (topmost first where it tells the stacking order).
    virtual std::vector<WindowInfo> topLevelWindows() = 0;
    // The controls of one window; empty when it has none or is gone.
    virtual std::vector<ChildControl> children(WindowId window) = 0;

    // The window that has the focus, kNoWindow when none.
    virtual WindowId foreground() = 0;
    // The title (or text) of the focused window, "" when none.
    virtual std::string focusedWindowText() = 0;
    // The id of the process that owns the window, 0 when unknown.
    virtual int processId(WindowId window) = 0;

    // Brings the window to the front, un-minimises and activates it.
    // False when the window is gone.
    virtual bool activate(WindowId window) = 0;
    // Un-minimises the window without activating it.
    virtual bool restore(WindowId window) = 0;
    // Asks the window to close, as its close button would.
    virtual bool close(WindowId window) = 0;

    // Lets the user point at a window: the pointer is taken over (a
    // crosshair) until a click, and the top-level window clicked is the
    // answer. kNoWindow after another button than the first, when
    // `limitMilliseconds` pass without a click, or where the desktop cannot
    // pick. Blocks; safe to call from a thread of its own.
    virtual WindowId pickByClick(int limitMilliseconds) {
        (void)limitMilliseconds;
        return kNoWindow;
    }
};

}  // namespace plorix::platform
