#pragma once
// Starting programs (for schedule entries and the "Start Program" item),
// waiting for a started program to end, closing programs, and bringing a
// window to the front ("Set Focus"). The decisions are made here; the
// desktop is reached only through platform::desktop().

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "data/tables/scripting.h"
#include "platform/processes.h"
#include "platform/windows.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"

namespace plorix::script {

inline constexpr std::string_view kWaitForProgramEnd = "Wait for Program End";
// The command of a schedule entry that starts no program.
inline constexpr std::string_view kNoProgram = "N/A";

// The three option characters of a "Start Program" item (kept at the start
// of SCR:DDEAPPLICATIONNAME).
struct StartOptions {
    bool waitForEnd = false;
    platform::Priority priority = platform::Priority::Normal;
    platform::WindowMode mode = platform::WindowMode::Normal;
    friend bool operator==(const StartOptions&, const StartOptions&) = default;
};
StartOptions decodeStartOptions(std::string_view optionCharacters);
std::string encodeStartOptions(const StartOptions& options);

// The verbs a "Start Program" item may carry, in the order the advanced
// options list them; a blank verb counts as "Open".
inline constexpr std::string_view kStartVerbs[] = {"Open", "View", "Print",  "Edit",
                                                   "Play", "Find", "Explore"};

struct ProgramStart {
    std::string command;  // program, document or command line
    std::string folder;   // start-in folder; blank keeps the current one
    std::string verb;     // shell verb; blank means "open"
    // Script items start the program directly and fall back to the
    // desktop's opener; schedule entries go to the opener at once.
    bool direct = false;
    // Ask the opener for `verb` rather than "open".
    bool useVerb = false;
    platform::WindowMode mode = platform::WindowMode::Normal;
    platform::Priority priority = platform::Priority::Normal;
    // Schedule entries tell the user when nothing could be started.
    bool reportFailure = false;
};

struct ProgramStartResult {
    bool attempted = false;       // false for "N/A" and blank commands
    bool processCreated = false;  // the direct start succeeded
    platform::StartOutcome directOutcome = platform::StartOutcome::CouldNotStart;
    int openResult = 0;  // the opener's answer when it was used (>= 32: success)
    bool started() const { return processCreated || openResult >= 32; }
};

// What a wait for the program's end found on this tick.
enum class ProgramWait {
    Running,         // keep the item
    Ended,           // ended with exit status 0 (or nothing left to wait for)
    EndedWithError,  // ended with a non-zero status or a signal
    TimedOut,        // the time-out passed while it was still running
};

// Applies value substitution to a text (the "[NAME]" forms); empty: none.
using Substitution = std::function<std::string(std::string_view text)>;

// Holds the last started process and the last opener result, which later
// items consult; one per program (programActions()).
class ProgramActions {
public:
    ProgramActions() = default;

    // Starting a program: logs "Run Program", then starts as `start` says.
    // Loading an entry's script afterwards is the caller's part.
    ProgramStartResult startProgram(const ProgramStart& start, Prompter& prompter);

    // The "Start Program" item: reads its options, substitutes the command
    // and folder first when `substitute` is given (TranslateFilenames), starts
    // the program and, when it is to be waited for, turns the item into
    // "Wait for Program End" with its limit (SCR:NEXTTASKID date,
    // SCR:TIMEELAPSED time; time 0: no limit). True when the item must stay
    // at the head of the queue.
    bool startProgramItem(data::Scripting& item, const Substitution& substitute, const Clock& clock,
                          Prompter& prompter, bool debug);

    // One tick of "Wait for Program End" for an item made by startProgramItem.
    ProgramWait checkProgramEnd(const data::Scripting& item, const Clock& clock);

    // The "Close Program" item.
    void closeProgram(const data::Scripting& item);

    // The "Set Focus" item; true when the window was found and brought forward.
    bool setFocus(const data::Scripting& item, Prompter& prompter, bool debug);

    // What a queued item copies into SQ:PROGRAMHANDLE: the low 16 bits of
    // the last opener result.
    std::int32_t programHandle() const { return lastOpenResult_ & 0xFFFF; }
    int lastOpenResult() const { return lastOpenResult_; }
    int lastProcessId() const { return lastPid_; }
    // How the last start went.
    const ProgramStartResult& lastStart() const { return lastStart_; }
    void forget() {
        lastPid_ = 0;
        lastOpenResult_ = 0;
    }

private:
    ProgramStartResult startProgramOnce(const ProgramStart& start, Prompter& prompter);
    int openWithRetries(const ProgramStart& start);
    int lastPid_ = 0;
    int lastOpenResult_ = 0;
    ProgramStartResult lastStart_;
};

// The program's instance.
ProgramActions& programActions();

// Brings a window to the front, restored, as "Set Focus" and "Wait" do.
bool bringToFront(platform::WindowId window);

}  // namespace plorix::script
