#pragma once
// The script interpreter: the loaders that put scripts into the queue and
// the stepper that the frame's timer calls once per tick while the queue is
// not empty. Each call runs at most the first queued item, once it is due,
// and removes it unless the item has to stay (a wait still waiting, a
// program still running, a load that replaced the queue).
//
//     ScriptQueue queue;
//     ScriptStepper stepper(queue);
//     stepper.loadScheduledScript(entryId);          // a task fired
//     while (!queue.empty()) { stepper.step(); ... } // one call per tick
//     if (auto text = stepper.takeProgressText()) statusZone2 = *text;

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "script/mail_hook.h"
#include "script/program_actions.h"
#include "script/script_queue.h"
#include "script/value_store.h"
#include "settings/settings.h"

namespace plorix::script {

inline constexpr std::string_view kScriptCompleted = "Script Completed";
inline constexpr std::string_view kScriptLogLabel = "Script";

// What the interpreter reaches besides its queue. Null members stand for
// the process's own (processClock(), processPrompter(), settings(),
// processValues(), programActions(), unavailableMail()); the desktop is
// always the process's (platform::desktop()).
struct ScriptServices {
    const Clock* clock = nullptr;
    Prompter* prompter = nullptr;
    const settings::Settings* settings = nullptr;
    ValueStore* values = nullptr;
    ProgramActions* programs = nullptr;
    MailSender* mail = nullptr;
    // File actions that would change files are skipped (plorix-cli --dry-run).
    bool dryRun = false;
    // Waits between keystroke passes while the rest of the program runs, and
    // hears of each pass (the frame animates its tray icon); empty: sleep, nothing.
    std::function<void(std::int64_t hundredths)> waitYielding;
    std::function<void(std::size_t pass)> onKeystrokePass;
};

// How a "Start Script" load ended.
enum class ScriptLoad {
    Loaded,      // the queue was replaced by the new list
    Unreadable,  // the file could not be opened or read to its end (warned); what was read is queued
    Cancelled,   // the user cancelled the progress window: the queue is as it was
    QueueFull,   // the queue would have grown past kMaxQueuedItems: the queue is as it was
};

// An item that could not do its work; the script goes on as it always has.
enum class ItemFailure {
    InvalidAction,      // no such action
    ProgramNotStarted,  // not found, or could not be started
    MailNotSent,        // the sender refused or failed (its result code)
};

class ScriptStepper {
public:
    explicit ScriptStepper(ScriptQueue& queue, ScriptServices services = {});

    ScriptQueue& queue() { return queue_; }

    // Appends the items of schedule entry `entryId` (key SCR:KEYID) and an
    // end marker, laid out in time; an identifier of 0 loads nothing. False
    // when the queue limit refused the script (the user has been told).
    bool loadScheduledScript(std::int32_t entryId);
    // Lays out and appends the given items and an end marker, as for a fired
    // task; `what` names the script in the message of a refused load.
    bool queueScript(const std::vector<data::Scripting>& items, std::string_view what);

    // One tick: runs the first item when it is due.
    void step();

    // The script progress text for the frame's status bar when a step has
    // changed it ("Script Completed" once the queue is empty); nullopt when
    // there is nothing new to show. Reading clears it.
    std::optional<std::string> takeProgressText();

    // Hears of every item when the stepper first executes it (a "Wait" that
    // waits over many ticks is reported once).
    void onExecute(std::function<void(const QueueItem&)> observer) { observer_ = std::move(observer); }
    // Hears of every item that failed, with what it failed on.
    using FailureObserver = std::function<void(const QueueItem&, ItemFailure, std::string_view detail)>;
    void onFailure(FailureObserver observer) { failureObserver_ = std::move(observer); }

    // Interpreter state, kept across ticks.
    bool waiting() const { return waiting_; }
    bool debug() const;
    // The results of the last "File Actions", "Send Email" and "Start Script".
    std::int64_t lastFileActionResult() const { return lastFileResult_; }
    int lastMailResult() const { return lastMailResult_; }
    std::optional<ScriptLoad> lastScriptLoad() const { return lastScriptLoad_; }
    // How many loads the queue limit has refused.
    int refusedLoads() const { return refusedLoads_; }

private:
    friend struct ActionTable;
    void execute();
    void refreshStatus();
    void logScript(std::string_view text);
    void refuseLoad(std::string_view what);

    // Actions (one member each; the dispatch table lists them).
    void displayMessage();
    void exitScript();
    void closeProgram();
    void startProgram();
    void sendKeystrokes();
    void dde();
    void setFocus();
    void fileActions();
    void sendEmail();
    void setValue();
    void ifValue();
    void startScript();
    void wait();
    void waitForProgramEnd();
    void ifWindow();
    void ifTimeElapsed();
    void nothing() {}

    // Control flow.
    void testOutcome(bool passed);
    void skipBlock();
    void completeWait();
    ScriptLoad loadScriptFile(const std::string& path, char mode);

    ScriptQueue& queue_;
    const Clock& clock_;
    Prompter& prompter_;
    const settings::Settings& settings_;
    ValueStore& values_;
    ProgramActions& programs_;
    MailSender& mail_;
    ScriptServices services_;

    bool keepCurrent_ = false;
    bool firstRun_ = false;  // the current item runs for the first time
    bool waiting_ = false;
    std::int64_t waitStart_ = 0;
    std::int64_t lastFileResult_ = 0;
    int lastMailResult_ = 0;
    std::optional<ScriptLoad> lastScriptLoad_;
    int refusedLoads_ = 0;
    std::optional<std::string> progress_;
    std::function<void(const QueueItem&)> observer_;
    FailureObserver failureObserver_;
    void failed(ItemFailure failure, std::string_view detail) {
        if (failureObserver_) failureObserver_(queue_.front(), failure, detail);
    }
};

}  // namespace plorix::script
