#pragma once
// SETUP's housekeeping buttons. Each asks its Yes/No question first (No is
// the default) and does nothing unless the user says Yes. The deletions touch
// only the table named; they do not cascade.

#include <functional>
#include <span>
#include <string_view>

#include "store/store.h"
#include "runtime/prompter.h"

namespace plorix::settings {

enum class Clearance { DisabledTasks, CompletedTasks, TodoList };

// Deletes the Schedule records with SCH:DISABLED or SCH:COMPLETED set, or
// every Todo record, from `table` (Schedule or Todo). A failed deletion shows
// the store's error and stops the run. True when the run completed.
bool clearRecords(Clearance what, store::Table& table, Prompter& prompter);

// Blanks the saved position and size of the program's main windows in the
// settings INI file and in ".\POSITION.INI". True when the user agreed.
bool resetWindowSettings(Prompter& prompter, std::string_view settingsIni);
// The windows whose saved settings the reset blanks.
std::span<const std::string_view> resetWindowSections();

// Empties the running scripts through `emptyQueue` once the user agrees.
bool clearScriptQueue(Prompter& prompter, const std::function<void()>& emptyQueue);

}  // namespace plorix::settings
