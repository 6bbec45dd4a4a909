#pragma once
// How the script editor reaches what lies outside it: the user, the clock,
// running a script now through the frame's queue, and choosing a stored
// message.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "runtime/clock.h"
#include "runtime/prompter.h"

namespace plorix::ui {

struct ScriptEditorServices {
    Prompter& prompter;
    const Clock& clock;
    // Queues the task's script to run now; empty: "Test Run" stays disabled.
    std::function<void(std::int32_t taskId)> testRun;
    // Whether a script is still running (the editor comes back once the
    // test run is over); empty: it stays minimised.
    std::function<bool()> scriptRunning;
    // Lets the user choose a stored message, its M_:EMAILID; empty: the
    // "Send Email" page cannot choose one.
    std::function<std::optional<std::int32_t>(QWidget* parent)> selectMessage;
};

// BROWSESCRIPT: the script items of task `taskId`, as a window of `parent`
// that blocks the windows below it until it is closed.
void browseScript(const ScriptEditorServices& services, std::int32_t taskId, QWidget* parent);

}  // namespace plorix::ui
