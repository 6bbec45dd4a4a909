#include "platform/linux/process_names.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace plorix::platform {

namespace fs = std::filesystem;

namespace {

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The executable's path; "" when it cannot be read (another user's process).
std::string executableOf(int pid) {
    std::error_code error;
    std::string target = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.size() > kDeleted.size() && target.ends_with(kDeleted))
        target.resize(target.size() - kDeleted.size());
    return error ? std::string() : target;
}

std::string argv0Of(int pid) {
    const std::string cmdline = readWhole("/proc/" + std::to_string(pid) + "/cmdline");
    return cmdline.substr(0, cmdline.find('\0'));
}

// The state letter and the start time from /proc/PID/stat; the command
// name there may hold blanks and parentheses, so fields count from its end.
bool readStat(int pid, char& state, unsigned long long& startTime) {
    const std::string stat = readWhole("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return false;
    std::istringstream fields(stat.substr(close + 1));
    fields >> state;
    std::string skip;
    for (int field = 4; field < 22; ++field) fields >> skip;  // fields 4..21
    fields >> startTime;
    return static_cast<bool>(fields);
}

std::string baseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool matches(std::string_view name, int pid) {
    const std::string exe = executableOf(pid);
    const std::string argv0 = argv0Of(pid);
    if (name.find('/') != std::string_view::npos) {
        std::error_code error;
        const std::string wanted = fs::weakly_canonical(fs::path(name), error).string();
        return (!exe.empty() && (exe == name || exe == wanted)) || argv0 == name;
    }
    return (!exe.empty() && baseName(exe) == name) || (!argv0.empty() && baseName(argv0) == name);
}

}  // namespace

std::vector<ProcessEntry> processesNamed(std::string_view name) {
    std::vector<ProcessEntry> found;
    if (name.empty()) return found;
    const int self = static_cast<int>(::getpid());
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        const std::string file = entry.path().filename().string();
        if (file.find_first_not_of("0123456789") != std::string::npos) continue;
        const int pid = std::stoi(file);
        if (pid == self || !matches(name, pid)) continue;
        ProcessEntry process{pid, 0};
        char state = 0;
        if (readStat(pid, state, process.startTime) && state != 'Z') found.push_back(process);
    }
    return found;
}

bool stillRunning(const ProcessEntry& process) {
    char state = 0;
    unsigned long long startTime = 0;
    return readStat(process.pid, state, startTime) && startTime == process.startTime && state != 'Z';
}

int askToEnd(const std::vector<ProcessEntry>& processes) {
    int running = 0;
    for (const ProcessEntry& p : processes)
        if (stillRunning(p) && ::kill(p.pid, SIGTERM) == 0) ++running;
    return running;
}

void killAfterGrace(const std::vector<ProcessEntry>& processes, std::chrono::milliseconds grace) {
    constexpr auto kStep = std::chrono::milliseconds(20);
    for (auto waited = std::chrono::milliseconds(0); waited < grace; waited += kStep) {
        bool any = false;
        for (const ProcessEntry& p : processes) any = any || stillRunning(p);
        if (!any) return;
        std::this_thread::sleep_for(kStep);
    }
    for (const ProcessEntry& p : processes)
        if (stillRunning(p)) ::kill(p.pid, SIGKILL);
}

}  // namespace plorix::platform
