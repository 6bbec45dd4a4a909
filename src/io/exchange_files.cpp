#include "data/data_file.h"
#include "io/exchange_files.h"

#include <cstring>
#include <filesystem>

#include "store/store.h"

namespace plorix::io {

std::string fileErrorText(int code) { return storeErrorText(code, std::strerror(code)); }

std::string storeErrorText(int code, std::string_view text) {
    return std::string(kErrorMark) + std::to_string(code) + " - " + std::string(text);
}

std::string cannotCreateTitle(std::string_view file) { return "Cannot CREATE " + std::string(file); }
std::string cannotOpenTitle(std::string_view file) { return "Cannot OPEN " + std::string(file); }
std::string cannotAddTitle(std::string_view fileOrTable) { return "Cannot ADD to " + std::string(fileOrTable); }
std::string cannotCloseTitle(std::string_view file) { return "Cannot CLOSE " + std::string(file); }

void removeMadeFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec)))
        std::filesystem::remove(path, ec);
}

bool isDataFile(const std::string& path) {
    std::error_code ec;
    const std::string dataFile = store::resolveFileName(data::kDataFileName);
    return std::filesystem::equivalent(store::resolveFileName(path), dataFile, ec) && !ec;
}

}  // namespace plorix::io
