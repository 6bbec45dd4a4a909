#pragma once
// A process table a test fills: which programs exist and start, which
// files the desktop's opener can open, and when started programs end.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace plorix::platform {

class FakeProcesses final : public Processes {
public:
    // A program (argv[0] exactly as spawned) that exists; it starts unless
    // `starts` is false (then CouldNotStart). Programs not added are NotFound.
    void addProgram(std::string program, bool starts = true);
    // A file (or program) the opener can open, with the verbs it accepts
    // (empty: every verb).
    void addOpenable(std::string file, std::set<std::string> verbs = {});
    // Ends a started process with an exit status (negative: killed by that signal).
    void endProcess(int pid, int exitCode = 0);

    struct Opened {
        std::string file, parameters, verb, folder;
        WindowMode mode;
        int result;
    };
    const std::vector<SpawnRequest>& spawned() const { return spawned_; }
    const std::vector<Opened>& opened() const { return opened_; }
    const std::vector<std::string>& killed() const { return killed_; }
    // The pid of the last successful spawn, 0 when none.
    int lastPid() const { return lastPid_; }
    int ownPid = 4242;

    StartResult spawn(const SpawnRequest& request) override;
    ProcessStatus poll(int pid) override;
    OpenResult open(std::string_view file, std::string_view parameters, std::string_view verb,
                    std::string_view folder, WindowMode mode) override;
    bool killByName(std::string_view name) override;
    int ownProcessId() override { return ownPid; }

private:
    std::map<std::string, bool> programs_;
    std::map<std::string, std::set<std::string>> openable_;
    // pid -> exit status once ended; absent while running; collected pids are erased.
    std::map<int, std::optional<int>> children_;
    std::vector<SpawnRequest> spawned_;
    std::vector<Opened> opened_;
    std::vector<std::string> killed_;
    int nextPid_ = 1001;
    int lastPid_ = 0;
};

}  // namespace plorix::platform
