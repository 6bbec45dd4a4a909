#pragma once
// The values a field may hold when its window offers a fixed list, declared
// once: the windows fill their option lists from these texts, the scheduler
// and the script runner compare against them, and the command line refuses
// anything else (taking any letter case, storing the spelling given here).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/store.h"

namespace plorix::data {

// SCH:TASKTYPE, in the order the entry form lists them.
inline constexpr std::string_view kTaskRunProgram = "Run Program";
inline constexpr std::string_view kTaskDisplayMessage = "Display Message";
inline constexpr std::string_view kTaskBoth = "Both";
inline constexpr std::string_view kTaskNone = "None";
inline constexpr std::array kTaskTypes = {kTaskRunProgram, kTaskDisplayMessage, kTaskBoth, kTaskNone};

// SCH:SCHEDULETYPE, SCH:EVERYTYPE and SCH:SHIFTTYPE, in list order.
inline constexpr std::array<std::string_view, 6> kScheduleTypes = {"Once",    "Day of Week", "Day of Month",
                                                                   "Monthly", "Yearly",      "Custom"};
inline constexpr std::array<std::string_view, 6> kEveryUnits = {"minute(s)", "hour(s)",  "day(s)",
                                                                "week(s)",   "month(s)", "year(s)"};
inline constexpr std::array<std::string_view, 3> kShiftTypes = {"Skip (to Next Valid Day)", "Previous Day",
                                                                "Next Day"};

// SCR:ACTION: the actions the script item form offers, page by page.
namespace action {
inline constexpr std::string_view kSendKeystrokes = "Send Keystrokes";
inline constexpr std::string_view kSetFocus = "Set Focus";
inline constexpr std::string_view kWait = "Wait";
inline constexpr std::string_view kDisplayMessage = "Display Message";
inline constexpr std::string_view kIfWindow = "If Window...";
inline constexpr std::string_view kIfTimeElapsed = "If Time Elapsed...";
inline constexpr std::string_view kIfValue = "If Value...";
inline constexpr std::string_view kEndIf = "...End If";
inline constexpr std::string_view kStartProgram = "Start Program";
inline constexpr std::string_view kCloseProgram = "Close Program";
inline constexpr std::string_view kStartScript = "Start Script";
inline constexpr std::string_view kDde = "DDE";
inline constexpr std::string_view kFileActions = "File Actions";
inline constexpr std::string_view kSendEmail = "Send Email";
inline constexpr std::string_view kSetValue = "Set Value";
inline constexpr std::string_view kExitScript = "Exit Script";
}  // namespace action
inline constexpr std::array kScriptActions = {
    action::kSendKeystrokes, action::kSetFocus,      action::kWait,        action::kDisplayMessage,
    action::kIfWindow,       action::kIfTimeElapsed, action::kIfValue,     action::kEndIf,
    action::kStartProgram,   action::kCloseProgram,  action::kStartScript, action::kDde,
    action::kFileActions,    action::kSendEmail,     action::kSetValue,    action::kExitScript,
};

// The parameters of some actions.
inline constexpr std::array<std::string_view, 2> kWindowConditions = {"Window Exists",
                                                                      "Window Doesn't Exist"};
// SCR:IFTIMEELAPSED: what the item form's two choices store, then the
// form's "Time Elapsed is Greater Than" / "... Less Than" cut to the field's
// 20 characters, as older files hold them.
inline constexpr std::array<std::string_view, 4> kElapsedConditions = {
    "Greater Than", "Less Than", "Time Elapsed is Grea", "Time Elapsed is Less"};
inline constexpr std::array<std::string_view, 9> kFileActions = {
    "Copy",          "Move",          "Delete",        "Make Directory", "Remove Directory",
    "Get File Date", "Get File Time", "Get File Size", "If File Exists",
};
inline constexpr std::array<std::string_view, 3> kStartScriptTypes = {"Insert (Execute and continue)",
                                                                      "Jump to (Execute and skip)", "Append"};
inline constexpr std::array<std::string_view, 6> kComparisons = {"=", "<", "<=", "=>", ">", "<>"};

// M_:MAILTYPE, in the order the message form offers them.
inline constexpr std::string_view kEmailType = "Email";
inline constexpr std::string_view kNewsType = "News";
inline constexpr std::string_view kMassMailingType = "Mass Mailing";
inline constexpr std::array kMailTypes = {kEmailType, kNewsType, kMassMailingType};

// A field that holds one of a fixed list of texts. Some script fields hold
// a list only for one action (SCR:PATH is a folder for "Start Program" but
// the kind of call for "Start Script"): `action` names it, empty for always.
struct FieldChoices {
    std::string_view field;
    std::span<const std::string_view> texts;
    bool blankAllowed;  // a record may leave the field blank
    std::string_view action = {};
};

// A number field limited to a range its window enforces.
struct FieldRange {
    std::string_view field;
    std::int64_t least;
    std::int64_t most;
};

// TDO:PRIORITY, as the to-do form checks it.
inline constexpr FieldRange kTodoPriority = {"TDO:PRIORITY", 1, 10};

std::span<const FieldChoices> fieldChoices();
std::span<const FieldRange> fieldRanges();

// The choices declared for a field (full name, any case) when the record
// holds `action` (ignored for fields declared for every record); null when
// the field takes any text.
const FieldChoices* choicesFor(std::string_view field, std::string_view action = {});
const FieldRange* rangeFor(std::string_view field);

// The declared spelling of `value` (letter case ignored, trailing blanks
// too, as the store clips them); empty when the value is not offered.
std::string_view canonicalChoice(const FieldChoices& choices, std::string_view value);

// "Once|Day of Week|..." or "1..10": what `plorix-cli fields` shows.
std::string describeAllowed(std::string_view field);

}  // namespace plorix::data
