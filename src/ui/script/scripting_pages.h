#pragma once
// The item form's pages, declared as data: which actions each family
// offers, which parameter page each action shows, the fields of each page
// with their labels, tips and helpers, and the fields an action may not
// leave blank.

#include <span>
#include <string_view>
#include <vector>

#include "ui/kit/field_editor.h"

namespace plorix::ui {

// The actions offered, in families (the tabs of radio buttons).
struct ActionFamily {
    std::string_view title;
    std::vector<std::string_view> actions;
};
std::span<const ActionFamily> actionFamilies();

// What sits beside a field.
enum class FieldHelper {
    None,
    WindowTitle,  // choose an open window, or click one
    File,         // "&Browse" for any file
    Program,      // "&Browse" for a program; fills an empty start-in folder
    ScriptFile,   // "&Browse" for a script file
    ReadOnly,     // shown, not typed
};

// The field (not a key) that "Send Keystrokes" types from; the key list
// inserts names into it.
std::string_view keystrokesField();

struct PageField {
    std::string_view field;  // full field name, "SCR:COMMAND"
    EditorKind kind;
    std::string_view label;
    std::string_view tip;
    std::vector<std::string_view> choices = {};
    FieldHelper helper = FieldHelper::None;
};

// The buttons of a page.
enum class PageButton {
    KeyList,         // "View List of Abbreviations"
    ChildText,       // "Advanced": the child text of "Wait" and "If Window..." (SCR:FOCUSONWINDOW)
    ChildTextFocus,  // "Advanced": the child text of "Set Focus" (SCR:WAITFORWINDOW)
    StartAdvanced,   // "&Advanced": the options of "Start Program"
    SelectMessage,   // "Select &Message"
};

struct ParameterPage {
    std::string_view name;                  // "Keys"
    std::vector<std::string_view> actions;  // the actions that show it
    std::vector<PageField> fields;
    std::vector<PageButton> buttons;
    std::string_view note = {};  // a line of text on the page
};
std::span<const ParameterPage> parameterPages();
// The page of `action`; the last page ("Other") for an action no page names.
const ParameterPage& pageOf(std::string_view action);

// The fields a button's dialog edits (kept aside from the page's editors).
std::vector<std::string_view> dialogFields(PageButton button);

// A field an action needs, and what the user is told when it is blank.
struct RequiredField {
    std::string_view action;
    std::string_view field;
    std::string_view message;
};
std::span<const RequiredField> requiredFields();

}  // namespace plorix::ui
