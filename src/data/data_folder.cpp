#include "data/data_folder.h"

#include <cstdio>
#include <filesystem>

#include "data/tables.h"
#include "runtime/fixed_text.h"
#include "store/file_probe.h"
#include "store/served_files.h"

namespace plorix::data {

namespace fs = std::filesystem;

namespace {

fs::path tableFile(const store::Table& table) {
    return store::resolveFileName(store::splitStoredName(table.name(), table.schema()).file);
}

bool ofOurs(const fs::path& entry, const fs::path& dataFile) {
    const std::string name = entry.filename().string();
    if (equalNoCase(name, dataFile.filename().string())) return false;
    for (std::string_view ours : kFolderFiles) {
        if (equalNoCase(name, ours)) return true;
    }
    return false;
}

}  // namespace

bool emptyFileInNewFolder(const store::Table& table) {
    const fs::path file = tableFile(table);
    if (store::servedFrom(file.string())) return false;  // its tables are on a server, never in the file
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) != 0 || ec) return false;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (ofOurs(entry.path(), file)) return false;
    }
    return !ec;
}

bool mayAddTables(const std::string& path, std::string_view fileName, const std::string& password) {
    std::error_code ec;
    // A served file's tables are on the server, whatever the file holds.
    if (!store::servedFrom(path)) {
        if (!fs::exists(path, ec)) return !ec;
        // An empty file is new or lost its data: emptyFileInNewFolder decides.
        if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) == 0) return true;
    }
    const store::FileProbe probe = store::probeFile(path, password);
    // A file that cannot be read now (busy, unreadable) is left to the open,
    // which reports why.
    if (probe.code == store::kInvalidDataFile) return false;
    if (probe.code != store::kNoError) return true;
    if (probe.tables.empty()) return true;
    for (const std::string& label : probe.labels) {
        const store::TableSchema* schema = schemaByLabel(label);
        if (schema && equalNoCase(store::splitStoredName(schema->storedName, *schema).file, fileName))
            return true;
    }
    return false;
}

bool mayAddTableTo(const store::Table& table) {
    const std::string file = store::splitStoredName(table.name(), table.schema()).file;
    // The name alone: the table may be named by a path of any folder.
    return mayAddTables(store::resolveFileName(file), fs::path(file).filename().string(),
                        table.schema().password);
}

store::SetAside setAsideFor(const store::Table& table, Moment now) {
    std::error_code ec;
    const fs::path file = fs::absolute(tableFile(table), ec).lexically_normal();
    const CivilDate day = civilFromDate(now.date);
    const Time t = now.time > 0 ? now.time - 1 : 0;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "duplicates-%04d%02d%02d-%02d%02d%02d", day.year, day.month, day.day,
                  static_cast<int>(t / kHundredthsPerHour), static_cast<int>(t / kHundredthsPerMinute % 60),
                  static_cast<int>(t / kHundredthsPerSecond % 60));
    const fs::path folder = (file.has_parent_path() ? file.parent_path() : fs::path(".")) / stamp;
    store::SetAside aside;
    aside.file = (folder / file.filename()).string();
    aside.csv = (folder / (table.schema().label + ".csv")).string();
    return aside;
}

}  // namespace plorix::data
