#pragma once
// Finding running processes by the name of their executable and ending
// them: SIGTERM first, SIGKILL for those still there after a grace period.
// Shared by the KillProc tool and the "Close Program" action.

#include <chrono>
#include <string_view>
#include <vector>

namespace plorix::platform {

struct ProcessEntry {
    int pid = 0;
    unsigned long long startTime = 0;  // tells a process from a later one with the same pid
};

// The processes (other than this one) whose executable is `name`: a path
// names one executable exactly; a bare file name matches that file in any
// folder. Names are compared as written, letter case included.
std::vector<ProcessEntry> processesNamed(std::string_view name);

// Whether the process is still there (a zombie counts as ended).
bool stillRunning(const ProcessEntry& process);

// Asks each process to end (SIGTERM); returns how many were still running.
int askToEnd(const std::vector<ProcessEntry>& processes);
// Waits up to `grace` for the processes to end and kills those left.
void killAfterGrace(const std::vector<ProcessEntry>& processes, std::chrono::milliseconds grace);

inline constexpr std::chrono::milliseconds kDefaultGrace{3000};

}  // namespace plorix::platform
