#include "runtime/file_names.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "runtime/fixed_text.h"

namespace plorix {
namespace fs = std::filesystem;

std::string normaliseSeparators(std::string_view name) {
    std::string result(name);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

namespace {

// The entry of `folder` whose name equals `part` ignoring case: the exact
// spelling when it exists, else the first such name in sorted order so the
// choice does not depend on the order the folder lists its entries in.
std::optional<std::string> matchInFolder(const fs::path& folder, const std::string& part) {
    std::error_code ec;
    if (fs::exists(folder / part, ec)) return part;
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (entry.size() == part.size() && startsWithNoCase(entry, part)) matches.push_back(entry);
    }
    if (matches.empty()) return std::nullopt;
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string findFileNoCase(std::string_view name) {
    const std::string given = normaliseSeparators(name);
    if (given.empty()) return given;
    std::error_code ec;
    if (fs::exists(given, ec)) return given;

    // Walk the path one folder at a time; once a part is missing, the rest
    // cannot exist either, and the name is returned as the user spelled it.
    std::string result;
    std::size_t pos = 0;
    if (given.front() == '/') {
        result = "/";
        pos = 1;
    }
    while (pos <= given.size()) {
        const std::size_t slash = std::min(given.find('/', pos), given.size());
        const std::string part = given.substr(pos, slash - pos);
        if (part.empty() || part == "." || part == "..") {
            if (!part.empty()) result += part;
        } else {
            const auto match = matchInFolder(result.empty() ? fs::path() : fs::path(result), part);
            if (!match) return given;
            result += *match;
        }
        if (slash == given.size()) break;
        if (!result.empty() && result.back() != '/') result += '/';
        pos = slash + 1;
    }
    return result;
}

}  // namespace plorix
