#include "script/item_description.h"

#include <array>
#include <string_view>

#include "runtime/fixed_text.h"
#include "script/action_names.h"
#include "script/program_actions.h"

namespace plorix::script {
namespace {

using Item = data::Scripting;

std::string program(const Item& i) { return i.COMMAND.str() + " " + i.PATH.str(); }

std::string closeProgram(const Item& i) {
    return i.COMMAND.empty() ? std::string("Window with focus") : i.COMMAND.str();
}

std::string ifValue(const Item& i) {
    return i.COMMAND.str() + " " + i.WINDOWTITLETOCHECKFOR.str() + " " + i.WAITFORWINDOW.str();
}

std::string fileActions(const Item& i) {
    return i.DDETYPE.str() + " ( " + i.COMMAND.str() + " , " + i.PATH.str() + " )";
}

std::string dde(const Item& i) {
    return i.DDETYPE.str() + " " + i.DDEAPPLICATIONNAME.str() + " " + i.DDEAPPLICATIONTOPIC.str();
}

std::string displayMessage(const Item& i) {
    return i.DDEAPPLICATIONNAME.str() + " " + i.DDEAPPLICATIONTOPIC.str();
}

std::string setFocus(const Item& i) { return i.FOCUSONWINDOW.str(); }

std::string wait(const Item& i) {
    if (i.SECONDSTOWAIT == 0) return i.WAITFORWINDOW.str();
    const std::string seconds = std::to_string(i.SECONDSTOWAIT) + " seconds";
    if (i.WAITFORWINDOW.empty()) return seconds;
    return seconds + " " + i.DDEAPPLICATIONNAME.str() + " " + i.WAITFORWINDOW.str();
}

std::string ifWindow(const Item& i) {
    std::string text = i.WINDOWTITLETOCHECKFOR.str();
    if (!i.FOCUSONWINDOW.empty()) text += "/" + i.FOCUSONWINDOW.str();
    return text + " - " + i.WINDOWEXISTANCE.str();
}

std::string ifTimeElapsed(const Item& i) { return std::to_string(i.TIMEELAPSED) + " seconds"; }
std::string keystrokes(const Item& i) { return i.KEYSTROKES.str(); }
std::string setValue(const Item& i) { return i.PATH.str() + " = " + i.COMMAND.str(); }

struct Rule {
    std::string_view action;
    std::string (*describe)(const Item&);
};

constexpr std::array kRules = {
    Rule{kStartProgram, program},
    Rule{kWaitForProgramEnd, program},
    Rule{kStartScript, program},
    Rule{kCloseProgram, closeProgram},
    Rule{kIfValue, ifValue},
    Rule{kFileActions, fileActions},
    Rule{kDdeLong, dde},
    Rule{kDde, dde},
    Rule{kDisplayMessage, displayMessage},
    Rule{kSetFocus, setFocus},
    Rule{kWait, wait},
    Rule{kIfWindow, ifWindow},
    Rule{kIfTimeElapsed, ifTimeElapsed},
    Rule{kSendKeystrokes, keystrokes},
    Rule{kSetValue, setValue},
};

}  // namespace

std::string itemDescription(const data::Scripting& item) {
    for (const Rule& rule : kRules) {
        if (item.ACTION == rule.action) return clip(cutToWidth(rule.describe(item), kDescriptionWidth));
    }
    return {};
}

std::string progressText(const data::Scripting& item) {
    const std::string description = itemDescription(item);
    return description.empty() ? item.ACTION.str() : item.ACTION.str() + "-" + description;
}

}  // namespace plorix::script
