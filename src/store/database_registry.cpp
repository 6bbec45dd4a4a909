// The process-wide list of open data files: one connection per file, key
// and access, shared by the tables that use it and closed with the last.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>

#include "store/database.h"
#include "store/sql_error.h"

namespace plorix::store {

namespace {

struct Entry {
    std::weak_ptr<Database> database;
    dev_t device = 0;
    ino_t inode = 0;
    pid_t process = 0;  // a child process must not use its parent's connection
};

std::mutex registryMutex;
std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> entries;
    return entries;
}

bool identify(const std::string& path, dev_t& device, ino_t& inode) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    device = st.st_dev;
    inode = st.st_ino;
    return true;
}

}  // namespace

std::shared_ptr<Database> Database::acquire(const std::string& path, const std::string& password,
                                            const Options& options, ErrorState& error) {
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    const std::string id = absolute + '\n' + password + '\n' + (options.readOnly ? "r" : "w");

    std::lock_guard lock(registryMutex);
    dev_t device = 0;
    ino_t inode = 0;
    const bool exists = identify(absolute, device, inode);
    auto& entries = registry();
    if (auto it = entries.find(id); it != entries.end()) {
        // A file deleted or replaced since keeps its old connection for the
        // tables still using it; newcomers get the file now on disk.
        auto database = it->second.database.lock();
        if (database && exists && it->second.device == device && it->second.inode == inode &&
            it->second.process == getpid()) {
            error = storeError(kNoError);
            return database;
        }
        entries.erase(it);
    }
    if (!exists && !options.create) {
        error = storeError(kFileNotFound);
        return nullptr;
    }
    sqlite3* db = nullptr;
    if (connect(absolute, password, options, db, error) != kNoError) return nullptr;
    std::shared_ptr<Database> database(new Database(db, absolute, options.readOnly));
    identify(absolute, device, inode);
    entries[id] = Entry{database, device, inode, getpid()};
    return database;
}

}  // namespace plorix::store
