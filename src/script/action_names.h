#pragma once
// The action names a script item's SCR:ACTION holds, compared as whole
// texts. "Wait for Program End" (program_actions.h) and "**End**"
// (script_queue.h) exist only in the queue.

#include <string_view>

namespace plorix::script {

inline constexpr std::string_view kDisplayMessage = "Display Message";
inline constexpr std::string_view kStartProgram = "Start Program";
inline constexpr std::string_view kCloseProgram = "Close Program";
inline constexpr std::string_view kSendKeystrokes = "Send Keystrokes";
inline constexpr std::string_view kDdeLong = "DDE (Dynamic Data Exchange)";
inline constexpr std::string_view kDde = "DDE";
inline constexpr std::string_view kSetFocus = "Set Focus";
inline constexpr std::string_view kWait = "Wait";
inline constexpr std::string_view kIfWindow = "If Window...";
inline constexpr std::string_view kIfTimeElapsed = "If Time Elapsed...";
inline constexpr std::string_view kIfValue = "If Value...";
inline constexpr std::string_view kEndIf = "...End If";
inline constexpr std::string_view kExitScript = "Exit Script";
inline constexpr std::string_view kFileActions = "File Actions";
inline constexpr std::string_view kSendEmail = "Send Email";
inline constexpr std::string_view kSetValue = "Set Value";
inline constexpr std::string_view kStartScript = "Start Script";

}  // namespace plorix::script
