#include "platform/linux/atspi_controls.h"

#include <atspi/atspi.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "runtime/fixed_text.h"

namespace plorix::platform {

namespace {

// A window's tree is walked to this depth and size at most, so that one
// huge application cannot stall a search.
constexpr int kMaxDepth = 40;
constexpr std::size_t kMaxControls = 2000;
// How long one call on the bus may take (an application that hangs must
// not hang the search), in milliseconds.
constexpr int kCallTimeoutMs = 1500;

struct Unref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
template <typename T>
using Ref = std::unique_ptr<T, Unref>;

std::string takeString(gchar* text) {
    std::string result = text != nullptr ? text : "";
    g_free(text);
    return result;
}

void dropError(GError*& error) {
    if (error != nullptr) g_error_free(error);
    error = nullptr;
}

std::string nameOf(AtspiAccessible* node) {
    GError* error = nullptr;
    std::string name = takeString(atspi_accessible_get_name(node, &error));
    dropError(error);
    return name;
}

// The text a control shows: its name (a button's or a label's caption),
// else the content of a text field.
std::string textOf(AtspiAccessible* node) {
    std::string text = nameOf(node);
    if (!text.empty()) return text;
    Ref<AtspiText> field(atspi_accessible_get_text_iface(node));
    if (!field) return {};
    GError* error = nullptr;
    const gint count = atspi_text_get_character_count(field.get(), &error);
    dropError(error);
    if (count <= 0) return {};
    const gint wanted = static_cast<gint>(std::min<std::size_t>(count, kMaxWindowText));
    text = takeString(atspi_text_get_text(field.get(), 0, wanted, &error));
    dropError(error);
    return text;
}

void collect(AtspiAccessible* node, int depth, std::vector<ChildControl>& out) {
    if (depth > kMaxDepth) return;
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(node, &error);
    dropError(error);
    for (gint i = 0; i < count && out.size() < kMaxControls; ++i) {
        Ref<AtspiAccessible> child(atspi_accessible_get_child_at_index(node, i, &error));
        dropError(error);
        if (!child) continue;
        std::string role = takeString(atspi_accessible_get_role_name(child.get(), &error));
        dropError(error);
        std::string text = textOf(child.get());
        out.push_back({cutToWidth(role, kMaxWindowText),
                       text.empty() ? std::string("<>") : cutToWidth(text, kMaxWindowText)});
        collect(child.get(), depth + 1, out);
    }
}

// The application's top-level node for the window: the one of that name,
// or its only window when the names differ.
Ref<AtspiAccessible> windowNode(AtspiAccessible* application, const std::string& title) {
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(application, &error);
    dropError(error);
    Ref<AtspiAccessible> only;
    for (gint i = 0; i < count; ++i) {
        Ref<AtspiAccessible> window(atspi_accessible_get_child_at_index(application, i, &error));
        dropError(error);
        if (!window) continue;
        if (cutToWidth(nameOf(window.get()), kMaxWindowText) == title) return window;
        if (count == 1) only = std::move(window);
    }
    return only;
}

}  // namespace

bool AtspiControls::available() {
    static const bool connected = [] {
        const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        const char* direct = std::getenv("AT_SPI_BUS_ADDRESS");
        if ((session == nullptr || *session == '\0') && (direct == nullptr || *direct == '\0')) return false;
        // 0: connected now; anything else leaves the library without a bus,
        // and any further call of it would abort the program.
        if (atspi_init() != 0) return false;
        atspi_set_timeout(kCallTimeoutMs, kCallTimeoutMs);
        return true;
    }();
    return connected;
}

std::optional<std::vector<ChildControl>> AtspiControls::controls(int pid, const std::string& title) {
    // Our own windows answer on our own thread, which is busy asking.
    if (pid <= 0 || pid == static_cast<int>(::getpid()) || !available()) return std::nullopt;
    Ref<AtspiAccessible> desktop(atspi_get_desktop(0));
    if (!desktop) return std::nullopt;
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(desktop.get(), &error);
    dropError(error);
    for (gint i = 0; i < count; ++i) {
        Ref<AtspiAccessible> application(atspi_accessible_get_child_at_index(desktop.get(), i, &error));
        dropError(error);
        if (!application) continue;
        const guint owner = atspi_accessible_get_process_id(application.get(), &error);
        dropError(error);
        if (static_cast<int>(owner) != pid) continue;
        // Controls change while a script waits for them: read afresh.
        atspi_accessible_clear_cache(application.get());
        Ref<AtspiAccessible> window = windowNode(application.get(), title);
        if (!window) continue;
        std::vector<ChildControl> found;
        collect(window.get(), 0, found);
        return found;
    }
    return std::nullopt;
}

}  // namespace plorix::platform
