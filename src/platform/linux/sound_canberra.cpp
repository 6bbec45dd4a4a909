#include "platform/linux/sound_canberra.h"

#include <canberra.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/linux/x11_connection.h"
#include "runtime/file_names.h"

namespace plorix::platform {

namespace {

std::mutex contextMutex;

// The process's one sound context, made when a device first opens. It is
// never destroyed: destroying it unloads the output module while its
// playback thread may still be draining a sound, which crashes that thread.
ca_context* sharedContext() {
    static ca_context* context = nullptr;
    std::lock_guard lock(contextMutex);
    if (context != nullptr) return context;
    ca_context* made = nullptr;
    if (ca_context_create(&made) != CA_SUCCESS) return nullptr;
    ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "Plorix", CA_PROP_APPLICATION_ID,
                            "org.plorix.Plorix", nullptr);
    // Opened now so that a missing device shows here; the next alarm tries again.
    if (ca_context_open(made) != CA_SUCCESS) {
        ca_context_destroy(made);
        return nullptr;
    }
    context = made;
    return context;
}

std::atomic<std::uint32_t> nextId{1};

}  // namespace

CanberraSound::CanberraSound(X11Connection& connection) : x_(connection) {}

bool CanberraSound::playFile(std::string_view path) {
    // libcanberra gives one answer for "no such file" and "no device", so
    // the file is checked first.
    const std::string file = normaliseSeparators(path);
    std::error_code error;
    if (file.empty() || !std::filesystem::is_regular_file(file, error) || ::access(file.c_str(), R_OK) != 0)
        return false;
    ca_context* c = sharedContext();
    if (c == nullptr) return false;
    return ca_context_play(c, nextId++, CA_PROP_MEDIA_FILENAME, file.c_str(), CA_PROP_CANBERRA_CACHE_CONTROL,
                           "never", nullptr) == CA_SUCCESS;
}

void CanberraSound::bell() {
    if (Display* d = x_.display()) {
        XBell(d, 0);
        XFlush(d);
    }
}

}  // namespace plorix::platform
