#include "settings/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <array>

#include "runtime/fixed_text.h"
#include "runtime/ini_file.h"
#include "settings/configuration.h"
#include "settings/setting_table.h"

namespace plorix::settings {

Settings& settings() {
    static Settings s;
    return s;
}

bool isInactiveSwitch(std::string_view argument) { return equalNoCase(argument, "/I"); }

namespace {

void loadOne(const SettingDecl& decl, Settings& s) {
    const SettingLookup got = lookupSetting(decl.key, {}, s.iniFile, true, false);
    // An absent key takes its declared value; a failed look-up has been
    // reported and reads as blank (0 for numbers).
    const bool absent = !got.failed && got.value.empty();
    fromStored(decl, absent ? decl.fallback : std::string_view(got.value), s);
}

}  // namespace

void loadSetting(std::string_view key, Settings& s) {
    if (const SettingDecl* decl = findSetting(key)) loadOne(*decl, s);
}

void loadSettings(Settings& s) {
    const auto use = holdConfiguration();
    for (const SettingDecl& decl : settingDecls()) loadOne(decl, s);
    if (s.inactivated) s.StartUpActive = false;
    if (s.MultiUser && s.UserID.empty()) s.UserID = cutToWidth(networkUserName(), 30);
}

void startUpSettings(Prompter& prompter, Settings& s) {
    const IniFile winIni(winIniPath());
    s.monitorWindows = windowMonitorSwitchedOn();
    s.maxWindows = winIni.getInt("Plorix", "MaxWindows", 0);
    if (s.maxWindows == 0) s.maxWindows = 100;
    const auto use = holdConfiguration(prompter);
    putSetting("Version", kVersion);
    loadSettings(s);
    s.debugIni = readDebugSwitch(s);
    if (s.debugIni) prompter.message("Debug", "Debugging Active", Icon::Information, kOk, kOk);
}

bool windowMonitorSwitchedOn() { return IniFile(winIniPath()).getInt("Plorix", "Monitor Windows", 0) != 0; }

bool readDebugSwitch(const Settings& s) { return IniFile(s.iniFile).getInt("Settings", "Debug", 0) != 0; }

std::string ownerValue(const Settings& s) { return s.MultiUser ? s.UserID : std::string(); }

std::string networkUserName() {
    std::array<char, 256> name{};
    if (getlogin_r(name.data(), name.size()) == 0 && name[0] != '\0') return name.data();
    // No controlling terminal (started from the desktop or a service): the
    // account of the process.
    std::array<char, 4096> buffer{};
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    return {};
}

}  // namespace plorix::settings
