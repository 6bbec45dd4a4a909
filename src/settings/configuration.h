#pragma once
// Named values in the Configuration table, with the settings INI file as the
// source of a value the table does not hold yet.

#include <optional>
#include <string>
#include <string_view>

#include "data/open_routine.h"
#include "store/store.h"
#include "settings/settings.h"

namespace plorix::settings {

// The process-wide Configuration table. Opened by start-up; getSetting and
// putSetting open it for the moment when nobody holds it open.
store::Table& configurationTable();

// Holds the Configuration table open for a run of look-ups when nobody else
// does (each open costs a key derivation); empty when it is open already.
std::optional<data::TableUse> holdConfiguration(Prompter& prompter = processPrompter());

// The value of `key` (up to 80 characters). A key the table does not hold is
// read from section "Settings" of `iniFile` (of WIN.INI with `winIni`), with
// `fallback` unless `noDefault`; a non-blank text read there is added to the
// table so that the next read comes from it. Other failures show an "Error!"
// message and give blank.
std::string getSetting(std::string_view key, std::string_view fallback = {},
                       std::string_view iniFile = kSettingsIni, bool noDefault = false, bool winIni = false);

// Writes `value` under `key`, adding the record when missing. The INI file is
// never written. False when the store refused.
bool putSetting(std::string_view key, std::string_view value);
bool putSetting(std::string_view key, long long value);

// How a look-up ended, for loaders that treat "absent" and "failed" apart.
struct SettingLookup {
    std::string value;
    bool failed = false;  // reported to the user; value is blank
};
SettingLookup lookupSetting(std::string_view key, std::string_view fallback, std::string_view iniFile,
                            bool noDefault, bool winIni);

}  // namespace plorix::settings
