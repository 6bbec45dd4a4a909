#include "runtime/data_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace plorix {

namespace fs = std::filesystem;

std::string defaultDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is ignored, as the base-directory rules say.
    if (xdg && *xdg == '/') return (fs::path(xdg) / "plorix").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : "/") / ".local" / "share" / "plorix").string();
}

std::string enterDataFolder(const std::string& folder, bool create) {
    if (create) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) return "cannot create data folder " + folder + ": " + error.message();
    }
    if (chdir(folder.c_str()) != 0) return "cannot use data folder " + folder + ": " + std::strerror(errno);
    return {};
}

std::string fromCaller(const std::string& base, const std::string& path) {
    if (path.empty() || path == "-" || fs::path(path).is_absolute()) return path;
    return (fs::path(base) / path).lexically_normal().string();
}

}  // namespace plorix
