#include "store/served_files.h"

#include <filesystem>
#include <map>
#include <mutex>

#include "runtime/file_names.h"

namespace plorix::store {

namespace {

std::mutex servedMutex;
std::map<std::string, ServerAddress>& served() {
    static std::map<std::string, ServerAddress> files;
    return files;
}

}  // namespace

bool connectionLost(const ErrorState& error) {
    return error.code == kFileSystemError && error.driverText.starts_with(kConnectionLost);
}

bool isServerUrl(std::string_view text) {
    return text.starts_with("postgresql://") || text.starts_with("postgres://");
}

std::string absoluteFileName(const std::string& filePath) {
    std::error_code ec;
    return std::filesystem::absolute(normaliseSeparators(filePath), ec).lexically_normal().string();
}

void serveFile(const std::string& filePath, const ServerAddress& server) {
    const std::string name = absoluteFileName(filePath);
    std::lock_guard lock(servedMutex);
    if (server.url.empty()) {
        served().erase(name);
    } else {
        served()[name] = server;
    }
}

std::optional<ServerAddress> servedFrom(const std::string& filePath) {
    std::lock_guard lock(servedMutex);
    if (served().empty()) return std::nullopt;  // the usual case: nothing to resolve
    auto it = served().find(absoluteFileName(filePath));
    if (it == served().end()) return std::nullopt;
    return it->second;
}

}  // namespace plorix::store
