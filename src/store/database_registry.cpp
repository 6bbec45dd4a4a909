// The process-wide list of open data files: one connection per file, key,
// access and thread, shared by the tables of that thread that use it and
// closed with the last. Work on a worker thread so gets a connection of its
// own, and its transactions stay apart from the window thread's: the other
// side finds the file busy, as it would another station's.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <thread>

#include "store/database.h"
#include "store/postgres/pg_connection.h"
#include "store/served_files.h"
#include "store/sql_error.h"
#include "store/sqlite/sqlite_connection.h"
#include "runtime/file_names.h"

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

// This process's id, asked of the system once and again in a child after
// fork: asking at every open would cost a system call per table.
std::atomic<pid_t> knownProcess{0};

void forgetProcess() { knownProcess.store(0, std::memory_order_relaxed); }

pid_t currentProcess() {
    static const int watched = pthread_atfork(nullptr, nullptr, forgetProcess);
    (void)watched;
    pid_t pid = knownProcess.load(std::memory_order_relaxed);
    if (pid == 0) {
        pid = getpid();
        knownProcess.store(pid, std::memory_order_relaxed);
    }
    return pid;
}

std::string threadName() {
    std::ostringstream name;
    name << std::this_thread::get_id();
    return name.str();
}

// Entries whose connection has closed (a worker thread's, once it ended).
void forgetClosed(std::map<std::string, Entry>& entries) {
    std::erase_if(entries, [](const auto& entry) { return entry.second.database.expired(); });
}

bool identify(const std::string& path, dev_t& device, ino_t& inode, off_t* size = nullptr) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    device = st.st_dev;
    inode = st.st_ino;
    if (size) *size = st.st_size;
    return true;
}

// SQLite would create the file readable by everyone the umask allows; the
// records are the user's own.
int createPrivate(const std::string& path, ErrorState& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) {
        error = storeError(kFileSystemError);
        error.driverCode = errno;
        error.driverText = std::strerror(errno);
        return error.code;
    }
    if (fd >= 0) ::close(fd);
    return kNoError;
}

}  // namespace

// The tables of a served file share one connection per server, schema,
// access and thread; the file itself is never looked at.
std::shared_ptr<Database> Database::acquireServed(const ServerAddress& server, const Options& options,
                                                  ErrorState& error) {
    const std::string id = "server\n" + server.url + '\n' + server.schema + '\n' +
                           (options.readOnly ? "r" : "w") + '\n' + threadName();
    auto& entries = registry();
    if (auto it = entries.find(id); it != entries.end()) {
        auto database = it->second.database.lock();
        if (database && it->second.process == currentProcess()) {
            error = storeError(kNoError);
            return database;
        }
        entries.erase(it);
    }
    auto connection = openServer(server, options, error);
    if (!connection) return nullptr;
    std::shared_ptr<Database> database(new Database(
        std::move(connection), hidePassword(server.url, server.url) + "#" + server.schema, options.readOnly));
    forgetClosed(entries);
    entries[id] = Entry{database, 0, 0, currentProcess()};
    return database;
}

std::shared_ptr<Database> Database::acquire(const std::string& name, const std::string& password,
                                            const Options& options, ErrorState& error) {
    std::lock_guard lock(registryMutex);
    if (auto server = servedFrom(name)) return acquireServed(*server, options, error);
    // One look at the file tells whether it exists under the name given and
    // which file it is; only a name in another letter case is searched for.
    const auto absoluteOf = [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::absolute(path, ec).lexically_normal().string();
    };
    const std::string given = normaliseSeparators(name);
    std::string absolute = absoluteOf(given);
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    bool exists = identify(absolute, device, inode, &size);
    if (!exists) {
        absolute = absoluteOf(findFileNoCase(given));
        exists = identify(absolute, device, inode, &size);
    }
    const std::string id =
        absolute + '\n' + password + '\n' + (options.readOnly ? "r" : "w") + '\n' + threadName();
    auto& entries = registry();
    if (auto it = entries.find(id); it != entries.end()) {
        // A file deleted or replaced since keeps its old connection for the
        // tables still using it; newcomers get the file now on disk.
        auto database = it->second.database.lock();
        if (database && exists && it->second.device == device && it->second.inode == inode &&
            it->second.process == currentProcess()) {
            error = storeError(kNoError);
            return database;
        }
        entries.erase(it);
    }
    if (!exists && !options.create) {
        error = storeError(kFileNotFound);
        return nullptr;
    }
    // SQLite takes an empty file for a new database; only a caller that
    // means to create one may (a truncated data file must not look new).
    if (exists && size == 0 && !options.create) {
        error = storeError(kInvalidDataFile);
        return nullptr;
    }
    if (!exists && !options.readOnly && createPrivate(absolute, error) != kNoError) return nullptr;
    auto connection = openDataFile(absolute, password, options, error);
    if (!connection) {
        if (!exists) std::remove(absolute.c_str());  // leave no empty file behind
        return nullptr;
    }
    std::shared_ptr<Database> database(new Database(std::move(connection), absolute, options.readOnly));
    identify(absolute, device, inode);
    forgetClosed(entries);
    entries[id] = Entry{database, device, inode, currentProcess()};
    return database;
}

}  // namespace plorix::store
