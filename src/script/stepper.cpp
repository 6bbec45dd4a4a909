#include "script/stepper.h"

#include <algorithm>
#include <array>

#include "log/event_log.h"
#include "platform/desktop.h"
#include "script/action_names.h"
#include "script/expression.h"
#include "script/file_actions.h"
#include "script/item_description.h"
#include "script/keystrokes.h"
#include "script/queue_layout.h"

namespace plorix::script {

ScriptStepper::ScriptStepper(ScriptQueue& queue, ScriptServices services)
    : queue_(queue),
      clock_(services.clock ? *services.clock : processClock()),
      prompter_(services.prompter ? *services.prompter : processPrompter()),
      settings_(services.settings ? *services.settings : settings::settings()),
      values_(services.values ? *services.values : processValues()),
      programs_(services.programs ? *services.programs : programActions()),
      mail_(services.mail ? *services.mail : unavailableMail()),
      services_(std::move(services)) {}

bool ScriptStepper::debug() const { return settings_.debugIni; }

void ScriptStepper::logScript(std::string_view text) { log::logEvent(text, kScriptLogLabel); }

void ScriptStepper::refuseLoad(std::string_view what) {
    ++refusedLoads_;
    const std::string text = queueFullText(what);
    log::logEvent("Script queue full", kScriptLogLabel);
    prompter_.message("Script Error", text, Icon::Error, kOk, kOk);
}

std::optional<std::string> ScriptStepper::takeProgressText() {
    auto text = std::move(progress_);
    progress_.reset();
    return text;
}

void ScriptStepper::refreshStatus() {
    progress_ = queue_.empty() ? std::string(kScriptCompleted) : progressText(queue_.front());
}

void ScriptStepper::step() {
    if (queue_.empty()) {
        refreshStatus();
        return;
    }
    const std::int64_t now = clock_.steadyHundredths();
    const std::int64_t due = queue_.front().due;
    if (now > due) {
        execute();
        refreshStatus();
        return;
    }
    // Far from due: leave the status bar alone; within a second: show what comes.
    if (due - now >= kHundredthsPerSecond) return;
    refreshStatus();
}

// The dispatch, in the order the names are tried.
struct ActionTable {
    struct Entry {
        std::string_view action;
        void (ScriptStepper::*run)();
    };
    static constexpr std::array kEntries = {
        Entry{kDisplayMessage, &ScriptStepper::displayMessage},
        Entry{kExitScript, &ScriptStepper::exitScript},
        Entry{kCloseProgram, &ScriptStepper::closeProgram},
        Entry{kStartProgram, &ScriptStepper::startProgram},
        Entry{kSendKeystrokes, &ScriptStepper::sendKeystrokes},
        Entry{kDdeLong, &ScriptStepper::dde},
        Entry{kDde, &ScriptStepper::dde},
        Entry{kSetFocus, &ScriptStepper::setFocus},
        Entry{kFileActions, &ScriptStepper::fileActions},
        Entry{kSendEmail, &ScriptStepper::sendEmail},
        Entry{kSetValue, &ScriptStepper::setValue},
        Entry{kIfValue, &ScriptStepper::ifValue},
        Entry{kStartScript, &ScriptStepper::startScript},
        Entry{kWait, &ScriptStepper::wait},
        Entry{kWaitForProgramEnd, &ScriptStepper::waitForProgramEnd},
        Entry{kIfWindow, &ScriptStepper::ifWindow},
        Entry{kIfTimeElapsed, &ScriptStepper::ifTimeElapsed},
        Entry{kEndIf, &ScriptStepper::nothing},
        Entry{kEndMarker, &ScriptStepper::nothing},
    };
};

void ScriptStepper::execute() {
    keepCurrent_ = false;
    QueueItem& item = queue_.front();
    firstRun_ = !item.started;
    if (firstRun_) {
        item.started = true;
        if (observer_) observer_(item);
    }
    const std::string action = item.ACTION.str();
    const auto entry = std::find_if(ActionTable::kEntries.begin(), ActionTable::kEntries.end(),
                                    [&](const auto& e) { return e.action == action; });
    if (entry != ActionTable::kEntries.end()) {
        (this->*(entry->run))();
    } else {
        prompter_.message("Script Error", "Invalid script option: " + action, Icon::Error, kOk, kOk);
        failed(ItemFailure::InvalidAction, action);
    }
    if (keepCurrent_) {
        keepCurrent_ = false;
        return;
    }
    if (queue_.empty()) return;
    logScript(queue_.front().ACTION.str());
    queue_.popFront();
}

// --- actions carried out elsewhere -------------------------------------------------

void ScriptStepper::displayMessage() {
    const QueueItem& item = queue_.front();
    const std::string text = values_.substitute(item.DDEAPPLICATIONNAME.str());
    const std::string caption = values_.substitute(item.DDEAPPLICATIONTOPIC.str());
    prompter_.message(caption, text, Icon::None, kOk, kOk);
}

void ScriptStepper::closeProgram() { programs_.closeProgram(queue_.front()); }

void ScriptStepper::startProgram() {
    Substitution substitute;
    if (settings_.TranslateFilenames)
        substitute = [this](std::string_view text) { return values_.substitute(text); };
    keepCurrent_ = programs_.startProgramItem(queue_.front(), substitute, clock_, prompter_, debug());
    const ProgramStartResult& started = programs_.lastStart();
    if (started.attempted && !started.started())
        failed(ItemFailure::ProgramNotStarted, queue_.front().COMMAND.str());
}

void ScriptStepper::waitForProgramEnd() {
    if (programs_.checkProgramEnd(queue_.front(), clock_) == ProgramWait::Running) keepCurrent_ = true;
}

// A command to another running application; no value substitution. An
// application that is not running, or refuses the command, ends the item
// quietly (debug mode tells why).
void ScriptStepper::dde() {
    const QueueItem& item = queue_.front();
    const platform::DdeResult result = platform::desktop().dde->execute(
        item.DDEAPPLICATIONNAME.str(), item.DDEAPPLICATIONTOPIC.str(), item.DDECOMMAND.str());
    if (!result.ok() && debug())
        prompter_.message("Debug", "DDE command not executed:\r" + result.errorText, Icon::None, kOk, kOk);
}

void ScriptStepper::setFocus() { programs_.setFocus(queue_.front(), prompter_, debug()); }

void ScriptStepper::sendKeystrokes() {
    const std::string text = queue_.front().KEYSTROKES.str();
    const ValueLookup lookup = [this](std::string_view name) -> std::optional<std::string> {
        std::string value = values_.get(name);
        if (value.empty()) return std::nullopt;
        return value;
    };
    const KeystrokePacing pacing{scriptingDelay(settings_), services_.waitYielding,
                                 services_.onKeystrokePass};
    script::sendKeystrokes(text, std::max<int>(1, settings_.BurstSize), lookup, *platform::desktop().keyboard,
                           clock_, pacing);
}

void ScriptStepper::fileActions() {
    const QueueItem& item = queue_.front();
    lastFileResult_ =
        runFileAction(item.DDETYPE.str(), item.COMMAND.str(), item.PATH.str(), values_, services_.dryRun)
            .result;
}

void ScriptStepper::sendEmail() {
    const int result = mail_.sendFromScript(queue_.front().EMAILID);
    if (result == kMailPending)
        keepCurrent_ = true;  // the transfer runs on: ask again next tick
    else
        lastMailResult_ = result;
    if (result != kMailPending && result != 0) failed(ItemFailure::MailNotSent, std::to_string(result));
}

void ScriptStepper::setValue() {
    const QueueItem& item = queue_.front();
    setComputedValue(values_, item.PATH.str(), item.COMMAND.str());
}

}  // namespace plorix::script
