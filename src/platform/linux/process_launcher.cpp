#include "platform/linux/process_launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/linux/process_names.h"
#include "platform/linux/x11_window_mode.h"

extern char** environ;

namespace plorix::platform {

namespace fs = std::filesystem;

namespace {

// Ended children nobody asked about are kept this long (in number) for a
// later poll; older ones are forgotten.
constexpr std::size_t kMaxEndedKept = 256;

// Nice values of the three priorities: Low is the idle end of the range;
// High needs the privilege to raise priority and stays Normal without it.
int niceValue(Priority priority) {
    switch (priority) {
    case Priority::Low: return 19;
    case Priority::High: return -10;
    case Priority::Normal: break;
    }
    return 0;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

ProcessStatus statusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) {
        const int code = WEXITSTATUS(waitStatus);
        return {code == 0 ? ProcessState::Ended : ProcessState::EndedWithError, code};
    }
    return {ProcessState::EndedWithError, 128 + WTERMSIG(waitStatus)};
}

// Spawn attributes: a process group of its own, default signal handling
// and an empty signal mask whatever this program has set for itself.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawnattr_init(&attr_);
        posix_spawn_file_actions_init(&actions_);
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setpgroup(&attr_, 0);
        posix_spawnattr_setflags(&attr_,
                                 POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        // Nothing of ours is inherited but the three standard streams.
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    void changeFolder(const std::string& folder) {
        posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str());
    }
    int run(pid_t& pid, const std::string& path, const std::vector<std::string>& argv) {
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        return posix_spawn(&pid, path.c_str(), &actions_, &attr_, args.data(), environ);
    }

private:
    posix_spawnattr_t attr_;
    posix_spawn_file_actions_t actions_;
};

}  // namespace

std::optional<std::string> findProgram(std::string_view name) {
    if (name.empty()) return std::nullopt;
    if (name.find('/') != std::string_view::npos) {
        std::error_code error;
        const fs::path path = fs::absolute(fs::path(name), error);
        if (error || !fs::exists(path, error)) return std::nullopt;
        return path.string();
    }
    const char* env = std::getenv("PATH");
    std::string_view paths = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
    std::optional<std::string> firstFile;
    for (;;) {
        const std::size_t colon = paths.find(':');
        std::string folder(paths.substr(0, colon));
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + std::string(name);
        if (isExecutableFile(candidate)) return candidate;
        std::error_code error;
        if (!firstFile && fs::is_regular_file(candidate, error)) firstFile = candidate;
        if (colon == std::string_view::npos) break;
        paths.remove_prefix(colon + 1);
    }
    // The program's own companions (PXMsg, KillProc) are found beside it
    // even when its folder is not on the PATH.
    if (!firstFile) {
        std::error_code error;
        const fs::path self = fs::read_symlink("/proc/self/exe", error);
        const std::string candidate = (self.parent_path() / std::string(name)).string();
        if (!error && isExecutableFile(candidate)) return candidate;
    }
    // A file of that name that may not be run still "exists": starting it
    // then fails as "could not start", not as "not found".
    return firstFile;
}

LinuxProcesses::LinuxProcesses(ArgumentSplitter splitArguments, std::string displayName)
    : splitArguments_(std::move(splitArguments)),
      displayName_(std::move(displayName)),
      watcher_(std::make_unique<WindowModeWatcher>(displayName_)) {}

LinuxProcesses::~LinuxProcesses() = default;

int LinuxProcesses::ownProcessId() { return static_cast<int>(::getpid()); }

StartResult LinuxProcesses::start(const std::vector<std::string>& argv, const std::string& folder,
                                  Priority priority) {
    reapEnded();
    if (argv.empty() || argv.front().empty()) return {StartOutcome::NotFound, 0, ENOENT};
    const std::optional<std::string> program = findProgram(argv.front());
    if (!program) return {StartOutcome::NotFound, 0, ENOENT};
    SpawnSetup setup;
    if (!folder.empty()) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) return {StartOutcome::CouldNotStart, 0, ENOTDIR};
        setup.changeFolder(folder);
    }
    pid_t pid = 0;
    if (const int error = setup.run(pid, *program, argv); error != 0)
        return {StartOutcome::CouldNotStart, 0, error};
    if (const int nice = niceValue(priority); nice != 0)
        ::setpriority(PRIO_PGRP, static_cast<id_t>(pid), nice);  // the group: early children too
    children_[pid] = std::nullopt;
    return {StartOutcome::Started, pid, 0};
}

StartResult LinuxProcesses::spawn(const SpawnRequest& request) {
    const StartResult result = start(request.argv, request.workingFolder, request.priority);
    if (result.started()) watcher_->watch(result.pid, request.mode);
    return result;
}

void LinuxProcesses::reapEnded() {
    std::size_t ended = 0;
    for (auto& [pid, status] : children_) {
        if (status) {
            ++ended;
            continue;
        }
        int waitStatus = 0;
        const pid_t done = ::waitpid(pid, &waitStatus, WNOHANG);
        if (done == pid) {
            status = statusOf(waitStatus);
            ++ended;
        } else if (done < 0 && errno == ECHILD) {
            status = ProcessStatus{ProcessState::Unknown, 0};  // collected elsewhere
            ++ended;
        }
    }
    for (auto it = children_.begin(); ended > kMaxEndedKept && it != children_.end();) {
        if (it->second) {
            it = children_.erase(it);
            --ended;
        } else {
            ++it;
        }
    }
}

ProcessStatus LinuxProcesses::poll(int pid) {
    reapEnded();
    auto it = children_.find(pid);
    if (it == children_.end()) return {ProcessState::Unknown, 0};
    if (!it->second) return {ProcessState::Running, 0};
    const ProcessStatus status = *it->second;
    children_.erase(it);
    return status;
}

bool LinuxProcesses::killByName(std::string_view name) {
    reapEnded();
    const std::vector<ProcessEntry> processes = processesNamed(name);
    if (askToEnd(processes) == 0) return true;  // nothing to end is not a failure to ask
    // The grace period runs on a worker of its own, so the caller does not
    // wait; it holds copies only and may outlive this object.
    std::thread([processes] { killAfterGrace(processes, kDefaultGrace); }).detach();
    return true;
}

}  // namespace plorix::platform
