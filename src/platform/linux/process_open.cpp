// Opening a file, folder, address or program "with a verb", as a desktop
// shell does: programs are started with their parameters, everything else
// goes to the desktop's default application through xdg-open (or GIO's
// opener where xdg-open is missing).

#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/linux/process_launcher.h"
#include "runtime/fixed_text.h"

namespace plorix::platform {

namespace fs = std::filesystem;

namespace {

// An opener that has not finished after this long has started the
// application in the foreground (xdg-open does on plain window managers):
// it counts as success and is collected later.
constexpr auto kOpenerPatience = std::chrono::seconds(2);

enum class VerbAction { Open, OpenFolder, Print };

struct VerbEntry {
    std::string_view verb;
    VerbAction action;
};
// The verbs of a "Start Program" item. The desktop knows one default
// application per kind of file, so viewing, editing and playing open it.
constexpr std::array kVerbs = {
    VerbEntry{"open", VerbAction::Open},          VerbEntry{"view", VerbAction::Open},
    VerbEntry{"edit", VerbAction::Open},          VerbEntry{"play", VerbAction::Open},
    VerbEntry{"explore", VerbAction::OpenFolder}, VerbEntry{"find", VerbAction::OpenFolder},
    VerbEntry{"print", VerbAction::Print},
};

const VerbEntry* findVerb(std::string_view verb) {
    const std::string wanted = verb.empty() ? std::string("open") : toLower(trim(verb));
    for (const VerbEntry& entry : kVerbs)
        if (entry.verb == wanted) return &entry;
    return nullptr;
}

// "http://...", "mailto:...", "file:///...": a scheme of letters, then ":".
bool isAddress(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;  // "C:" is no scheme
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return false;
    }
    return true;
}

// The opener's command for a target; empty when the desktop has none.
std::vector<std::string> openerCommand(VerbAction action, const std::string& target) {
    if (action == VerbAction::Print) {
        if (findProgram("lp")) return {"lp", "--", target};
        return {};
    }
    if (findProgram("xdg-open")) return {"xdg-open", target};
    if (findProgram("gio")) return {"gio", "open", target};
    return {};
}

// xdg-open's exit statuses: 2 a file that does not exist, 3 no tool for it.
int openResultOf(const ProcessStatus& status) {
    if (status.state == ProcessState::Ended) return kOpenSucceeded;
    if (status.exitCode == 2) return kOpenFileNotFound;
    return kOpenNoAssociation;
}

}  // namespace

OpenResult LinuxProcesses::openDocument(const std::string& target, std::string_view verb,
                                        const std::string& folder) {
    const VerbEntry* entry = findVerb(verb);
    if (entry == nullptr) return {kOpenNoAssociation};
    std::string what = target;
    if (entry->action == VerbAction::OpenFolder && !isAddress(target)) {
        std::error_code error;
        if (!fs::is_directory(what, error)) what = fs::path(what).parent_path().string();
    }
    const std::vector<std::string> command = openerCommand(entry->action, what);
    if (command.empty()) return {kOpenNoAssociation};
    const StartResult started = start(command, folder, Priority::Normal);
    if (!started.started()) return {kOpenNoAssociation};
    const auto giveUp = std::chrono::steady_clock::now() + kOpenerPatience;
    while (std::chrono::steady_clock::now() < giveUp) {
        const ProcessStatus status = poll(started.pid);
        if (status.state != ProcessState::Running) return {openResultOf(status)};
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {kOpenSucceeded};
}

OpenResult LinuxProcesses::open(std::string_view file, std::string_view parameters, std::string_view verb,
                                std::string_view folder, WindowMode mode) {
    const std::string name = trim(file);
    const std::string startIn = trim(folder);
    std::error_code error;
    if (name.empty()) return {kOpenFileNotFound};
    if (!startIn.empty() && !fs::is_directory(startIn, error)) return {kOpenPathNotFound};
    if (isAddress(name)) return openDocument(name, verb, startIn);

    // A relative name is looked for in the start-in folder.
    fs::path path(name);
    if (path.is_relative() && !startIn.empty()) path = fs::path(startIn) / path;
    const bool present = fs::exists(path, error);
    const bool bareName = name.find('/') == std::string::npos;
    const bool program = present ? fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0
                                 : bareName && findProgram(name).has_value();
    const VerbEntry* entry = findVerb(verb);
    if (program && entry != nullptr && entry->action == VerbAction::Open) {
        std::vector<std::string> argv = {present ? fs::absolute(path, error).string() : name};
        if (!trim(parameters).empty()) {
            const auto arguments =
                splitArguments_ ? splitArguments_(parameters) : std::optional<std::vector<std::string>>();
            if (!arguments) return {kOpenFailed};
            argv.insert(argv.end(), arguments->begin(), arguments->end());
        }
        const StartResult started = spawn({argv, startIn, Priority::Normal, mode});
        if (started.started()) return {kOpenSucceeded};
        return {started.outcome == StartOutcome::NotFound ? kOpenFileNotFound : kOpenFailed};
    }
    if (!present) {
        const bool folderThere =
            fs::is_directory(path.parent_path().empty() ? "." : path.parent_path(), error);
        return {folderThere ? kOpenFileNotFound : kOpenPathNotFound};
    }
    return openDocument(fs::absolute(path, error).string(), verb, startIn);
}

}  // namespace plorix::platform
