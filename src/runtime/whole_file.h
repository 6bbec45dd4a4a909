#pragma once
// Whole-file reading and crash-safe replacing of small text files (INI
// files, script files): a replacement is written to a temporary file in the
// same folder and renamed over the old one, so a killed process leaves either
// the old or the new file, never half of one.

#include <optional>
#include <string>
#include <string_view>

namespace plorix {

// The file's bytes, or nullopt when it cannot be read (missing, a folder ...).
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces (or creates) the file with `content`, keeping an existing file's
// permissions and creating missing folders; a symbolic link's target is replaced.
bool writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace plorix
