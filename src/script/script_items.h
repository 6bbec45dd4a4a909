#pragma once
// Whole scripts and their items in the Scripting table: moving an item,
// deleting one with renumbering, deleting, copying, exporting and importing
// a task's script. Each works on the process's Scripting table, taking a use
// of it for its duration (so it opens the table when nobody else has).

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/prompter.h"

namespace plorix::script {

enum class MoveDirection { Up, Down, Top, Bottom };

// Moves item `sequence` of task `taskId`. Sequence numbers stay unique:
// the item parks on a free number while the items it passes shift by one.
// False when nothing moved (first item up, last item down, or an error,
// which has been shown as "Record swap error").
bool moveScriptItem(std::int32_t taskId, std::int32_t sequence, MoveDirection direction, Prompter& prompter);

// Deletes item `sequence` of task `taskId` and renumbers the later items so
// the numbers stay consecutive.
bool deleteScriptItem(std::int32_t taskId, std::int32_t sequence, Prompter& prompter);

// Deletes every item of the task, with a progress window. Returns the
// number deleted.
int deleteScript(std::int32_t taskId, Prompter& prompter);

// Copies every item of task `source` to task `target`. Returns the number copied.
int copyScript(std::int32_t source, std::int32_t target, Prompter& prompter);

// Appends the task's items to a script file (creating it when missing);
// items whose action script files do not carry are left out. Returns the
// number written.
int exportScript(std::int32_t taskId, const std::string& path, Prompter& prompter);

// Adds a script file's items after the task's last item. Unknown actions
// are reported and skipped. Returns the number added.
int importScript(std::int32_t taskId, const std::string& path, Prompter& prompter);

}  // namespace plorix::script
