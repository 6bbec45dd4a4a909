#pragma once
// One connection to the X display, opened at its first use and shared by
// the window search, the keyboard and the bell. Kept apart from the Qt
// sources: Xlib's macros (Bool, Status, None) clash with Qt.
//
// X errors never end the program here: a window that vanishes between
// being listed and being read answers BadWindow, which is trapped and turns
// into "nothing found". A connection whose server went away is given up at
// the next use, which tries to open the display again.

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <array>
#include <string>

namespace plorix::platform {

// The atoms the desktop operations use, interned in one round trip.
enum class XAtom {
    NetClientList,
    NetClientListStacking,
    NetActiveWindow,
    NetWmName,
    Utf8String,
    NetWmPid,
    NetCloseWindow,
    WmProtocols,
    WmDeleteWindow,
    NetSupportingWmCheck,
    NetWmState,
    NetWmStateHidden,
    NetWmStateMaximizedVert,
    NetWmStateMaximizedHorz,
    WmChangeState,
    WmState,
    Count,
};

class X11Connection {
public:
    // `displayName` empty: $DISPLAY.
    explicit X11Connection(std::string displayName = {});
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // The display, opened now if need be; nullptr when none can be reached.
    // The first failure is reported once on standard error. Every operation
    // calls this once at its start and then works with current() and xcb(),
    // which never change the connection under it.
    Display* display();
    Display* current() const { return display_; }
    // The same connection for pipelined requests; nullptr without a display.
    xcb_connection_t* xcb() const;
    ::Window root() const { return root_; }
    xcb_atom_t atom(XAtom which) const {
        return static_cast<xcb_atom_t>(atoms_[static_cast<std::size_t>(which)]);
    }

    // Whether a window manager that follows the EWMH runs: its check window
    // must still exist, as a dead manager can leave the root's property behind.
    bool windowManagerRuns() const;

private:
    void open();
    void drop();
    bool broken() const;  // the server went away or the connection failed
    static void onIoError(Display* display, void* self);

    std::string name_;
    Display* display_ = nullptr;
    ::Window root_ = 0;
    std::array<Atom, static_cast<std::size_t>(XAtom::Count)> atoms_{};
    bool lost_ = false;
};

// Catches the X errors of one display while it lives, instead of Xlib's
// default of printing and exiting. Requests made through Xlib report their
// errors asynchronously, so check failed() only after a round trip (XSync).
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;
    // Syncs with the server and tells whether any request failed meanwhile.
    bool failed();

private:
    Display* display_;
    XErrorTrap* outer_;
    int errors_ = 0;
    friend int trapHandler(Display*, XErrorEvent*);
};

// Installs, once per process and before the first connection, Xlib's
// thread locks and the handlers that keep X errors from ending the program
// (errors outside a trap are dropped silently).
void installXErrorHandler();

}  // namespace plorix::platform
