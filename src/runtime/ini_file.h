#pragma once
// INI files with private-profile semantics ("px98.INI", ".\POSITION.INI",
// WIN.INI). Sections and keys are found ignoring letter case; the first of
// duplicate sections or keys is the one read and the one changed. A write
// changes only the line concerned and keeps every other line (comments, blank
// and unreadable lines, other sections) byte for byte, in the file's own line
// endings (CR LF for a new file). The file is re-read on every call, since
// other programs and stations may change it; reads are rare.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plorix {

class IniFile {
public:
    // The name is looked up ignoring letter case on every access (findFileNoCase).
    explicit IniFile(std::string path);
    const std::string& path() const { return path_; }

    // The key's value with surrounding blanks removed, or nullopt when absent.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // The key's value, or `fallback` when the key is absent (a missing file is empty).
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;
    // The leading integer of the value; `fallback` when absent or not a number.
    int getInt(std::string_view section, std::string_view key, int fallback = 0) const;

    // Sets a value, adding the key (and section) when missing. CR and LF in the
    // value become blanks. False when the file cannot be written or the section
    // or key name cannot be stored (empty, or holds "=", "]" or a line break).
    bool putString(std::string_view section, std::string_view key, std::string_view value);
    bool putInt(std::string_view section, std::string_view key, long long value);
    // Removes the first line of the key; true also when there was nothing to remove.
    bool removeKey(std::string_view section, std::string_view key);
    // Removes the first section of the name with all its lines.
    bool removeSection(std::string_view section);

    // Section names as written in the file, first occurrence of each, in file order.
    std::vector<std::string> sections() const;
    // Key names of the first section of that name, first occurrence of each.
    std::vector<std::string> keys(std::string_view section) const;

private:
    std::string path_;
};

// The system profile: $XDG_CONFIG_HOME/plorix/WIN.INI (default ~/.config/plorix/WIN.INI).
std::string winIniPath();

}  // namespace plorix
