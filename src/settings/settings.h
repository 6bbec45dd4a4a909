#pragma once
// The user's preferences as the rest of the program reads them: one
// process-wide set of variables, loaded from the Configuration table (with
// px98.INI as fall-back) at start-up and written back by SETUP. Other code
// reads these variables, never the table.

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/prompter.h"

namespace plorix::settings {

inline constexpr std::string_view kProductTitle = "Plorix 98";
inline constexpr std::string_view kVersion = PLORIX_VERSION;  // set by the build
inline constexpr std::string_view kSettingsIni = "px98.INI";
inline constexpr std::string_view kHelpFile = "PX.HLP";

// Members keep the names of their keys.
struct Settings {
    std::int32_t HistoryExpires = 0;
    bool RemoveUncompleted = false;
    bool StartUpSchedule = true;
    bool FullSchedule = false;
    bool ActiveOnly = false;
    bool StartUpToDo = false;
    bool StartUpContacts = false;
    bool StartUpClipboardSaver = false;
    bool StartUpMinimized = false;
    bool StartUpActive = true;
    std::string DateFormat = "d3";
    bool NoTray = false;
    bool KeepInTray = false;  // closing the frame hides it in the tray (where there is one)
    bool MaximizeOnRun = false;
    bool HideToolbar = false;
    bool UseModalMessage = false;
    bool UseExternalMessage = false;
    bool UseWinMessage = false;
    std::int32_t RepeatAlarmInterval = 0;
    bool LogEvents = false;
    bool DesktopNotifications = false;  // ordinary reminders as desktop notifications
    bool SaveScripts = false;
    bool TranslateFilenames = false;
    std::int32_t ScriptingDelay = 50;
    std::uint8_t BurstSize = 7;
    bool MonitorClipboard = false;
    std::int32_t MaxClipboardEntries = 50;
    bool IgnoreSecretClipboard = true;  // leave out what password managers mark secret
    std::int32_t ClipboardExpires = 0;  // days an entry is kept; 0 or less: for ever
    bool MultiUser = false;
    std::string UserID;
    std::string Sender;
    std::string SenderName;
    std::string Host;
    std::string Org;
    std::string NSender;
    std::string NSenderName;
    std::string NHost;
    std::string NOrg;
    bool Debug = false;  // read from the table and otherwise unused

    // Not in the Configuration table:
    std::string iniFile = std::string(kSettingsIni);  // the settings INI file
    bool inactivated = false;                         // started with "/I"
    bool debugIni = false;                            // "Debug" of section "Settings" in the INI file
    bool monitorWindows = false;                      // WIN.INI [Plorix] "Monitor Windows"
    std::int32_t maxWindows = 100;                    // WIN.INI [Plorix] "MaxWindows"
};

// The process-wide settings.
Settings& settings();

// True for the command-line switch that starts the scheduler inactive ("/I").
bool isInactiveSwitch(std::string_view argument);

// Fills every variable from the table (or the INI file) in the order of the
// declarations, applying inversions, minimums and defaults; the "/I" switch
// keeps the scheduler inactive whatever is stored.
void loadSettings(Settings& s = settings());
// Loads one declared key afresh.
void loadSetting(std::string_view key, Settings& s = settings());

// Start-up: WIN.INI values, "Version", loadSettings, and the INI "Debug" value
// (announced with "Debugging Active" when set). The Configuration table is
// opened by the caller or, failing that, for each access.
void startUpSettings(Prompter& prompter, Settings& s = settings());

// "Debug" of section "Settings" in the settings INI file: script debugging
// messages are shown while it is non-zero.
bool readDebugSwitch(const Settings& s = settings());

// Whether "Monitor Windows" is on in the system profile (WIN.INI's
// section "Plorix") as it stands now.
bool windowMonitorSwitchedOn();

// The text written to the USER fields of new records (CLI:USER and the
// like): UserID in multi-user mode, else blank.
std::string ownerValue(const Settings& s = settings());

// The login name of this user; empty when it cannot be found.
std::string networkUserName();

}  // namespace plorix::settings
