// run-script: a script file run as a "Start Script" item of type "Jump to"
// would run it, on the real clock with ScriptingDelay, one item per tick of
// half a second, printing each item as it executes and each value stored.

#include <charconv>
#include <chrono>
#include <iostream>
#include <memory>
#include <thread>
#include <utility>

#include "cli.h"
#include "data/served_data.h"
#include "data/open_routine.h"
#include "mail/result.h"
#include "platform/desktop.h"
#include "runtime/file_names.h"
#include "runtime/pictures.h"
#include "script/action_names.h"
#include "script/item_description.h"
#include "script/mail_sender.h"
#include "script/stepper.h"
#include "settings/configuration.h"
#include "settings/settings.h"
#ifdef PLORIX_HAVE_LINUX_DESKTOP
#include "platform/linux/desktop_linux.h"
#include "script/command_line.h"
#endif

namespace plorix::cli {
namespace {

// The frame's timer period while a script is queued.
constexpr auto kTick = std::chrono::milliseconds(500);

// The settings of the data folder, when it has a data file; defaults
// otherwise, so that running a script never creates one.
void loadFolderSettings(Prompter& prompter) {
    // Script debugging follows the INI file, as in the program.
    settings::settings().debugIni = settings::readDebugSwitch();
    if (!data::hasDataFile()) return;  // on a server the tables have no file
    data::TableUse use(settings::configurationTable(), prompter);
    settings::loadSettings();
}

// A real run uses this desktop: the X display's windows, keystrokes and
// programs, D-Bus commands. A dry run (and a build without the desktop part)
// keeps the inert desktop, on which the script finds no windows, types
// nothing, starts nothing and reaches no other application.
class RunDesktop {
public:
    explicit RunDesktop([[maybe_unused]] bool dryRun) {
#ifdef PLORIX_HAVE_LINUX_DESKTOP
        if (!dryRun) linux_ = std::make_unique<platform::LinuxDesktop>(script::splitCommandLine);
#endif
    }

private:
#ifdef PLORIX_HAVE_LINUX_DESKTOP
    std::unique_ptr<platform::LinuxDesktop> linux_;
#endif
};

// A failed item as it is told: what it is, and what went wrong.
std::string failureText(const script::QueueItem& item, script::ItemFailure failure, std::string_view detail) {
    const std::string description = script::itemDescription(item);
    std::string text = item.ACTION.str() + (description.empty() ? "" : " " + description) + ": ";
    switch (failure) {
    case script::ItemFailure::InvalidAction: return text + "no such action";
    case script::ItemFailure::ProgramNotStarted: return text + "could not start " + std::string(detail);
    case script::ItemFailure::MailNotSent: {
        int code = 0;
        std::from_chars(detail.data(), detail.data() + detail.size(), code);
        return text + "message " + std::to_string(item.EMAILID) +
               " was not sent: " + std::string(mail::mailCodeText(code)) + " (" + std::string(detail) + ")";
    }
    }
    return text;
}

}  // namespace

int cmdRunScript(const Args& args, Prompter& prompter) {
    std::string file;
    bool dryRun = false;
    for (const std::string& arg : args) {
        if (arg == "--dry-run")
            dryRun = true;
        else if (file.empty() && !arg.empty() && arg.front() != '-')
            file = arg;
        else
            throw UsageError("usage: run-script FILE.pxs [--dry-run]");
    }
    if (file.empty()) throw UsageError("usage: run-script FILE.pxs [--dry-run]");

    loadFolderSettings(prompter);
    RunDesktop desktop(dryRun);
    script::ValueStore& values = script::processValues();
    values.onSet([](const std::string& name, const std::string& text) {
        std::cout << "value " << name << '=' << text << std::endl;
    });

    script::ScriptQueue queue;
    script::ScriptServices services;
    services.prompter = &prompter;
    services.dryRun = dryRun;
    // Mail goes out as the program sends it; a dry run sends none.
    if (!dryRun) services.mail = &script::processMailSender();
    script::ScriptStepper stepper(queue, services);
    // The script goes on past a failed item, as in the program; the command
    // tells each one and ends with status 1. A dry run performs nothing
    // outside, so only what would fail anywhere counts there.
    int failures = 0;
    stepper.onFailure(
        [&](const script::QueueItem& item, script::ItemFailure failure, std::string_view detail) {
            if (dryRun && failure != script::ItemFailure::InvalidAction) return;
            ++failures;
            std::cerr << "plorix-cli: item failed: " << failureText(item, failure, detail) << std::endl;
        });

    // The item that loads the file, due at once and not printed itself.
    script::QueueItem start;
    start.ACTION = script::kStartScript;
    start.COMMAND = file;
    start.PATH = "Jump to (Execute and skip)";
    start.due = processClock().steadyHundredths() - 1;
    queue.append({start});
    bool first = true;
    stepper.onExecute([&first](const script::QueueItem& item) {
        if (std::exchange(first, false)) return;
        std::cout << formatTime(processClock().now(), "t4") << '\t' << item.ACTION.str() << '\t'
                  << script::itemDescription(item) << std::endl;
    });

    stepper.step();
    const bool loaded = stepper.lastScriptLoad() == script::ScriptLoad::Loaded;
    while (!queue.empty()) {
        std::this_thread::sleep_for(kTick);
        stepper.step();
    }
    values.onSet({});
    if (failures > 0) std::cerr << "plorix-cli: " << failures << " item(s) failed\n";
    return loaded && stepper.refusedLoads() == 0 && failures == 0 ? 0 : 1;
}

}  // namespace plorix::cli
