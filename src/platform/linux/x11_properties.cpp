#include "platform/linux/x11_properties.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace plorix::platform {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Collects a reply, freeing the error a vanished window leaves instead.
template <typename T, typename Cookie, typename Fetch>
Reply<T> collect(xcb_connection_t* connection, Cookie cookie, Fetch fetch) {
    xcb_generic_error_t* error = nullptr;
    Reply<T> reply(fetch(connection, cookie, &error));
    std::free(error);
    return reply;
}

PropertyValue toValue(const xcb_get_property_reply_t* reply) {
    PropertyValue value;
    if (reply == nullptr || reply->type == XCB_NONE) return value;
    value.present = true;
    value.type = reply->type;
    value.format = reply->format;
    const int length = xcb_get_property_value_length(reply);
    value.bytes.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                       static_cast<std::size_t>(length));
    return value;
}

xcb_get_property_cookie_t send(xcb_connection_t* connection, const PropertyRequest& r) {
    return xcb_get_property(connection, 0, r.window, r.property, r.type, 0, (r.maxBytes + 3) / 4);
}

}  // namespace

std::vector<std::uint32_t> PropertyValue::words() const {
    std::vector<std::uint32_t> result;
    if (format != 32) return result;
    result.resize(bytes.size() / 4);
    // An empty property (a window going away) has no words to copy.
    if (!result.empty()) std::memcpy(result.data(), bytes.data(), result.size() * 4);
    return result;
}

std::vector<PropertyValue> readProperties(xcb_connection_t* connection,
                                          const std::vector<PropertyRequest>& requests) {
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(requests.size());
    for (const PropertyRequest& r : requests) cookies.push_back(send(connection, r));
    std::vector<PropertyValue> values;
    values.reserve(requests.size());
    for (const xcb_get_property_cookie_t& cookie : cookies)
        values.push_back(
            toValue(collect<xcb_get_property_reply_t>(connection, cookie, xcb_get_property_reply).get()));
    return values;
}

PropertyValue readProperty(xcb_connection_t* connection, const PropertyRequest& request) {
    return toValue(
        collect<xcb_get_property_reply_t>(connection, send(connection, request), xcb_get_property_reply)
            .get());
}

std::vector<xcb_window_t> readWindowList(xcb_connection_t* connection, xcb_window_t window,
                                         xcb_atom_t property) {
    const PropertyValue value = readProperty(connection, {window, property, XCB_ATOM_WINDOW, 1u << 20});
    const std::vector<std::uint32_t> words = value.words();
    return {words.begin(), words.end()};
}

std::optional<std::uint32_t> readCardinal(xcb_connection_t* connection, xcb_window_t window,
                                          xcb_atom_t property, xcb_atom_t type) {
    const std::vector<std::uint32_t> words = readProperty(connection, {window, property, type, 4}).words();
    if (words.empty()) return std::nullopt;
    return words.front();
}

std::vector<xcb_window_t> childWindows(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        collect<xcb_query_tree_reply_t>(connection, xcb_query_tree(connection, window), xcb_query_tree_reply);
    if (!reply) return {};
    const xcb_window_t* children = xcb_query_tree_children(reply.get());
    return {children, children + xcb_query_tree_children_length(reply.get())};
}

xcb_window_t parentWindow(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        collect<xcb_query_tree_reply_t>(connection, xcb_query_tree(connection, window), xcb_query_tree_reply);
    if (!reply || reply->root == window) return 0;
    return reply->parent;
}

}  // namespace plorix::platform
