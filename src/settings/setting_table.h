#pragma once
// Every setting declared once: its key, variable, width, default, inversion,
// adjustment and the SETUP control that edits it. Loading, saving and the
// SETUP dialog all work from this table.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "settings/settings.h"

namespace plorix::settings {

using SettingMember = std::variant<std::int32_t Settings::*, bool Settings::*, std::uint8_t Settings::*,
                                   std::string Settings::*>;

enum class Adjust {
    None,
    AtLeast50,        // on load: values below 50 are raised to 50
    ZeroBecomes7,     // on load: 0 becomes 7
    OneToFourIsFive,  // on save: 1..4 are stored as 5
};

struct SettingDecl {
    std::string_view key;
    SettingMember member;
    int width;                  // characters of a text; 0 for numbers and flags
    std::string_view fallback;  // the stored value assumed when the key is absent
    bool inverted;              // stored value = 1 - variable
    Adjust adjust;
    std::string_view tab;     // SETUP tab, empty when SETUP does not show it
    std::string_view prompt;  // the control's prompt
};

// In load order.
std::span<const SettingDecl> settingDecls();
const SettingDecl* findSetting(std::string_view key);

// The keys SETUP's OK writes, in order.
std::span<const std::string_view> setupWriteOrder();

// The variable as stored text ("0"/"1" for flags, inverted where declared,
// decimal numbers) and back. fromStored treats unreadable numbers as 0.
std::string toStored(const SettingDecl& decl, const Settings& s);
void fromStored(const SettingDecl& decl, std::string_view stored, Settings& s);
// Applies what the declaration asks of a value before it is stored.
void adjustForSave(const SettingDecl& decl, Settings& s);

// Date pictures offered for DateFormat and those only recognised when shown.
struct DateFormatChoice {
    std::string_view text;     // as the list shows it, "OCT 31,1959"
    std::string_view picture;  // as stored, "d3"
    bool offered;              // in the SETUP list
};
std::span<const DateFormatChoice> dateFormatChoices();
// The list text of a stored picture ("" when unknown); pictures compare
// ignoring letter case and a leading "@".
std::string_view dateFormatText(std::string_view picture);
// The picture of a list text ("" when unknown).
std::string_view dateFormatPicture(std::string_view text);

}  // namespace plorix::settings
