#include "data/open_routine.h"

#include <atomic>
#include <map>
#include <mutex>

#include <filesystem>

#include "data/data_folder.h"
#include "data/fatal_error.h"
#include "data/warnings.h"
#include "runtime/clock.h"

namespace plorix::data {
namespace {

constexpr std::string_view kMustUpgrade =
    "The databases must be upgraded before using this version.  Consult your documentation "
    "for instructions on this.";
constexpr std::string_view kDiskError = "Disk Error";

std::atomic<int> recoverWait{10};

std::mutex countsMutex;
std::map<const store::Table*, int>& counts() {
    static std::map<const store::Table*, int> c;
    return c;
}

bool opened(int code) { return code == store::kNoError || code == store::kFileAlreadyOpen; }

// Rebuilds the keys, moving records that would break a unique key into a
// folder beside the file, and tells the user where they went.
int rebuildKeys(store::Table& table, Prompter& prompter) {
    store::SetAside aside = setAsideFor(table, processClock().current());
    const int code = table.buildKeys(&aside);
    if (code == store::kNoError && aside.moved > 0) {
        const std::string folder = std::filesystem::path(aside.file).parent_path().string();
        prompter.message("Duplicate Records Moved",
                         std::to_string(aside.moved) + " record(s) of " + table.name() +
                             " repeated the key " + aside.keyName +
                             " of an earlier record and were moved to " + folder + " (the file " +
                             std::filesystem::path(aside.file).filename().string() + " and " +
                             std::filesystem::path(aside.csv).filename().string() + ").",
                         Icon::Information, kOk, kOk);
    }
    return code;
}

// Converts an older layout in place and opens again; true when it is open.
bool upgradeAndReopen(store::Table& table, int mode) {
    if (table.upgrade() != store::kNoError) return false;
    return opened(table.open(mode));
}

}  // namespace

void setRecoverSeconds(int seconds) { recoverWait = seconds; }
int recoverSeconds() { return recoverWait; }

void openTable(store::Table& table, Prompter& prompter, int mode, bool create, bool noCreate, bool shared) {
    const int m = shared ? store::kReadWriteDenyNone : mode;
    const std::string& name = table.name();

    int code = table.open(m);
    if (code == store::kFileLocked) {
        table.sendOption("Recover=" + std::to_string(recoverWait.load()));
        code = table.open(m);
    }
    if (opened(code)) return;
    // A file made but never written, in a folder with nothing else of ours,
    // is a first start cut short: it is created as if missing.
    if (code == store::kInvalidDataFile && emptyFileInNewFolder(table)) code = store::kFileNotFound;

    if (code == store::kFileNotFound && !noCreate && !mayAddTableTo(table)) {
        // Another kind of file under our name: adding a table would make it
        // look like ours. Refused as the data file it is not.
        setSavedError({store::kInvalidDataFile, store::errorText(store::kInvalidDataFile)});
        standardWarning(prompter, Warning::FileAccessError, name);
        throw FatalError(std::string(kDiskError));
    }
    if (code == store::kFileNotFound && !noCreate) {
        // A missing file is expected on the first start: made without a word.
        if (!create) standardWarning(prompter, Warning::FileCreationError, name);
        if (table.create() != store::kNoError) standardWarning(prompter, Warning::FileCreationError, name);
        if (!opened(table.open(m))) standardWarning(prompter, Warning::CreatedFileOpenError, name);
        return;
    }
    if (code == store::kKeyMustBeRebuilt) {
        if (standardWarning(prompter, Warning::InvalidKey, name) == kYes) {
            if (rebuildKeys(table, prompter) != store::kNoError)
                standardWarning(prompter, Warning::KeyRebuildError, name);
            code = table.open(m);
        }
    } else if (code == store::kInvalidRecordDeclaration) {
        if (upgradeAndReopen(table, m)) return;
        throw FatalError(std::string(kMustUpgrade));
    }
    if (opened(code)) return;

    if ((code == store::kInvalidDataFile || code == store::kInvalidKeyLength ||
         code == store::kFileSystemError) &&
        upgradeAndReopen(table, m))
        return;
    standardWarning(prompter, Warning::FileAccessError, name);
    throw FatalError(std::string(kDiskError));
}

void acquireTable(store::Table& table, Prompter& prompter, const OpenOptions& options) {
    {
        std::lock_guard lock(countsMutex);
        auto it = counts().find(&table);
        if (it != counts().end()) {
            if (table.isOpen()) {
                ++it->second;
                return;
            }
            // Counted but closed behind our back: start counting afresh.
            counts().erase(it);
        }
    }
    // Opened without the lock held: the open may ask the user, and a window
    // event handled meanwhile may want a table too. A second opener of the
    // same table gets "already open", which counts as success.
    openTable(table, prompter, options.mode, options.create, options.noCreate, options.shared);
    std::lock_guard lock(countsMutex);
    ++counts()[&table];
}

void releaseTable(store::Table& table) {
    std::lock_guard lock(countsMutex);
    auto it = counts().find(&table);
    if (it == counts().end()) return;  // not counted: nothing to give up
    if (--it->second > 0) return;
    counts().erase(it);
    table.close();
}

void resetUseCounts() {
    std::lock_guard lock(countsMutex);
    counts().clear();
}

int useCount(const store::Table& table) {
    std::lock_guard lock(countsMutex);
    auto it = counts().find(&table);
    return it == counts().end() ? 0 : it->second;
}

TableUse::TableUse(store::Table& table, Prompter& prompter, const OpenOptions& options) : table_(&table) {
    acquireTable(table, prompter, options);
}

TableUse::~TableUse() { release(); }

TableUse::TableUse(TableUse&& other) noexcept : table_(other.table_) { other.table_ = nullptr; }

TableUse& TableUse::operator=(TableUse&& other) noexcept {
    if (this != &other) {
        release();
        table_ = other.table_;
        other.table_ = nullptr;
    }
    return *this;
}

void TableUse::release() {
    if (table_) releaseTable(*table_);
    table_ = nullptr;
}

}  // namespace plorix::data
