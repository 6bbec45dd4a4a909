#pragma once
// The scheduler without windows, for servers and tests: the frame's tick on
// its timer, reminders and boxes told through Notices, questions answered
// with their defaults. Runs until SIGINT or SIGTERM.

namespace plorix::app {

// Runs in the current (data) folder; the exit status.
int runHeadless(int argc, char** argv, bool inactive);

}  // namespace plorix::app
