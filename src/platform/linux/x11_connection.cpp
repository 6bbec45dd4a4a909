#include "platform/linux/x11_connection.h"

#include <X11/Xlib-xcb.h>

#include "platform/linux/x11_properties.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

namespace plorix::platform {

namespace {

thread_local XErrorTrap* currentTrap = nullptr;

// Same order as XAtom.
constexpr const char* kAtomNames[] = {
    "_NET_CLIENT_LIST",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_ACTIVE_WINDOW",
    "_NET_WM_NAME",
    "UTF8_STRING",
    "_NET_WM_PID",
    "_NET_CLOSE_WINDOW",
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_STATE",
    "_NET_WM_STATE_HIDDEN",
    "_NET_WM_STATE_MAXIMIZED_VERT",
    "_NET_WM_STATE_MAXIMIZED_HORZ",
    "WM_CHANGE_STATE",
    "WM_STATE",
};
static_assert(std::size(kAtomNames) == static_cast<std::size_t>(XAtom::Count));

}  // namespace

int trapHandler(Display* display, XErrorEvent*) {
    for (XErrorTrap* trap = currentTrap; trap != nullptr; trap = trap->outer_)
        if (trap->display_ == display) {
            ++trap->errors_;
            break;
        }
    // Outside a trap the error is dropped: a window that has gone is not a
    // reason to end the program.
    return 0;
}

void installXErrorHandler() {
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(trapHandler); });
}

XErrorTrap::XErrorTrap(Display* display) : display_(display), outer_(currentTrap) {
    installXErrorHandler();
    currentTrap = this;
}

XErrorTrap::~XErrorTrap() {
    if (display_ != nullptr) XSync(display_, False);
    currentTrap = outer_;
}

bool XErrorTrap::failed() {
    if (display_ != nullptr) XSync(display_, False);
    return errors_ > 0;
}

X11Connection::X11Connection(std::string displayName) : name_(std::move(displayName)) {}

X11Connection::~X11Connection() { drop(); }

void X11Connection::drop() {
    // After an I/O error the connection is unusable and closing it would
    // fail too; its memory is left.
    if (display_ != nullptr && !lost_) XCloseDisplay(display_);
    display_ = nullptr;
}

void X11Connection::onIoError(Display*, void* self) {
    // Returning from here (instead of Xlib's default exit) leaves the
    // program running; every later request on this display fails quickly.
    static_cast<X11Connection*>(self)->lost_ = true;
}

void X11Connection::open() {
    installXErrorHandler();
    display_ = XOpenDisplay(name_.empty() ? nullptr : name_.c_str());
    if (display_ == nullptr) {
        if (!reported_) {
            const char* env = std::getenv("DISPLAY");
            const std::string which = !name_.empty() ? "'" + name_ + "'"
                                      : env && *env  ? "'" + std::string(env) + "'"
                                                     : "(DISPLAY is not set)";
            std::cerr << "plorix: cannot open the X display " << which
                      << "; no windows can be found, typed into or closed\n";
            reported_ = true;
        }
        return;
    }
    lost_ = false;
    XSetIOErrorExitHandler(display_, &X11Connection::onIoError, this);
    root_ = DefaultRootWindow(display_);
    XInternAtoms(display_, const_cast<char**>(kAtomNames), static_cast<int>(std::size(kAtomNames)),
                 False, atoms_.data());
}

Display* X11Connection::display() {
    if (lost_) {
        display_ = nullptr;
        lost_ = false;
    }
    if (display_ == nullptr) open();
    return display_;
}

xcb_connection_t* X11Connection::xcb() {
    Display* d = display();
    return d != nullptr ? XGetXCBConnection(d) : nullptr;
}

bool X11Connection::windowManagerRuns() {
    xcb_connection_t* c = xcb();
    if (c == nullptr) return false;
    const xcb_atom_t check = atom(XAtom::NetSupportingWmCheck);
    const auto wmWindow = readCardinal(c, static_cast<xcb_window_t>(root_), check, XCB_ATOM_WINDOW);
    // The manager's check window names itself; a stale property names a
    // window that no longer exists.
    return wmWindow && *wmWindow != 0 && readCardinal(c, *wmWindow, check, XCB_ATOM_WINDOW) == wmWindow;
}

}  // namespace plorix::platform
