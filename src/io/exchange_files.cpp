#include "io/exchange_files.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "data/data_file.h"
#include "data/tables.h"
#include "log/event_log.h"
#include "runtime/fixed_text.h"
#include "settings/settings.h"
#include "settings/window_positions.h"
#include "store/file_probe.h"
#include "store/store.h"

namespace plorix::io {

std::string fileErrorText(int code) { return storeErrorText(code, std::strerror(code)); }

std::string storeErrorText(int code, std::string_view text) {
    return std::string(kErrorMark) + std::to_string(code) + " - " + std::string(text);
}

std::string cannotCreateTitle(std::string_view file) { return "Cannot CREATE " + std::string(file); }
std::string cannotOpenTitle(std::string_view file) { return "Cannot OPEN " + std::string(file); }
std::string cannotAddTitle(std::string_view fileOrTable) {
    return "Cannot ADD to " + std::string(fileOrTable);
}
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

namespace {

// The files of a data folder that a chosen name may never replace, in any
// letter case, whatever they hold, and what each is.
struct SystemFile {
    std::string_view name;
    std::string_view what;
};
constexpr std::string_view kDataFile = "data file";
const SystemFile kSystemFiles[] = {
    {data::kDataFileName, kDataFile},
    {settings::kSettingsIni, "settings file"},
    {log::kLogFile, "event log"},
    {std::string_view(settings::kPositionIni).substr(2), "window-position file"},
};

std::string_view systemFileNamed(std::string_view name) {
    for (const SystemFile& file : kSystemFiles)
        if (equalNoCase(file.name, name)) return file.what;
    return {};
}

constexpr std::uintmax_t kSmallestDatabasePage = 512;

// The record labels of the transfer file's tables.
bool transferLabel(std::string_view label) {
    for (const auto* schema :
         {&data::SyncSchedule::schema(), &data::SyncScripting::schema(), &data::SyncTodo::schema()})
        if (label == schema->label) return true;
    return false;
}

}  // namespace

std::string protectedFile(const std::string& path, Replacement by) {
    namespace fs = std::filesystem;
    const std::string name = fs::path(path).filename().string();
    // By name even while missing: the program would take the file for its own.
    const std::string_view system = isDataFile(path) ? kDataFile : systemFileNamed(name);
    if (!system.empty()) return name + " is the " + std::string(system) + "; choose another name.";
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return {};  // new, or a device written directly
    // A database is whole pages, each a power of two from 512 bytes: any
    // other size is no database at all, told without deriving a key (a
    // wrong key costs the passphrase form's quarter million rounds).
    if (const auto size = fs::file_size(path, ec); !ec && size % kSmallestDatabasePage != 0) return {};

    const store::FileProbe probe = store::probeFile(path, std::string(data::kOwnerPassword));
    if (probe.code == store::kInvalidDataFile) return {};  // no keyed tables of ours
    if (probe.code != store::kNoError)
        return "Cannot tell what " + name + " holds (" + store::errorText(probe.code) +
               "); it is left alone.";
    if (probe.tables.empty()) return {};
    // Every table catalogued, each one of the transfer file's.
    const bool transfer = !probe.labels.empty() && probe.tables.size() == probe.labels.size() + 1 &&
                          std::all_of(probe.labels.begin(), probe.labels.end(), transferLabel);
    if (transfer && by == Replacement::TransferFile) return {};
    return name + (transfer ? " is a transfer file" : " is a data file of this program") +
           "; it is left alone: choose another name.";
}

}  // namespace plorix::io
