#include "platform/linux/x11_connection.h"

#include <X11/Xlib-xcb.h>

#include "platform/linux/x11_properties.h"

#include <cstdlib>
#include <iostream>
#include <mutex>
#include <set>
#include <vector>

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

namespace {

// Xlib's own handler for a lost connection prints and ends the program;
// ours lets the display's exit handler (X11Connection::onIoError) decide.
int ioErrorHandler(Display*) { return 0; }

// Each display's failure is told once per process, however many
// connections (the worker threads have their own) try it.
bool firstReportOf(const std::string& display) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    return reported.insert(display).second;
}

}  // namespace

void installXErrorHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Worker threads open connections of their own; Xlib's locks must
        // be set up before the first connection, not by whichever opens first.
        XInitThreads();
        XSetErrorHandler(trapHandler);
        XSetIOErrorHandler(ioErrorHandler);
    });
}

XErrorTrap::XErrorTrap(Display* display) : display_(display), outer_(currentTrap) {
    installXErrorHandler();
    currentTrap = this;
}

namespace {

// A round trip, unless the connection has broken (Xlib would stumble).
void syncIfAlive(Display* display) {
    if (display != nullptr && xcb_connection_has_error(XGetXCBConnection(display)) == 0)
        XSync(display, False);
}

}  // namespace

XErrorTrap::~XErrorTrap() {
    syncIfAlive(display_);
    currentTrap = outer_;
}

bool XErrorTrap::failed() {
    syncIfAlive(display_);
    return errors_ > 0 || (display_ != nullptr && xcb_connection_has_error(XGetXCBConnection(display_)) != 0);
}

X11Connection::X11Connection(std::string displayName) : name_(std::move(displayName)) {}

X11Connection::~X11Connection() { drop(); }

bool X11Connection::broken() const {
    return display_ != nullptr && (lost_ || xcb_connection_has_error(XGetXCBConnection(display_)) != 0);
}

void X11Connection::drop() {
    if (display_ != nullptr && !broken()) {
        XCloseDisplay(display_);
    } else if (display_ != nullptr) {
        // Xlib cannot be trusted with a connection that broke, not even to
        // close it: the connection is kept, unused, for the process's life.
        // (Held by a pointer that outlives the static destructors.)
        static std::mutex mutex;
        static auto* kept = new std::vector<Display*>;
        std::lock_guard lock(mutex);
        kept->push_back(display_);
    }
    display_ = nullptr;
    lost_ = false;
}

void X11Connection::onIoError(Display*, void* self) {
    // Returning from here (instead of Xlib's default exit) leaves the
    // program running; display() gives the connection up.
    static_cast<X11Connection*>(self)->lost_ = true;
}

void X11Connection::open() {
    installXErrorHandler();
    display_ = XOpenDisplay(name_.empty() ? nullptr : name_.c_str());
    if (display_ == nullptr) {
        const char* env = std::getenv("DISPLAY");
        const std::string which = !name_.empty() ? "'" + name_ + "'"
                                  : env && *env  ? "'" + std::string(env) + "'"
                                                 : "(DISPLAY is not set)";
        if (firstReportOf(which))
            std::cerr << "plorix: cannot open the X display " << which
                      << "; no windows can be found, typed into or closed\n";
        return;
    }
    lost_ = false;
    XSetIOErrorExitHandler(display_, &X11Connection::onIoError, this);
    root_ = DefaultRootWindow(display_);
    XInternAtoms(display_, const_cast<char**>(kAtomNames), static_cast<int>(std::size(kAtomNames)), False,
                 atoms_.data());
}

Display* X11Connection::display() {
    // A server that went away is noticed here, before any Xlib call could
    // stumble over the dead connection; the next use tries to open it anew.
    if (broken()) drop();
    if (display_ == nullptr) open();
    return display_;
}

xcb_connection_t* X11Connection::xcb() const {
    return display_ != nullptr ? XGetXCBConnection(display_) : nullptr;
}

bool X11Connection::windowManagerRuns() const {
    xcb_connection_t* c = xcb();
    if (c == nullptr) return false;
    const xcb_atom_t check = atom(XAtom::NetSupportingWmCheck);
    const auto wmWindow = readCardinal(c, static_cast<xcb_window_t>(root_), check, XCB_ATOM_WINDOW);
    // The manager's check window names itself; a stale property names a
    // window that no longer exists.
    return wmWindow && *wmWindow != 0 && readCardinal(c, *wmWindow, check, XCB_ATOM_WINDOW) == wmWindow;
}

}  // namespace plorix::platform
