#pragma once
// The "File Actions" item: copy, move, delete files, make and remove
// folders, read a file's date, time or size, and test that a path exists.
// Each action stores its result as a script value (FILECOPY, FILEMOVE, ...)
// and ERRORCODE the system's error number for the operation (0 when it
// succeeded), so a script can tell why a copy failed.
//
// Paths are taken as the user wrote them after value substitution, with "\"
// and "/" both separating folders and trailing blanks removed; file names
// are case-sensitive on this system and are never changed in case.

#include <cstdint>
#include <string>
#include <string_view>

#include "data/field_choices.h"
#include "script/value_store.h"

namespace plorix::script {

inline constexpr std::string_view kErrorCodeValue = "ERRORCODE";

// The action names a "File Actions" item may hold, in the order the item
// form lists them.
inline constexpr const auto& kFileActionNames = data::kFileActions;

struct FileActionResult {
    std::int64_t result = 0;  // 1/0, or the day number, time or size asked for
    bool known = false;       // the action name is one of kFileActionNames
    bool performed = false;   // false: a dry run skipped a change to the files
};

// Runs one file action; p1 and p2 go through value substitution first.
// With dryRun, actions that would change files are skipped and store
// nothing; the ones that only look at a file still run.
FileActionResult runFileAction(std::string_view action, std::string_view p1, std::string_view p2,
                               ValueStore& values, bool dryRun = false);

// A path of the user's input: "\" read as "/", trailing blanks removed.
std::string userPath(std::string_view text);

}  // namespace plorix::script
