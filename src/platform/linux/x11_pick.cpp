// Pointing at a window: the pointer is grabbed on a connection of its own
// (so a thread may wait for the click while the program's own connection
// goes on), and the window under the click is traced up to the managed
// client window it belongs to.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <poll.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"

namespace plorix::platform {

namespace {

// Another program (or our own button, still pressed) may hold the pointer
// for a moment: the grab is tried this long.
constexpr auto kGrabPatience = std::chrono::milliseconds(1000);

std::vector<Window> clientList(Display* display, Window root) {
    const Atom list = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Window> clients;
    if (XGetWindowProperty(display, root, list, 0, 65536, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && format == 32) {
        const auto* ids = reinterpret_cast<const unsigned long*>(data);
        clients.assign(ids, ids + count);
    }
    if (data) XFree(data);
    return clients;
}

// The root's child that holds `window` (its frame under a window manager).
Window topAncestor(Display* display, Window root, Window window) {
    for (int depth = 0; depth < 32; ++depth) {
        Window rootOut = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &rootOut, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == root || parent == 0) return window;
        window = parent;
    }
    return 0;
}

// Waits for the first button's press and release; the window the press
// fell in (a child of the root), 0 for another button or no click in time.
Window awaitClick(Display* display, int limitMilliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMilliseconds);
    Window pressed = 0;
    unsigned button = 0;
    while (true) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ButtonPress && button == 0) {
                button = event.xbutton.button;
                pressed = event.xbutton.subwindow;
            } else if (event.type == ButtonRelease && button != 0) {
                return button == Button1 ? pressed : 0;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return 0;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()));
    }
}

}  // namespace

WindowId X11Windows::pickByClick(int limitMilliseconds) {
    // A window that vanishes while it is traced answers an error, which the
    // program's handler drops.
    installXErrorHandler();
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return kNoWindow;
    const Window root = DefaultRootWindow(display);
    const Cursor cross = XCreateFontCursor(display, XC_crosshair);
    const auto giveUp = std::chrono::steady_clock::now() + kGrabPatience;
    bool grabbed = false;
    while (!grabbed && std::chrono::steady_clock::now() < giveUp) {
        grabbed = XGrabPointer(display, root, False, ButtonPressMask | ButtonReleaseMask, GrabModeAsync,
                               GrabModeAsync, None, cross, CurrentTime) == GrabSuccess;
        if (!grabbed) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    WindowId picked = kNoWindow;
    if (grabbed) {
        const Window frame = awaitClick(display, limitMilliseconds);
        XUngrabPointer(display, CurrentTime);
        XFlush(display);
        if (frame != 0) {
            for (Window client : clientList(display, root))
                if (client == frame || topAncestor(display, root, client) == frame) picked = client;
        }
    }
    XFreeCursor(display, cross);
    XCloseDisplay(display);
    return picked;
}

}  // namespace plorix::platform
