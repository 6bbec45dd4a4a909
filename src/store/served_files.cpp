#include "store/served_files.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

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

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The passwords of a connection URI as written: the one of the user part
// (which ends, as libpq reads it, at the first "@" before any "/") and
// those of "password=" parameters.
std::vector<std::string_view> passwordsIn(std::string_view url) {
    std::vector<std::string_view> found;
    const auto scheme = url.find("://");
    if (scheme == std::string_view::npos) return found;
    const std::string_view rest = url.substr(scheme + 3);
    const auto at = rest.find_first_of("@/");
    if (at != std::string_view::npos && rest[at] == '@') {
        const std::string_view user = rest.substr(0, at);
        if (const auto colon = user.find(':'); colon != std::string_view::npos)
            found.push_back(user.substr(colon + 1));
    }
    if (const auto query = rest.find('?'); query != std::string_view::npos) {
        std::string_view parameters = rest.substr(query + 1);
        while (!parameters.empty()) {
            const auto end = parameters.find('&');
            const std::string_view parameter = parameters.substr(0, end);
            if (parameter.starts_with("password=")) found.push_back(parameter.substr(9));
            parameters = end == std::string_view::npos ? std::string_view() : parameters.substr(end + 1);
        }
    }
    return found;
}

void replaceAll(std::string& text, const std::string& secret) {
    if (secret.empty()) return;
    for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 4))
        text.replace(at, secret.size(), "****");
}

}  // namespace

std::string hidePassword(std::string text, std::string_view url) {
    for (const std::string_view password : passwordsIn(url)) {
        replaceAll(text, std::string(password));
        replaceAll(text, percentDecoded(password));
    }
    return text;
}

std::string absoluteFileName(const std::string& filePath) {
    std::error_code ec;
    return std::filesystem::absolute(normaliseSeparators(filePath), ec).lexically_normal().string();
}

namespace {

// The store finds a data file whatever its letter case: so is a served one.
std::string servedKey(const std::string& filePath) {
    std::string key = absoluteFileName(filePath);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

}  // namespace

void serveFile(const std::string& filePath, const ServerAddress& server) {
    const std::string name = servedKey(filePath);
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
    auto it = served().find(servedKey(filePath));
    if (it == served().end()) return std::nullopt;
    return it->second;
}

}  // namespace plorix::store
