#include "settings/login_start.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "runtime/data_folder.h"

namespace plorix::settings {

namespace {

namespace fs = std::filesystem;

// An argument of an Exec line: quoted, with the characters the desktop
// entry format reserves inside quotes escaped.
std::string execArgument(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    // A backslash in a string value of the file is itself escaped.
    std::string escaped;
    for (char c : quoted + "\"") escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    const fs::path first = fs::weakly_canonical(a, error);
    const fs::path second = fs::weakly_canonical(b, error);
    return !error && first == second;
}

}  // namespace

fs::path loginStartFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = config && *config ? fs::path(config) : fs::path(home ? home : "") / ".config";
    return base / "autostart" / "plorix.desktop";
}

bool startsAtLogin() {
    std::error_code error;
    return fs::exists(loginStartFile(), error);
}

std::string loginStartEntry(const std::string& program, const std::string& folder) {
    std::string exec = execArgument(program);
    if (!sameFolder(folder, defaultDataFolder())) exec += " -d " + execArgument(folder);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Plorix\n"
           "Comment=Reminders, scheduled programs and automation scripts\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=plorix\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string setStartAtLogin(bool on, const std::string& program, const std::string& folder) {
    const fs::path file = loginStartFile();
    std::error_code error;
    if (!on) {
        fs::remove(file, error);
        return error ? "Cannot remove " + file.string() + ": " + error.message() + "." : "";
    }
    fs::create_directories(file.parent_path(), error);
    if (error) return "Cannot create " + file.parent_path().string() + ": " + error.message() + ".";
    std::ofstream out(file, std::ios::trunc);
    out << loginStartEntry(program, folder);
    out.close();
    return out ? "" : "Cannot write " + file.string() + ".";
}

}  // namespace plorix::settings
