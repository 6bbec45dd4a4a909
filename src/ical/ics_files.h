#pragma once
// Calendar files against the data file in the current folder: the schedule
// written to a .ics file, a .ics file read into tasks and to-do items. The
// command line and the frame's File menu both come here.

#include <string>
#include <vector>

#include "runtime/date_time.h"
#include "runtime/prompter.h"

namespace plorix::ical {

enum class IcsStatus { Done = 0, Failed = 1, Refused = 2 };

struct IcsResult {
    IcsStatus status = IcsStatus::Done;
    std::string error;               // why it failed or was refused
    int written = 0;                 // events written, or tasks and items added
    std::vector<std::string> notes;  // one line per entry written as runs / per item read
};

// Writes the active schedule entries to `file`. Without a Schedule table
// the calendar is written empty.
IcsResult exportIcs(const std::string& file, Prompter& prompter, Moment now);

// Reads `file` and adds its events and to-dos in one transaction: all or
// nothing. A file that holds no calendar is refused with nothing written.
IcsResult importIcs(const std::string& file, Prompter& prompter, Moment now);

}  // namespace plorix::ical
