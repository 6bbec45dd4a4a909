#include "script/program_actions.h"

#include <array>

#include "log/event_log.h"
#include "platform/desktop.h"
#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "script/command_line.h"
#include "script/window_pattern.h"

namespace plorix::script {

namespace {

using platform::Priority;
using platform::WindowMode;

constexpr std::array kWindowModes = {WindowMode::Normal, WindowMode::Minimized, WindowMode::Maximized,
                                     WindowMode::MinimizedNoFocus, WindowMode::NoFocus};

char optionAt(std::string_view options, std::size_t index) {
    return index < options.size() ? options[index] : ' ';
}

char priorityDigit(Priority priority) {
    switch (priority) {
    case Priority::Low: return '1';
    case Priority::High: return '3';
    case Priority::Normal: break;
    }
    return '2';
}

bool isBlank(std::string_view text) { return clip(text).empty(); }

}  // namespace

StartOptions decodeStartOptions(std::string_view optionCharacters) {
    StartOptions options;
    options.waitForEnd = optionAt(optionCharacters, 0) == '1';
    switch (optionAt(optionCharacters, 1)) {
    case '1': options.priority = Priority::Low; break;
    case '3': options.priority = Priority::High; break;
    default: break;
    }
    const char mode = optionAt(optionCharacters, 2);
    for (WindowMode m : kWindowModes)
        if (mode == '0' + static_cast<int>(m)) options.mode = m;
    return options;
}

std::string encodeStartOptions(const StartOptions& options) {
    std::string text;
    text += options.waitForEnd ? '1' : '0';
    text += priorityDigit(options.priority);
    text += static_cast<char>('0' + static_cast<int>(options.mode));
    return text;
}

ProgramStartResult ProgramActions::startProgram(const ProgramStart& start, Prompter& prompter) {
    lastStart_ = startProgramOnce(start, prompter);
    return lastStart_;
}

ProgramStartResult ProgramActions::startProgramOnce(const ProgramStart& start, Prompter& prompter) {
    log::logEvent(start.command, "Run Program");
    ProgramStartResult result;
    const std::string command = clip(start.command);
    if (command.empty() || equalNoCase(command, kNoProgram)) return result;
    result.attempted = true;

    if (start.direct) {
        // Started straight from its argument vector, never through a shell,
        // so the process we watch is the program itself. The start-in folder
        // is the child's alone: this program's own working folder is its
        // data folder and stays as it is.
        std::optional<std::vector<std::string>> argv = splitCommandLine(command);
        if (argv && !argv->empty()) {
            argv->front() = normaliseSeparators(argv->front());
            const platform::StartResult started =
                platform::desktop().processes->spawn({*argv, clip(start.folder), start.priority, start.mode});
            result.directOutcome = started.outcome;
            if (started.started()) {
                lastPid_ = started.pid;
                result.processCreated = true;
                return result;
            }
        }
        // A wait for this item's end must not watch an older program.
        lastPid_ = 0;
        result.openResult = openWithRetries(start);
        return result;
    }

    result.openResult = openWithRetries(start);
    if (result.openResult < 32 && start.reportFailure)
        prompter.message("Error Code " + std::to_string(result.openResult),
                         "Could not start " + command + ".", Icon::Warning, kOk, kOk);
    return result;
}

int ProgramActions::openWithRetries(const ProgramStart& start) {
    const std::string command = clip(start.command);
    const std::string folder = clip(start.folder);
    std::string verb = start.useVerb ? toLower(clip(start.verb)) : std::string();
    if (verb.empty()) verb = "open";
    platform::Processes& processes = *platform::desktop().processes;
    auto attempt = [&](std::string_view file, std::string_view parameters) {
        lastOpenResult_ = processes.open(file, parameters, verb, folder, start.mode).code;
        return lastOpenResult_ >= 32;
    };

    if (attempt(command, {})) return lastOpenResult_;
    // A program path with blanks and no quotes: try the likely splits
    // between program and parameters.
    const std::optional<CommandSplit> first = firstSplit(command);
    if (!first) return lastOpenResult_;
    if (attempt(first->program, first->parameters)) return lastOpenResult_;
    for (const CommandSplit& split : splitsFromTheRight(command))
        if (attempt(split.program, split.parameters)) break;
    return lastOpenResult_;
}

bool ProgramActions::startProgramItem(data::Scripting& item, const Substitution& substitute,
                                      const Clock& clock, Prompter& prompter, bool debug) {
    const StartOptions options = decodeStartOptions(item.DDEAPPLICATIONNAME.str());
    if (substitute) {
        item.PATH = substitute(item.PATH.str());
        item.COMMAND = substitute(item.COMMAND.str());
    }
    ProgramStart start;
    start.command = item.COMMAND.str();
    start.folder = item.PATH.str();
    start.verb = item.DDEAPPLICATIONTOPIC.str();
    start.direct = true;
    start.useVerb = !isBlank(start.verb);
    start.mode = options.mode;
    start.priority = options.priority;
    const ProgramStartResult result = startProgram(start, prompter);

    if (debug) {
        const std::string lines[] = {
            start.command,
            start.folder,
            "0",
            result.processCreated ? "1" : "0",
            std::to_string(static_cast<int>(options.mode)),
            std::string(1, priorityDigit(options.priority)),
            "0",
            start.verb,
        };
        std::string text;
        for (const std::string& line : lines) text += (text.empty() ? "" : "\r") + line;
        prompter.message(start.useVerb ? "Debug - Full Command Sent" : "Debug - No Operation Sent", text,
                         Icon::Information, kOk, kOk);
    }

    if (!options.waitForEnd) return false;
    const std::int32_t timeout = item.TIMEELAPSED;
    if (timeout > 0) {
        const Moment limit = addHundredths(clock.current(), std::int64_t{timeout} * 100);
        item.NEXTTASKID = limit.date;
        item.TIMEELAPSED = limit.time;
    } else {
        item.TIMEELAPSED = 0;
    }
    item.ACTION = kWaitForProgramEnd;
    return true;
}

ProgramWait ProgramActions::checkProgramEnd(const data::Scripting& item, const Clock& clock) {
    if (lastPid_ == 0) return ProgramWait::Ended;
    const platform::ProcessStatus status = platform::desktop().processes->poll(lastPid_);
    switch (status.state) {
    case platform::ProcessState::Running:
        if (item.TIMEELAPSED != 0 &&
            normalise(clock.current()) > normalise({item.NEXTTASKID, item.TIMEELAPSED}))
            return ProgramWait::TimedOut;
        return ProgramWait::Running;
    case platform::ProcessState::EndedWithError: return ProgramWait::EndedWithError;
    case platform::ProcessState::Ended:
    case platform::ProcessState::Unknown: break;
    }
    return ProgramWait::Ended;
}

void ProgramActions::closeProgram(const data::Scripting& item) {
    const platform::Desktop& desktop = platform::desktop();
    const std::string executable = clip(item.COMMAND.str());
    if (!executable.empty()) {
        desktop.processes->killByName(executable);
        return;
    }
    platform::Windows& windows = *desktop.windows;
    platform::WindowId target = windows.foreground();
    if (target == platform::kNoWindow) return;
    if (windows.processId(target) == desktop.processes->ownProcessId()) {
        // Never close our own window: aim at the window of the program
        // this program started last, if it shows one.
        target = platform::kNoWindow;
        if (lastPid_ != 0) {
            for (const platform::WindowInfo& w : windows.topLevelWindows())
                if (windows.processId(w.id) == lastPid_) {
                    target = w.id;
                    break;
                }
        }
        if (target == platform::kNoWindow) return;
    }
    windows.restore(target);
    windows.close(target);
}

bool ProgramActions::setFocus(const data::Scripting& item, Prompter& prompter, bool debug) {
    const platform::WindowId window = findWindow(item.FOCUSONWINDOW.str(), item.WAITFORWINDOW.str());
    if (window != platform::kNoWindow && bringToFront(window)) return true;
    if (debug)
        prompter.message("Failed Set Focus", clip(item.FOCUSONWINDOW.str()), Icon::Information, kOk, kOk);
    return false;
}

ProgramActions& programActions() {
    static ProgramActions actions;
    return actions;
}

bool bringToFront(platform::WindowId window) { return platform::desktop().windows->activate(window); }

}  // namespace plorix::script
