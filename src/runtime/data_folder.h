#pragma once
// The data folder both programs work in: the one named with -d, or the
// user's data folder ($XDG_DATA_HOME/plorix, ~/.local/share/plorix when the
// variable is unset), so the program started from the menu and the command
// line see the same tasks.

#include <string>

namespace plorix {

std::string defaultDataFolder();

// Makes `folder` the working directory, creating it and its parents first
// when `create` is set. Empty on success, otherwise why not, in words.
std::string enterDataFolder(const std::string& folder, bool create);

// `path` as seen from `base` (the directory the user called from): a
// relative path is joined to it; an absolute path and "-" (standard input
// or output) stay as they are.
std::string fromCaller(const std::string& base, const std::string& path);

}  // namespace plorix
