#include "ui/script/scripting_pages.h"

#include "data/field_choices.h"
#include "data/tables/scripting.h"
#include "script/action_names.h"
#include "store/field_of.h"

namespace plorix::ui {

namespace sn = script;

std::span<const ActionFamily> actionFamilies() {
    static const std::vector<ActionFamily> families{
        {"Basic Actions", {sn::kSendKeystrokes, sn::kSetFocus, sn::kWait, sn::kDisplayMessage}},
        {"Conditions", {sn::kIfWindow, sn::kIfTimeElapsed, sn::kIfValue, sn::kEndIf}},
        {"Program Control", {sn::kStartProgram, sn::kCloseProgram, sn::kStartScript, sn::kDde}},
        {"Miscellaneous", {sn::kFileActions, sn::kSendEmail, sn::kSetValue, sn::kExitScript}},
    };
    return families;
}

std::string_view keystrokesField() { return store::fieldNameOf(&data::Scripting::KEYSTROKES); }

std::span<const ParameterPage> parameterPages() {
    using K = EditorKind;
    using H = FieldHelper;
    constexpr std::string_view kWindowTip =
        "The window's title, its first characters followed by \"*\", or \"*\" and a phrase in it";
    static const std::vector<ParameterPage> pages{
        {"Keys",
         {sn::kSendKeystrokes},
         {{keystrokesField(), K::Text, "&Keystrokes:", "The keys to type; key names go in square brackets"}},
         {PageButton::KeyList}},
        {"Wait",
         {sn::kWait},
         {{"SCR:SECONDSTOWAIT", K::Number, "&Seconds To Wait Before Next Script Item Executes:",
           "Seconds to wait; 0 waits for the window alone"},
          {"SCR:DDEAPPLICATIONNAME", K::Option, "Seconds and Window", "", {"And", "Or"}},
          {"SCR:WAITFORWINDOW", K::Text, "Wait For Window:", kWindowTip, {}, H::WindowTitle}},
         {PageButton::ChildText}},
        {"Focus",
         {sn::kSetFocus},
         {{"SCR:FOCUSONWINDOW", K::Text, "Foc&us On Window:", kWindowTip, {}, H::WindowTitle}},
         {PageButton::ChildTextFocus}},
        {"DDE",
         {sn::kDde, sn::kDdeLong},
         {{"SCR:DDEAPPLICATIONNAME", K::Text, "DDE &Application Name:", "The service of the application"},
          {"SCR:DDEAPPLICATIONTOPIC", K::Text, "DDE A&pplication Topic:", "The topic of the conversation"},
          {"SCR:DDECOMMAND", K::Text, "DDE &Command:", "The command the application is to execute"}},
         {}},
        {"If Window",
         {sn::kIfWindow},
         {{"SCR:WINDOWEXISTANCE",
           K::Option,
           "Condition",
           "",
           {data::kWindowConditions.begin(), data::kWindowConditions.end()}},
          {"SCR:WINDOWTITLETOCHECKFOR",
           K::Text,
           "Window Title To Check For:",
           kWindowTip,
           {},
           H::WindowTitle}},
         {PageButton::ChildText}},
        {"If Time",
         {sn::kIfTimeElapsed},
         {{"SCR:IFTIMEELAPSED",
           K::Option,
           "Condition: Time Elapsed is",
           "",
           {data::kElapsedConditions.begin(), data::kElapsedConditions.begin() + 2}},
          {"SCR:TIMEELAPSED", K::Number, "Time (seconds):", "Seconds since the script's first item"}},
         {}},
        {"If Var",
         {sn::kIfValue},
         {{"SCR:COMMAND", K::Text, "Value Name:", "The name of a value set before"},
          {"SCR:WINDOWTITLETOCHECKFOR",
           K::DropList,
           "Comparison:",
           "",
           {data::kComparisons.begin(), data::kComparisons.end()}},
          {"SCR:WAITFORWINDOW", K::Text, "Compare to:", "A text, a number or a [VALUE] in brackets"}},
         {}},
        {"Set Var",
         {sn::kSetValue},
         {{"SCR:PATH", K::Text, "Value Name:", "The name the value is kept under"},
          {"SCR:COMMAND", K::Text, "Value:", "A text, [ANOTHER] value, or \"=\" and a sum"}},
         {}},
        {"Start Script",
         {sn::kStartScript},
         {{"SCR:COMMAND", K::Text, "Script:", "The script file to run", {}, H::ScriptFile},
          {"SCR:PATH",
           K::DropList,
           "Type:",
           "",
           {data::kStartScriptTypes.begin(), data::kStartScriptTypes.end()}}},
         {}},
        {"Send Email",
         {sn::kSendEmail},
         {{"SCR:EMAILID", K::Number, "Message Number:", "The stored message to send", {}, H::ReadOnly}},
         {PageButton::SelectMessage}},
        {"File Actions",
         {sn::kFileActions},
         {{"SCR:DDETYPE",
           K::DropList,
           "File Action:",
           "",
           {data::kFileActions.begin(), data::kFileActions.end()}},
          {"SCR:COMMAND", K::Text, "Parameter 1:", "The file or folder acted on", {}, H::File},
          {"SCR:PATH", K::Text, "Parameter 2:", "Where a copy or move goes", {}, H::File}},
         {}},
        {"Start",
         {sn::kStartProgram},
         {{"SCR:COMMAND", K::Text, "Comma&nd:", "The program (or document) to start", {}, H::Program},
          {"SCR:PATH", K::Text, "Start &in:", "The folder the program starts in"}},
         {PageButton::StartAdvanced}},
        {"Display Message",
         {sn::kDisplayMessage},
         {{"SCR:DDEAPPLICATIONTOPIC", K::Text, "Message Title:", "The title of the message box"},
          {"SCR:DDEAPPLICATIONNAME", K::Text, "Message:", "The text of the message box"}},
         {}},
        {"Close",
         {sn::kCloseProgram},
         {{"SCR:COMMAND",
           K::Text,
           "Execu&table:",
           "Blank closes the window that has the focus",
           {},
           H::File}},
         {}},
        {"Other", {sn::kEndIf, sn::kExitScript}, {}, {}, "No information is required for this action."},
    };
    return pages;
}

const ParameterPage& pageOf(std::string_view action) {
    for (const ParameterPage& page : parameterPages())
        for (std::string_view a : page.actions)
            if (a == action) return page;
    return parameterPages().back();
}

std::vector<std::string_view> dialogFields(PageButton button) {
    switch (button) {
    case PageButton::ChildText: return {"SCR:FOCUSONWINDOW"};
    case PageButton::ChildTextFocus: return {"SCR:WAITFORWINDOW"};
    case PageButton::StartAdvanced:
        return {"SCR:DDEAPPLICATIONNAME", "SCR:TIMEELAPSED", "SCR:DDEAPPLICATIONTOPIC"};
    default: return {};
    }
}

std::span<const RequiredField> requiredFields() {
    static const std::vector<RequiredField> fields{
        {sn::kSendKeystrokes, keystrokesField(), "Enter the keystrokes to send."},
        {sn::kSetFocus, "SCR:FOCUSONWINDOW", "Enter the title of the window to focus on."},
        {sn::kIfWindow, "SCR:WINDOWTITLETOCHECKFOR", "Enter the title of the window to check for."},
        {sn::kIfValue, "SCR:COMMAND", "Enter the name of the value to compare."},
        {sn::kIfValue, "SCR:WINDOWTITLETOCHECKFOR", "Choose a comparison."},
        {sn::kSetValue, "SCR:PATH", "Enter the name of the value to set."},
        {sn::kStartScript, "SCR:COMMAND", "Enter the script file to start."},
        {sn::kStartScript, "SCR:PATH", "Choose how the script is to start."},
        {sn::kStartProgram, "SCR:COMMAND", "Enter the program to start."},
        {sn::kFileActions, "SCR:DDETYPE", "Choose a file action."},
        {sn::kFileActions, "SCR:COMMAND", "Enter the file or folder to act on."},
        {sn::kSendEmail, "SCR:EMAILID", "Select the message to send."},
    };
    return fields;
}

}  // namespace plorix::ui
