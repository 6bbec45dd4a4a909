#pragma once
// The window monitor: a log of the distinct titles of the top-level windows
// seen while the scheduler runs, each with the moment it was first seen, in
// the WindowLookup table. One step per tick that fired nothing: either one
// pending title is checked against the log, or, with none pending, the
// desktop's windows are listed afresh. Its cost per tick stays bounded
// however many windows are open.

#include <deque>
#include <string>
#include <vector>

#include "store/store.h"
#include "runtime/clock.h"

namespace plorix::scheduler {

// The log keeps this many titles when no limit is set.
inline constexpr int kDefaultMaxWindows = 100;

class WindowMonitor {
public:
    // `table` is the frame's WindowLookup table, open for the frame's life.
    WindowMonitor(store::Table& table, const Clock& clock) : table_(table), clock_(clock) {}

    // One step; `maxWindows` is the log's limit (0 or less: the default).
    // A new title beyond the limit pushes out the earliest seen, one per
    // title added. Failures of the table are not told; the next step goes on.
    void step(int maxWindows);

    // Every titled window of the last listing (up to 254 characters each).
    const std::vector<std::string>& enumeration() const { return enumeration_; }
    // Titles still to be checked (up to 125 characters each).
    const std::deque<std::string>& pending() const { return pending_; }

private:
    void checkTitle(const std::string& title, int maxWindows);

    store::Table& table_;
    const Clock& clock_;
    std::vector<std::string> enumeration_;
    std::deque<std::string> pending_;
};

}  // namespace plorix::scheduler
