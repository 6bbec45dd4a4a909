#pragma once
// Window properties read through XCB on the shared connection, so that the
// properties of hundreds of windows cost one round trip instead of hundreds.
// A window that has gone answers with an error, which reads as "no value".

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plorix::platform {

struct PropertyValue {
    bool present = false;  // false: no such property, or the window is gone
    xcb_atom_t type = 0;
    int format = 0;     // 8, 16 or 32
    std::string bytes;  // the raw value (32-bit items as native uint32)
    std::vector<std::uint32_t> words() const;
};

struct PropertyRequest {
    xcb_window_t window = 0;
    xcb_atom_t property = 0;
    xcb_atom_t type = XCB_GET_PROPERTY_TYPE_ANY;
    std::uint32_t maxBytes = 4096;
};

// Sends every request, then collects the answers, in the same order.
std::vector<PropertyValue> readProperties(xcb_connection_t* connection,
                                          const std::vector<PropertyRequest>& requests);

PropertyValue readProperty(xcb_connection_t* connection, const PropertyRequest& request);

// A list of windows (type WINDOW) or a single 32-bit value.
std::vector<xcb_window_t> readWindowList(xcb_connection_t* connection, xcb_window_t window,
                                         xcb_atom_t property);
std::optional<std::uint32_t> readCardinal(xcb_connection_t* connection, xcb_window_t window,
                                          xcb_atom_t property, xcb_atom_t type);

// The children of a window, bottom to top; empty when it is gone.
std::vector<xcb_window_t> childWindows(xcb_connection_t* connection, xcb_window_t window);
// The parent of a window, 0 for the root or when it is gone.
xcb_window_t parentWindow(xcb_connection_t* connection, xcb_window_t window);

}  // namespace plorix::platform
