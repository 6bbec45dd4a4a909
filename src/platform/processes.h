#pragma once
// Starting programs without a shell, watching them end, opening documents
// with the desktop's default application, and ending programs by name.

#include <string>
#include <string_view>
#include <vector>

namespace plorix::platform {

enum class Priority { Low, Normal, High };

// How the program's first window is to appear; the numbers are the
// window-mode digits a script item stores.
enum class WindowMode : int {
    Hidden = 0,
    Normal = 1,            // start and give focus
    Minimized = 2,         // start minimized with focus
    Maximized = 3,         // start maximized with focus
    MinimizedNoFocus = 7,  // start minimized without focus
    NoFocus = 8,           // start without focus
};

struct SpawnRequest {
    std::vector<std::string> argv;  // argv[0] is the program, looked up in PATH
    std::string workingFolder;      // "" keeps the current folder
    Priority priority = Priority::Normal;
    WindowMode mode = WindowMode::Normal;
};

// Distinct outcomes, so a caller can tell a typing error from a broken program.
enum class StartOutcome {
    Started,
    NotFound,       // no such program (or document)
    CouldNotStart,  // it exists but could not be run (permissions, format, resources)
};

struct StartResult {
    StartOutcome outcome = StartOutcome::CouldNotStart;
    int pid = 0;          // the child's process id when Started
    int errorNumber = 0;  // errno when not Started
    bool started() const { return outcome == StartOutcome::Started; }
};

enum class ProcessState {
    Running,
    Ended,           // exit status 0
    EndedWithError,  // non-zero exit status or ended by a signal
    Unknown,         // not a child of ours, or already collected
};

struct ProcessStatus {
    ProcessState state = ProcessState::Unknown;
    int exitCode = 0;  // exit status, or 128 + signal number
};

// The result of opening a document or program through the desktop. Codes of
// 32 and more mean success; below 32 they tell what went wrong.
struct OpenResult {
    int code = 0;
    bool ok() const { return code >= 32; }
};
inline constexpr int kOpenSucceeded = 42;
inline constexpr int kOpenFileNotFound = 2;
inline constexpr int kOpenPathNotFound = 3;
inline constexpr int kOpenNoAssociation = 31;
inline constexpr int kOpenFailed = 0;

class Processes {
public:
    virtual ~Processes() = default;
    // Starts argv directly (never through a shell), in a process group of its
    // own, at the given priority; the window mode is applied to the first
    // window the child shows.
    virtual StartResult spawn(const SpawnRequest& request) = 0;
    // Checks on a child without blocking (waitpid with WNOHANG). Once Ended
    // or EndedWithError has been reported the pid is collected and later
    // checks answer Unknown.
    virtual ProcessStatus poll(int pid) = 0;
    // Opens a file or program with a verb ("open", "print", "edit" ...)
    // through the desktop's default application; parameters may be empty.
    virtual OpenResult open(std::string_view file, std::string_view parameters, std::string_view verb,
                            std::string_view folder, WindowMode mode) = 0;
    // Ends every process whose executable is `name` (a path or a bare file
    // name); does not wait. False when the request could not be made.
    virtual bool killByName(std::string_view name) = 0;
    // This program's own process id.
    virtual int ownProcessId() = 0;
};

}  // namespace plorix::platform
