#include "script/action_help.h"

#include <array>
#include <utility>

#include "script/action_names.h"

namespace plorix::script {

namespace {

constexpr std::string_view kSetFocusHelp =
    "Bring a window to the front and give it the keyboard focus.  Name the window in one of these ways:  "
    "the exact title, for example \"Connect To\" (not case sensitive); the first few unique characters "
    "followed by an asterisk, for example \"Untitled - *\"; an asterisk followed by a phrase to find "
    "anywhere in the title, for example \"*Notepad\"; or the name of the program's executable.";

constexpr std::string_view kWaitHelp =
    "This script action waits for a number of seconds to pass, and/or a window with a specific title to "
    "appear.  Leave blank whichever does not apply.  Name the window by its exact title, for example "
    "\"Connect To\" (not case sensitive); by the first few unique characters followed by an asterisk, for "
    "example \"Untitled - *\"; or by an asterisk followed by a phrase to find anywhere in the title, for "
    "example \"*Notepad\".  Put a tilde (\"~\") before any of these to wait for the window to disappear.";

constexpr std::string_view kIfWindowHelp =
    "The script items you enter between this item and the next \"End If\" item will only execute if the "
    "condition you specify is true.  Name the window by its exact title, for example \"Connect To\" (not "
    "case sensitive); by the first few unique characters followed by an asterisk, for example "
    "\"Untitled - *\"; or by an asterisk followed by a phrase to find anywhere in the title, for example "
    "\"*Notepad\".";

constexpr std::string_view kStartProgramHelp =
    "Enter the program (or a document) to start in the command field, or choose it with the Browse "
    "button.  You may give a folder to start in; choosing a program fills it with the program's own "
    "folder.  When it is blank the program runs from the program's own folder.";

constexpr std::array<std::pair<std::string_view, std::string_view>, 15> kHelp{{
    {kDisplayMessage, "This will display a message with a title, and OK button."},
    {kCloseProgram,
     "Specify an executable file (\"EXE\") by name* (including the full path) or leave the \"executable\" "
     "field blank to close whichever window or application that has \"focus\" when this script item is "
     "executed.  Use with caution.  Usually sending [AltF4] let's you shut down an application in a safe "
     "way.  (* - Requires KILLPROC.EXE.)"},
    {kSendKeystrokes,
     "Enter the keystrokes you wish to send to the application that currently has \"focus\".  This would "
     "be the program you just started, or another that you specifically or manually focused on.  To enter "
     "special keycodes, use the square braces (\"[]\") and a keystroke name.  For example \"[AltB]\" would "
     "send an Alt-B to the program with focus."},
    {kDde,
     "This executes a DDE command of your choice with the application you specify.  Note that the "
     "application must already be running.  Consult the documentation of the application you are "
     "communicating for specify topics and commands to use."},
    {kIfTimeElapsed,
     "The script items you enter between this item and the next \"End If\" item will only execute if the "
     "condition you specify is true.  The time elapsed is measured from the execution of the first script "
     "item to this script item, in seconds."},
    {kExitScript,
     "Exit Script:  This will exit the script at this point. Usually this script action is used in "
     "conjunction with an \"If...\" script action."},
    {kStartScript,
     "Import and execute a script on-the-fly.  \"Insert\" loads the external script into the current "
     "location, and when the external script has completed, continues with the current script.  \"Jump\" "
     "loads the external script into the current location, and when the external script has completed, "
     "does not continue with the current script.  \"Append\" loads the external script onto the end of all "
     "executing scripts."},
    {kSendEmail, "Send a message via the Internet."},
    {kSetValue,
     "Set a value to a constant or another value.  Use square brackets to indicate another value.  "
     "Example:  Value Name: SAVESIZE, Value: [FILESIZE] or Value Name: DAY, Value: MONDAY.   Note that "
     "there are reserved system values TODAY, DATE, TIME, NOW, FILESIZE, FILEDATE, FILETIME, and FOCUS."},
    {kIfValue,
     "Evaluate a previously set value.  You can compare it to a constant or another value.  Use square "
     "brackets to indicate another value.  Example:  SAVESIZE <> [FILESIZE] or FILESIZE <> 0.   Note that "
     "there are reserved system values TODAY, DATE, TIME, NOW, FILESIZE, FILEDATE, FILETIME, and FOCUS."},
    {kFileActions,
     "Perform an action such as copy, move, or delete with files.  A system value is set automatically; it "
     "contains the result of the operation.  For example Get File Size creates or updates a FILESIZE value "
     "that can be evaluated with the \"If Value...\" script command."},
    {kSetFocus, kSetFocusHelp},
    {kWait, kWaitHelp},
    {kIfWindow, kIfWindowHelp},
    {kStartProgram, kStartProgramHelp},
}};

}  // namespace

std::string_view actionHelp(std::string_view action) {
    if (action == kDdeLong) action = kDde;
    for (const auto& [name, text] : kHelp)
        if (name == action) return text;
    return {};
}

}  // namespace plorix::script
