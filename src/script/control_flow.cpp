// The control-flow actions: the "If..." tests and the skip over a failed
// test's block, "Exit Script", and "Wait".

#include "log/event_log.h"
#include "platform/desktop.h"
#include "runtime/fixed_text.h"
#include "script/action_names.h"
#include "script/program_actions.h"
#include "script/queue_layout.h"
#include "script/stepper.h"
#include "script/window_pattern.h"

namespace plorix::script {

void ScriptStepper::exitScript() {
    // Drops the rest of the current script up to its end marker, which the
    // stepper then logs and removes; later scripts stay.
    for (;;) {
        queue_.popFront();
        if (queue_.empty()) {
            keepCurrent_ = true;
            return;
        }
        if (queue_.front().ACTION == kEndMarker) return;
    }
}

void ScriptStepper::testOutcome(bool passed) {
    if (passed) {
        if (debug()) prompter_.message("Test passed", "Next item will be processed.", Icon::None, kOk, kOk);
        return;
    }
    logScript(queue_.front().ACTION.str());
    skipBlock();
}

// Removes the failed test and its block up to the matching "...End If",
// which is left at the head for the stepper to log and remove. Nested tests
// are skipped with their own blocks. The skip does not stop at a script's
// end marker: without a matching "...End If" the rest of the queue goes.
void ScriptStepper::skipBlock() {
    if (debug()) prompter_.message("Test failed", "Removing task items.", Icon::None, kOk, kOk);
    int depth = 0;  // nested tests whose blocks are being skipped
    for (;;) {
        keepCurrent_ = false;
        queue_.popFront();
        if (queue_.empty()) {
            keepCurrent_ = true;
            return;
        }
        const std::string_view action = queue_.front().ACTION.str();
        if (action.substr(0, 3) == "End" || action == kEndIf) {
            if (depth == 0) return;
            --depth;  // the nested block's end goes with the next removal
        } else if (action.substr(0, 3) == "If ") {
            ++depth;
            if (debug()) prompter_.message("Test failed", "Removing task items.", Icon::None, kOk, kOk);
        }
    }
}

void ScriptStepper::ifValue() {
    const QueueItem& item = queue_.front();
    const bool passed =
        values_.compare(item.COMMAND.str(), item.WINDOWTITLETOCHECKFOR.str(), item.WAITFORWINDOW.str());
    logScript(padRight(item.ACTION.str(), 27) + (passed ? " *TRUE*" : " *FALSE*"));
    if (!passed) skipBlock();
}

void ScriptStepper::ifWindow() {
    const QueueItem& item = queue_.front();
    const bool found =
        findWindow(item.WINDOWTITLETOCHECKFOR.str(), item.FOCUSONWINDOW.str()) != platform::kNoWindow;
    // "Window Exists" asks for the window, "Window Doesn't Exist" (which does
    // not hold the word "Exists") for its absence.
    const std::size_t at = item.WINDOWEXISTANCE.str().find("Exists");
    const bool wantsWindow = at != std::string::npos && at > 0;
    testOutcome(found == wantsWindow);
}

// "Greater Than" passes once the time since the script's start has reached
// the item's seconds; "Less Than" passes only before that.
void ScriptStepper::ifTimeElapsed() {
    const QueueItem& item = queue_.front();
    const bool reached = clock_.steadyHundredths() >= item.deadline;
    const bool lessThan = containsNoCase(item.IFTIMEELAPSED.str(), "Less");
    testOutcome(lessThan ? !reached : reached);
}

void ScriptStepper::wait() {
    QueueItem& item = queue_.front();
    const std::int64_t now = clock_.steadyHundredths();
    // Every wait measures its own time: a wait left unfinished (its queue
    // emptied by the user) must not lend its start to the next one.
    if (firstRun_) waiting_ = false;
    const bool orWait = isOrWait(item);
    if (orWait && item.deadline == kNoDeadline)
        item.deadline = now + std::max<std::int64_t>(item.SECONDSTOWAIT, 0) * kHundredthsPerSecond;
    keepCurrent_ = false;
    if (orWait && now > item.deadline) {
        // The limit ends the wait like a window found would: the time spent
        // moves the later items, and a later window wait starts afresh.
        completeWait();
        return;
    }
    const std::string pattern = item.WAITFORWINDOW.str();
    if (trim(pattern).empty()) return;  // with "And" its seconds were spent in the schedule
    if (!waiting_) {
        waiting_ = true;
        waitStart_ = now;
    }
    const platform::WindowId window = findWindow(withoutDisappearanceMark(pattern), item.FOCUSONWINDOW.str());
    if (isDisappearancePattern(pattern)) {
        if (window == platform::kNoWindow) {
            completeWait();
            return;
        }
    } else if (window != platform::kNoWindow) {
        bringToFront(window);
        completeWait();
        if (debug())
            prompter_.message("Debug", "Switched to window:\r" + clip(pattern), Icon::None, kOk, kOk);
        return;
    }
    keepCurrent_ = true;
}

void ScriptStepper::completeWait() {
    if (!waiting_) return;
    if (debug()) prompter_.message("Debug", "Completed wait.", Icon::None, kOk, kOk);
    waiting_ = false;
    if (queue_.size() < 2) return;
    std::int64_t spent = clock_.steadyHundredths() - waitStart_;
    if (spent < 0) spent = kHundredthsPerSecond;
    delayItems(queue_.items(), 1, spent);
}

}  // namespace plorix::script
