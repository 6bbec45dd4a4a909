#pragma once
// "Start Plorix when I log in": a per-user choice kept outside the shared
// data, as the desktop's autostart entry ~/.config/autostart/plorix.desktop
// ($XDG_CONFIG_HOME/autostart when the variable is set). Ticked means the
// file exists.

#include <filesystem>
#include <string>

namespace plorix::settings {

std::filesystem::path loginStartFile();
bool startsAtLogin();

// The entry that starts `program` on `folder` (no -d for the default folder).
std::string loginStartEntry(const std::string& program, const std::string& folder);

// Writes the entry or removes it; why it could not, in one sentence, or "".
std::string setStartAtLogin(bool on, const std::string& program, const std::string& folder);

}  // namespace plorix::settings
