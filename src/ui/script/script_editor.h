#pragma once
// How the script editor reaches what lies outside it: the user, the clock,
// and running a script now through the frame's queue.

#include <QWidget>
#include <cstdint>
#include <functional>

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
};

// BROWSESCRIPT: the script items of task `taskId`, as a window of `parent`
// that blocks the windows below it until it is closed.
void browseScript(const ScriptEditorServices& services, std::int32_t taskId, QWidget* parent);

}  // namespace plorix::ui
