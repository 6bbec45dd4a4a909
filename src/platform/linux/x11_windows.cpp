#include "platform/linux/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <optional>

#include "platform/linux/atspi_controls.h"
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_properties.h"
#include "platform/linux/x11_text.h"
#include "runtime/fixed_text.h"

namespace plorix::platform {

namespace {

// Child windows are walked to this depth and count at most.
constexpr int kMaxChildDepth = 8;
constexpr std::size_t kMaxChildWindows = 500;

// EWMH: requests from a pager or a tool like ours carry source indication 2,
// which window managers honour without focus-stealing checks.
constexpr long kSourcePager = 2;
// ICCCM WM_STATE values.
constexpr std::uint32_t kIconicState = 3;

// The titles of many windows in two round trips: _NET_WM_NAME for all,
// then WM_NAME for those without it.
std::vector<std::string> titlesOf(X11Connection& x, const std::vector<xcb_window_t>& windows) {
    xcb_connection_t* c = x.xcb();
    const xcb_atom_t utf8 = x.atom(XAtom::Utf8String);
    std::vector<PropertyRequest> requests;
    requests.reserve(windows.size());
    for (xcb_window_t w : windows) requests.push_back({w, x.atom(XAtom::NetWmName), utf8});
    const std::vector<PropertyValue> names = readProperties(c, requests);

    std::vector<std::string> titles(windows.size());
    std::vector<std::size_t> missing;
    requests.clear();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        titles[i] = names[i].present ? repairUtf8(names[i].bytes) : std::string();
        if (titles[i].empty()) {
            missing.push_back(i);
            requests.push_back({windows[i], XCB_ATOM_WM_NAME});
        }
    }
    const std::vector<PropertyValue> legacy = readProperties(c, requests);
    for (std::size_t k = 0; k < missing.size(); ++k)
        titles[missing[k]] = textPropertyToUtf8(x.current(), legacy[k], utf8);
    for (std::string& t : titles) t = cutToWidth(t, kMaxWindowText);
    return titles;
}

// Without a window manager: the root's mapped children that are not
// pop-ups (override-redirect), topmost first.
std::vector<xcb_window_t> unmanagedTopLevels(X11Connection& x) {
    xcb_connection_t* c = x.xcb();
    std::vector<xcb_window_t> children = childWindows(c, static_cast<xcb_window_t>(x.root()));
    std::reverse(children.begin(), children.end());
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    cookies.reserve(children.size());
    for (xcb_window_t w : children) cookies.push_back(xcb_get_window_attributes(c, w));
    std::vector<xcb_window_t> shown;
    for (std::size_t i = 0; i < children.size(); ++i) {
        xcb_generic_error_t* error = nullptr;
        xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(c, cookies[i], &error);
        std::free(error);
        if (a != nullptr && a->map_state != XCB_MAP_STATE_UNMAPPED && !a->override_redirect)
            shown.push_back(children[i]);
        std::free(a);
    }
    return shown;
}

// The managed client windows, topmost first.
std::vector<xcb_window_t> managedClients(X11Connection& x) {
    xcb_connection_t* c = x.xcb();
    const xcb_window_t root = static_cast<xcb_window_t>(x.root());
    std::vector<xcb_window_t> clients = readWindowList(c, root, x.atom(XAtom::NetClientListStacking));
    if (!clients.empty()) {
        std::reverse(clients.begin(), clients.end());
        return clients;
    }
    return readWindowList(c, root, x.atom(XAtom::NetClientList));
}

// The window's map state; nullopt when there is no such window.
std::optional<std::uint8_t> mapState(xcb_connection_t* c, WindowId window) {
    if (window == kNoWindow || window > 0xFFFFFFFFu) return std::nullopt;
    xcb_generic_error_t* error = nullptr;
    xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window)), &error);
    std::free(error);
    if (a == nullptr) return std::nullopt;
    const std::uint8_t state = a->map_state;
    std::free(a);
    return state;
}

bool exists(xcb_connection_t* c, WindowId window) { return mapState(c, window).has_value(); }

// A client message of 32-bit items to `to` (the root: for the manager).
void sendMessage(X11Connection& x, ::Window to, WindowId window, XAtom type,
                 std::initializer_list<long> items) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<::Window>(window);
    event.xclient.message_type = x.atom(type);
    event.xclient.format = 32;
    std::size_t i = 0;
    for (long item : items) event.xclient.data.l[i++] = item;
    const bool toManager = to == x.root();
    XSendEvent(x.current(), to, False,
               toManager ? SubstructureRedirectMask | SubstructureNotifyMask : NoEventMask, &event);
}

void sendToRoot(X11Connection& x, WindowId window, XAtom type, std::initializer_list<long> items) {
    sendMessage(x, x.root(), window, type, items);
}

// Runs a request on a window that exists, with X errors trapped; false
// when there is no display, no such window, or the server refused.
template <typename Request>
bool onLiveWindow(X11Connection& x, WindowId window, Request request) {
    Display* d = x.display();
    if (d == nullptr || !exists(x.xcb(), window)) return false;
    XErrorTrap trap(d);
    request(d, static_cast<::Window>(window));
    return !trap.failed();
}

// Minimized (ICCCM iconic) or otherwise not shown; a window that is just
// being minimized may be unmapped before its state says so.
bool notShown(X11Connection& x, WindowId window) {
    const auto state = readCardinal(x.xcb(), static_cast<xcb_window_t>(window), x.atom(XAtom::WmState),
                                    x.atom(XAtom::WmState));
    return (state && *state == kIconicState) || mapState(x.xcb(), window) != XCB_MAP_STATE_VIEWABLE;
}

bool takesDeleteWindow(X11Connection& x, WindowId window) {
    const std::vector<std::uint32_t> protocols =
        readProperty(x.xcb(), {static_cast<xcb_window_t>(window), x.atom(XAtom::WmProtocols), XCB_ATOM_ATOM})
            .words();
    return std::find(protocols.begin(), protocols.end(), x.atom(XAtom::WmDeleteWindow)) != protocols.end();
}

// The window's top-level ancestor (a child of the root), 0 when none.
xcb_window_t topLevelOf(xcb_connection_t* c, xcb_window_t window, xcb_window_t root) {
    for (int depth = 0; window != 0 && window != root && depth < 64; ++depth) {
        const xcb_window_t parent = parentWindow(c, window);
        if (parent == root) return window;
        window = parent;
    }
    return 0;
}

}  // namespace

X11Windows::X11Windows(X11Connection& connection) : x_(connection) {}

std::vector<WindowInfo> X11Windows::topLevelWindows() {
    // Replies to XCB requests carry their own errors: no trap needed.
    if (x_.display() == nullptr) return {};
    const std::vector<xcb_window_t> windows =
        x_.windowManagerRuns() ? managedClients(x_) : unmanagedTopLevels(x_);
    const std::vector<std::string> titles = titlesOf(x_, windows);
    std::vector<WindowInfo> list;
    list.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (!titles[i].empty()) list.push_back({windows[i], titles[i]});
    return list;
}

std::string X11Windows::title(WindowId window) {
    if (x_.display() == nullptr || window == kNoWindow) return {};
    return titlesOf(x_, {static_cast<xcb_window_t>(window)}).front();
}

std::vector<ChildControl> X11Windows::children(WindowId window) {
    if (x_.display() == nullptr || !exists(x_.xcb(), window)) return {};
    if (auto controls = AtspiControls::controls(processId(window), title(window))) return *controls;
    return childWindowControls(window);
}

std::vector<ChildControl> X11Windows::childWindowControls(WindowId window) {
    if (x_.display() == nullptr) return {};
    xcb_connection_t* c = x_.xcb();
    // Breadth first, one round trip per level of the tree.
    std::vector<ChildControl> controls;
    std::vector<xcb_window_t> level = {static_cast<xcb_window_t>(window)};
    for (int depth = 0; depth < kMaxChildDepth && !level.empty(); ++depth) {
        std::vector<xcb_window_t> next;
        for (xcb_window_t w : level)
            for (xcb_window_t child : childWindows(c, w)) next.push_back(child);
        if (next.size() + controls.size() > kMaxChildWindows) next.resize(kMaxChildWindows - controls.size());
        std::vector<PropertyRequest> classes;
        for (xcb_window_t w : next) classes.push_back({w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 512});
        const std::vector<PropertyValue> classValues = readProperties(c, classes);
        const std::vector<std::string> texts = titlesOf(x_, next);
        for (std::size_t i = 0; i < next.size(); ++i) {
            // WM_CLASS holds the instance name and then the class name.
            const std::string& raw = classValues[i].bytes;
            const std::size_t end = raw.find('\0');
            std::string className = end == std::string::npos ? std::string() : raw.substr(end + 1);
            className = cutToWidth(repairUtf8(className), kMaxWindowText);
            controls.push_back({className, texts[i].empty() ? std::string("<>") : texts[i]});
        }
        level = std::move(next);
    }
    return controls;
}

WindowId X11Windows::foreground() {
    if (x_.display() == nullptr) return kNoWindow;
    XErrorTrap trap(x_.current());
    xcb_connection_t* c = x_.xcb();
    const xcb_window_t root = static_cast<xcb_window_t>(x_.root());
    if (x_.windowManagerRuns()) {
        const auto active = readCardinal(c, root, x_.atom(XAtom::NetActiveWindow), XCB_ATOM_WINDOW);
        return active && exists(c, *active) ? *active : kNoWindow;
    }
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(x_.current(), &focus, &revert);
    if (focus == PointerRoot || focus == 0) return kNoWindow;
    return topLevelOf(c, static_cast<xcb_window_t>(focus), root);
}

std::string X11Windows::focusedWindowText() {
    if (x_.display() == nullptr) return {};
    XErrorTrap trap(x_.current());
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(x_.current(), &focus, &revert);
    if (focus == PointerRoot || focus == 0) return {};
    // The focus may rest on an untitled inner window of the program.
    xcb_connection_t* c = x_.xcb();
    xcb_window_t w = static_cast<xcb_window_t>(focus);
    for (int depth = 0; w != 0 && w != x_.root() && depth < 64; ++depth) {
        std::string text = titlesOf(x_, {w}).front();
        if (!text.empty()) return text;
        w = parentWindow(c, w);
    }
    return {};
}

int X11Windows::processId(WindowId window) {
    if (x_.display() == nullptr || window == kNoWindow) return 0;
    const auto pid = readCardinal(x_.xcb(), static_cast<xcb_window_t>(window), x_.atom(XAtom::NetWmPid),
                                  XCB_ATOM_CARDINAL);
    return pid ? static_cast<int>(*pid) : 0;
}

bool X11Windows::restore(WindowId window) {
    return onLiveWindow(x_, window, [&](Display* d, ::Window w) {
        // Mapping a minimized window asks the manager to show it again.
        if (notShown(x_, window)) XMapWindow(d, w);
    });
}

bool X11Windows::activate(WindowId window) {
    return onLiveWindow(x_, window, [&](Display* d, ::Window w) {
        if (!x_.windowManagerRuns()) {
            XMapRaised(d, w);
            XSetInputFocus(d, w, RevertToParent, CurrentTime);
            return;
        }
        if (notShown(x_, window)) XMapWindow(d, w);
        sendToRoot(x_, window, XAtom::NetActiveWindow, {kSourcePager, CurrentTime});
        XRaiseWindow(d, w);
        // A manager that already counts the window as active ignores the
        // request, even when the keyboard focus has fallen back to the
        // pointer root meanwhile (its focused program was killed): keys
        // would then go wherever the pointer is. A shown window gets the
        // focus directly as well.
        if (mapState(x_.xcb(), window) == XCB_MAP_STATE_VIEWABLE)
            XSetInputFocus(d, w, RevertToParent, CurrentTime);
    });
}

bool X11Windows::close(WindowId window) {
    return onLiveWindow(x_, window, [&](Display* d, ::Window w) {
        if (x_.windowManagerRuns())
            sendToRoot(x_, window, XAtom::NetCloseWindow, {CurrentTime, kSourcePager});
        else if (takesDeleteWindow(x_, window))
            sendMessage(x_, w, window, XAtom::WmProtocols,
                        {static_cast<long>(x_.atom(XAtom::WmDeleteWindow)), CurrentTime});
        else
            XKillClient(d, w);  // what a window manager does to a window that cannot be asked
    });
}

std::vector<WindowId> X11Windows::windowsOfProcess(int pid) {
    if (x_.display() == nullptr || pid <= 0) return {};
    xcb_connection_t* c = x_.xcb();
    const std::vector<xcb_window_t> windows =
        x_.windowManagerRuns()
            ? readWindowList(c, static_cast<xcb_window_t>(x_.root()), x_.atom(XAtom::NetClientList))
            : unmanagedTopLevels(x_);
    std::vector<PropertyRequest> requests;
    for (xcb_window_t w : windows) requests.push_back({w, x_.atom(XAtom::NetWmPid), XCB_ATOM_CARDINAL, 4});
    const std::vector<PropertyValue> pids = readProperties(c, requests);
    std::vector<WindowId> found;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::vector<std::uint32_t> words = pids[i].words();
        if (!words.empty() && static_cast<int>(words.front()) == pid) found.push_back(windows[i]);
    }
    return found;
}

bool X11Windows::minimize(WindowId window) {
    return onLiveWindow(x_, window, [](Display* d, ::Window w) { XIconifyWindow(d, w, DefaultScreen(d)); });
}

bool X11Windows::maximize(WindowId window) {
    return onLiveWindow(x_, window, [&](Display*, ::Window) {
        constexpr long kAdd = 1;
        sendToRoot(x_, window, XAtom::NetWmState,
                   {kAdd, static_cast<long>(x_.atom(XAtom::NetWmStateMaximizedVert)),
                    static_cast<long>(x_.atom(XAtom::NetWmStateMaximizedHorz)), kSourcePager});
    });
}

bool X11Windows::hide(WindowId window) {
    return onLiveWindow(x_, window, [](Display* d, ::Window w) { XWithdrawWindow(d, w, DefaultScreen(d)); });
}

}  // namespace plorix::platform
