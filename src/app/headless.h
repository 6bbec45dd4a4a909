#pragma once
// The scheduler without windows, for servers and tests: the frame's tick on
// its timer, reminders and boxes told through Notices, questions answered
// with their defaults. Runs until SIGINT or SIGTERM.

#include <string>

namespace plorix::app {

// Runs in the current (data) folder, `folder`; the exit status (0 at once
// when the folder's scheduler already runs).
int runHeadless(int argc, char** argv, bool inactive, const std::string& folder);

}  // namespace plorix::app
