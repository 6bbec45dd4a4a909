#pragma once
// A setting's value as SETUP shows it (a ticked box is 1, whatever the
// stored inversion), the range its control allows, and a value given as
// text checked against both: for the command line and SETUP alike.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/setting_table.h"

namespace plorix::settings {

struct NumberRange {
    std::int64_t least;
    std::int64_t most;
};
// The range SETUP's spin box allows a number setting: counts of days,
// seconds and entries, where -1 carries a meaning for some (history removed
// at once, every clipboard entry kept); 0..255 for the small ones.
NumberRange numberRange(const SettingDecl& decl);

// The characters a text setting keeps: its own width, within what the
// Configuration table's value field holds.
int textWidth(const SettingDecl& decl);

// "1"/"0" for flags as SETUP shows them, decimal numbers, texts as held.
std::string shownValue(const SettingDecl& decl, const Settings& s);

// Takes `text` as SETUP would take it into the variable: 0 or 1 for a flag,
// a whole number within numberRange, a text within the width, a date format
// by its picture ("d3") or its list text ("OCT 31,1959"). The reason it was
// refused, empty when taken.
std::string takeShownValue(const SettingDecl& decl, std::string_view text, Settings& s);

}  // namespace plorix::settings
