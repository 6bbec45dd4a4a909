#pragma once
// What the SETUP dialog does besides showing controls: refusing to open in
// "inactivated" mode, preparing the values it edits, and OK's write-back.

#include <string_view>

#include "runtime/prompter.h"
#include "settings/settings.h"

namespace plorix::settings {

// True (after telling the user) when SETUP must not open: the program was
// started with "/I".
bool setupRefused(Prompter& prompter, const Settings& s = settings());

// The values SETUP edits: a copy of the live settings with ScriptingDelay and
// BurstSize read afresh from the table.
Settings beginSetup(const Settings& live = settings());

// OK: writes every SETUP key in one batch in its fixed order (a
// RepeatAlarmInterval of 1 to 4 becomes 5), makes `edited` the live settings,
// reloads ScriptingDelay and BurstSize, and stores a changed DateFormat after
// telling the user that open windows keep the old one. `edited` must be a
// copy, not the live settings themselves.
void applySetup(Prompter& prompter, const Settings& edited, Settings& live = settings());

// The explanation behind the "Info" button beside TranslateFilenames.
std::string_view translateFilenamesInfo();
void showTranslateFilenamesInfo(Prompter& prompter);

}  // namespace plorix::settings
