#pragma once
// Programs started straight from an argument vector (never through a
// shell), each in a process group of its own; the window mode is applied
// to the first window the program shows; documents are opened by the
// desktop's default application; programs are ended by executable name.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processes.h"

namespace plorix::platform {

class WindowModeWatcher;

// Splits a parameter text into arguments as the command line of a
// "Start Program" item is split; nullopt when a quote is left open.
using ArgumentSplitter = std::function<std::optional<std::vector<std::string>>(std::string_view text)>;

class LinuxProcesses final : public Processes {
public:
    // `splitArguments` splits the parameters that open() hands to a program.
    // `displayName` is the X display whose windows get the window modes
    // ("": $DISPLAY).
    explicit LinuxProcesses(ArgumentSplitter splitArguments, std::string displayName = {});
    ~LinuxProcesses() override;
    LinuxProcesses(const LinuxProcesses&) = delete;
    LinuxProcesses& operator=(const LinuxProcesses&) = delete;

    StartResult spawn(const SpawnRequest& request) override;
    ProcessStatus poll(int pid) override;
    OpenResult open(std::string_view file, std::string_view parameters, std::string_view verb,
                    std::string_view folder, WindowMode mode) override;
    bool killByName(std::string_view name) override;
    int ownProcessId() override;

private:
    // Starts argv as given, applying no window mode.
    StartResult start(const std::vector<std::string>& argv, const std::string& folder, Priority priority);
    // Collects every child that has ended, keeping its status for poll().
    void reapEnded();
    OpenResult openDocument(const std::string& target, std::string_view verb, const std::string& folder);

    ArgumentSplitter splitArguments_;
    std::string displayName_;
    std::unique_ptr<WindowModeWatcher> watcher_;
    // Our children: running (nullopt) or ended with their status, in pid order.
    std::map<int, std::optional<ProcessStatus>> children_;
};

// The program a name stands for: a name with a "/" is a path (relative to
// the current folder), a bare name is looked up in PATH. Nullopt when there
// is no such file.
std::optional<std::string> findProgram(std::string_view name);

}  // namespace plorix::platform
