// Kept apart from the Qt sources: Xlib's macros (Bool, Status) clash with Qt.
#include "app/display_check.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace plorix::app {

bool displayReachable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;  // offscreen, wayland ...
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

}  // namespace plorix::app
