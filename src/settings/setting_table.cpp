#include "settings/setting_table.h"

#include <array>
#include <cctype>
#include <limits>

#include "runtime/fixed_text.h"

namespace plorix::settings {
namespace {

using S = Settings;
constexpr Adjust kNone = Adjust::None;

// clang-format off
const std::array kDecls = {
    SettingDecl{"HistoryExpires", &S::HistoryExpires, 0, "", false, kNone, "History", "History expires in how many days"},
    SettingDecl{"RemoveUncompleted", &S::RemoveUncompleted, 0, "", false, kNone, "History", "Also remove uncompleted tasks"},
    SettingDecl{"StartUpSchedule", &S::StartUpSchedule, 0, "0", true, kNone, "Start Up", "Show Schedule at start up"},
    SettingDecl{"FullSchedule", &S::FullSchedule, 0, "", false, kNone, "Start Up", "Show full schedule initially (\"All By Date\" tab)"},
    SettingDecl{"ActiveOnly", &S::ActiveOnly, 0, "", false, kNone, "Start Up", "Only show active tasks initially"},
    SettingDecl{"StartUpToDo", &S::StartUpToDo, 0, "", false, kNone, "Start Up", "Show To Do List at start up"},
    SettingDecl{"StartUpContacts", &S::StartUpContacts, 0, "", false, kNone, "Start Up", "Show Contacts at start up"},
    SettingDecl{"StartUpClipboardSaver", &S::StartUpClipboardSaver, 0, "", false, kNone, "Start Up", "Show Clipboard Saver at start up"},
    SettingDecl{"StartUpMinimized", &S::StartUpMinimized, 0, "", false, kNone, "Start Up", "Minimize at start up"},
    SettingDecl{"StartUpActive", &S::StartUpActive, 0, "0", true, kNone, "Start Up", "Scheduler active"},
    SettingDecl{"DateFormat", &S::DateFormat, 6, "d3", false, kNone, "General", "Display date in format:"},
    SettingDecl{"NoTray", &S::NoTray, 0, "", false, kNone, "General", "Do not place in tray when minimized"},
    SettingDecl{"KeepInTray", &S::KeepInTray, 0, "", false, kNone, "General", "Keep running in the tray when the window is closed"},
    SettingDecl{"MaximizeOnRun", &S::MaximizeOnRun, 0, "", false, kNone, "General", "If iconized, restore before running a \"run program\" task"},
    SettingDecl{"HideToolbar", &S::HideToolbar, 0, "", false, kNone, "", ""},
    SettingDecl{"UseModalMessage", &S::UseModalMessage, 0, "", false, kNone, "Messages", "Do not proceed until message acknowledged"},
    SettingDecl{"UseExternalMessage", &S::UseExternalMessage, 0, "", false, kNone, "", ""},
    SettingDecl{"UseWinMessage", &S::UseWinMessage, 0, "", false, kNone, "", ""},
    SettingDecl{"RepeatAlarmInterval", &S::RepeatAlarmInterval, 0, "", false, Adjust::OneToFourIsFive, "Messages", "Repeat alarms every # seconds:"},
    SettingDecl{"LogEvents", &S::LogEvents, 0, "", false, kNone, "Messages", "Log events to ASCII text file"},
    SettingDecl{"DesktopNotifications", &S::DesktopNotifications, 0, "", false, kNone, "Messages", "Show reminders as desktop notifications"},
    SettingDecl{"SaveScripts", &S::SaveScripts, 0, "", false, kNone, "Scripting", "Save script information on completed tasks"},
    SettingDecl{"TranslateFilenames", &S::TranslateFilenames, 0, "", false, kNone, "Scripting", "Translate \"values\" when starting a program"},
    SettingDecl{"ScriptingDelay", &S::ScriptingDelay, 0, "50", false, Adjust::AtLeast50, "Scripting", "Send Interval (1/100ths of a second):"},
    SettingDecl{"BurstSize", &S::BurstSize, 0, "7", false, Adjust::ZeroBecomes7, "Scripting", "Maximum number of characters per send group:"},
    SettingDecl{"MonitorClipboard", &S::MonitorClipboard, 0, "", false, kNone, "Clipboard", "Monitor clipboard"},
    SettingDecl{"MaxClipboardEntries", &S::MaxClipboardEntries, 0, "50", false, kNone, "Clipboard", "Maximum number of entries to retain:"},
    SettingDecl{"IgnoreSecretClipboard", &S::IgnoreSecretClipboard, 0, "1", false, kNone, "Clipboard", "Ignore text marked secret by password managers"},
    SettingDecl{"ClipboardExpires", &S::ClipboardExpires, 0, "", false, kNone, "Clipboard", "Remove entries older than how many days (0 = never):"},
    SettingDecl{"MultiUser", &S::MultiUser, 0, "", false, kNone, "", ""},
    SettingDecl{"UserID", &S::UserID, 30, "", false, kNone, "", ""},
    SettingDecl{"Sender", &S::Sender, 255, "", false, kNone, "Email", "Email Reply-to Address"},
    SettingDecl{"SenderName", &S::SenderName, 255, "", false, kNone, "Email", "Sender Name"},
    SettingDecl{"Host", &S::Host, 255, "", false, kNone, "Email", "SMTP Mail Host"},
    SettingDecl{"Org", &S::Org, 20, "", false, kNone, "", ""},
    SettingDecl{"NSender", &S::NSender, 255, "", false, kNone, "Email", "News Reply-to Address"},
    SettingDecl{"NSenderName", &S::NSenderName, 255, "", false, kNone, "", ""},
    SettingDecl{"NHost", &S::NHost, 255, "", false, kNone, "Email", "News Host"},
    SettingDecl{"NOrg", &S::NOrg, 255, "", false, kNone, "", ""},
    SettingDecl{"Debug", &S::Debug, 0, "", false, kNone, "", ""},
};

// UseExternalMessage is written twice, as it always has been; the second
// write stores the same value. The clipboard's secret and age settings came
// later and go last, then the desktop ones.
constexpr std::array<std::string_view, 38> kWriteOrder = {
    "HistoryExpires", "RemoveUncompleted", "StartUpSchedule", "StartUpToDo",
    "StartUpClipboardSaver", "StartUpContacts", "StartUpActive", "StartUpMinimized",
    "FullSchedule", "HideToolbar", "NoTray", "SaveScripts", "TranslateFilenames",
    "MaximizeOnRun", "UseExternalMessage", "MultiUser", "UserID", "LogEvents",
    "MonitorClipboard", "UseExternalMessage", "UseModalMessage", "MaxClipboardEntries",
    "ActiveOnly", "Sender", "SenderName", "Host", "Org", "NSender", "NSenderName", "NHost",
    "NOrg", "RepeatAlarmInterval", "ScriptingDelay", "BurstSize",
    "IgnoreSecretClipboard", "ClipboardExpires", "KeepInTray", "DesktopNotifications",
};

constexpr std::array kDateFormats = {
    DateFormatChoice{"Windows Default", "d17", true},
    DateFormatChoice{"October 31, 1959", "d4", true},
    DateFormatChoice{"OCT 31,1959", "d3", true},
    DateFormatChoice{"10/31/59", "d1", true},
    DateFormatChoice{"10/31/1959", "d2", true},
    DateFormatChoice{"31 OCT 59", "d7", true},
    DateFormatChoice{"31 OCT 1959", "d8", true},
    DateFormatChoice{"31/10/59", "d5", true},
    DateFormatChoice{"31/10/1959", "d6", true},
    DateFormatChoice{"Windows Default 2", "d18", true},
    DateFormatChoice{"59/10", "d15", false},
    DateFormatChoice{"1959/10", "d16", false},
    DateFormatChoice{"10/59", "d13", false},
    DateFormatChoice{"10/1959", "d14", false},
    DateFormatChoice{"Year Only", "n4b", false},
};
// clang-format on

// The leading integer of a stored text, as the store's number conversion
// reads it: blanks, an optional sign, digits; anything else reads as 0.
long long leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) break;
    }
    return negative ? -value : value;
}

std::int32_t toInt32(long long v) {
    if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

std::string normalPicture(std::string_view picture) {
    std::string p = toLower(trim(picture));
    if (!p.empty() && p.front() == '@') p.erase(0, 1);
    return p;
}

}  // namespace

std::span<const SettingDecl> settingDecls() { return kDecls; }

const SettingDecl* findSetting(std::string_view key) {
    for (const SettingDecl& d : kDecls)
        if (equalNoCase(d.key, key)) return &d;
    return nullptr;
}

std::span<const std::string_view> setupWriteOrder() { return kWriteOrder; }

std::string toStored(const SettingDecl& decl, const Settings& s) {
    if (auto m = std::get_if<std::int32_t S::*>(&decl.member)) return std::to_string(s.*(*m));
    if (auto m = std::get_if<std::uint8_t S::*>(&decl.member)) return std::to_string(s.*(*m));
    if (auto m = std::get_if<bool S::*>(&decl.member)) {
        const bool on = s.*(*m);
        return (on != decl.inverted) ? "1" : "0";
    }
    return cutToWidth(s.*std::get<std::string S::*>(decl.member), static_cast<std::size_t>(decl.width));
}

void fromStored(const SettingDecl& decl, std::string_view stored, Settings& s) {
    if (auto m = std::get_if<std::string S::*>(&decl.member)) {
        s.*(*m) = cutToWidth(clip(stored), static_cast<std::size_t>(decl.width));
        return;
    }
    long long value = leadingInteger(stored);
    if (auto m = std::get_if<bool S::*>(&decl.member)) {
        s.*(*m) = (decl.inverted ? 1 - value : value) != 0;
        return;
    }
    switch (decl.adjust) {
    case Adjust::AtLeast50:
        if (value < 50) value = 50;
        break;
    case Adjust::ZeroBecomes7:
        if (static_cast<std::uint8_t>(value) == 0) value = 7;
        break;
    default: break;
    }
    if (auto m = std::get_if<std::uint8_t S::*>(&decl.member))
        s.*(*m) = static_cast<std::uint8_t>(value);
    else
        s.*std::get<std::int32_t S::*>(decl.member) = toInt32(value);
}

void adjustForSave(const SettingDecl& decl, Settings& s) {
    if (decl.adjust != Adjust::OneToFourIsFive) return;
    std::int32_t& v = s.*std::get<std::int32_t S::*>(decl.member);
    if (v >= 1 && v <= 4) v = 5;
}

std::span<const DateFormatChoice> dateFormatChoices() { return kDateFormats; }

std::string_view dateFormatText(std::string_view picture) {
    const std::string p = normalPicture(picture);
    for (const DateFormatChoice& c : kDateFormats)
        if (c.picture == p) return c.text;
    return {};
}

std::string_view dateFormatPicture(std::string_view text) {
    for (const DateFormatChoice& c : kDateFormats)
        if (c.text == text) return c.picture;
    return {};
}

}  // namespace plorix::settings
