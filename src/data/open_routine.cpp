#include "data/open_routine.h"

#include <atomic>
#include <map>
#include <mutex>

#include "data/fatal_error.h"
#include "data/warnings.h"

namespace plorix::data {
namespace {

constexpr std::string_view kMustUpgrade =
    "The databases must be upgraded before using this version.  Consult your documentation "
    "for instructions on this.";
constexpr std::string_view kDiskError = "Disk Error";

std::atomic<int> recoverWait{10};

std::mutex countsMutex;
std::map<const Table*, int>& counts() {
    static std::map<const Table*, int> c;
    return c;
}

bool opened(int code) { return code == kNoError || code == kFileAlreadyOpen; }

// Converts an older layout in place and opens again; true when it is open.
bool upgradeAndReopen(Table& table, int mode) {
    if (table.upgrade() != kNoError) return false;
    return opened(table.open(mode));
}

}  // namespace

void setRecoverSeconds(int seconds) { recoverWait = seconds; }
int recoverSeconds() { return recoverWait; }

void openTable(Table& table, Prompter& prompter, int mode, bool create, bool noCreate,
               bool shared) {
    const int m = shared ? kReadWriteDenyNone : mode;
    const std::string& name = table.name();

    int code = table.open(m);
    if (code == kFileLocked) {
        table.sendOption("Recover=" + std::to_string(recoverWait.load()));
        code = table.open(m);
    }
    if (opened(code)) return;

    if (code == kFileNotFound && !noCreate) {
        // A missing file is expected on the first start: made without a word.
        if (!create) standardWarning(prompter, 4, name);
        if (table.create() != kNoError) standardWarning(prompter, 4, name);
        if (!opened(table.open(m))) standardWarning(prompter, 5, name);
        return;
    }
    if (code == kKeyMustBeRebuilt) {
        if (standardWarning(prompter, 2, name) == kYes) {
            if (table.buildKeys() != kNoError) standardWarning(prompter, 3, name);
            code = table.open(m);
        }
    } else if (code == kInvalidRecordDeclaration) {
        if (upgradeAndReopen(table, m)) return;
        throw FatalError(std::string(kMustUpgrade));
    }
    if (opened(code)) return;

    if ((code == kInvalidDataFile || code == kInvalidKeyLength || code == kFileSystemError) &&
        upgradeAndReopen(table, m))
        return;
    standardWarning(prompter, 30, name);
    throw FatalError(std::string(kDiskError));
}

void acquireTable(Table& table, Prompter& prompter, const OpenOptions& options) {
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

void releaseTable(Table& table) {
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

int useCount(const Table& table) {
    std::lock_guard lock(countsMutex);
    auto it = counts().find(&table);
    return it == counts().end() ? 0 : it->second;
}

TableUse::TableUse(Table& table, Prompter& prompter, const OpenOptions& options)
    : table_(&table) {
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
