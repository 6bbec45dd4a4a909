#pragma once
// The action names a script item's SCR:ACTION holds, compared as whole
// texts. The ones the item form offers are declared with the other option
// lists (data/field_choices.h); "DDE (Dynamic Data Exchange)" is an older
// spelling still run, "Wait for Program End" (program_actions.h) and
// "**End**" (script_queue.h) exist only in the queue.

#include <string_view>

#include "data/field_choices.h"

namespace plorix::script {

using data::action::kCloseProgram;
using data::action::kDde;
using data::action::kDisplayMessage;
using data::action::kEndIf;
using data::action::kExitScript;
using data::action::kFileActions;
using data::action::kIfTimeElapsed;
using data::action::kIfValue;
using data::action::kIfWindow;
using data::action::kSendEmail;
using data::action::kSendKeystrokes;
using data::action::kSetFocus;
using data::action::kSetValue;
using data::action::kStartProgram;
using data::action::kStartScript;
using data::action::kWait;
inline constexpr std::string_view kDdeLong = "DDE (Dynamic Data Exchange)";

}  // namespace plorix::script
