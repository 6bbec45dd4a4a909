#pragma once
// File names as users and the system write them: "\" and "/" both separate
// folders, and the system's own files ("Px97.TPS", "px98.INI",
// ".\POSITION.INI") are found whatever the letter case on disk.

#include <string>
#include <string_view>

namespace plorix {

// Every "\" turned into "/".
std::string normaliseSeparators(std::string_view name);

// The path of an existing file or folder whose name matches `name` ignoring
// letter case, folder by folder (an exact match wins); when nothing matches,
// the name as given (separators normalised), so a new file gets that spelling.
std::string findFileNoCase(std::string_view name);

}  // namespace plorix
