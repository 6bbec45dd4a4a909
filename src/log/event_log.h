#pragma once
// The event log: one fixed-width line per noteworthy event, appended to
// "PX98Evnt.LOG" in the working directory while LogEvents is on. Writing
// never fails visibly; a line that cannot be written is lost.

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "settings/settings.h"

namespace plorix::log {

inline constexpr std::string_view kLogFile = "PX98Evnt.LOG";

// Column widths of a line: date, time, label, text; then CR LF.
inline constexpr int kDateWidth = 12;
inline constexpr int kTimeWidth = 10;
inline constexpr int kLabelWidth = 30;
inline constexpr int kTextWidth = 50;

// After this many lines the file is closed, so it is never held open for long.
inline constexpr int kLinesPerOpen = 101;

// One event as it is logged: label and text already cut to their widths.
struct LogEntry {
    Moment when;
    std::string label;
    std::string text;
};

// Sees every event, whether or not LogEvents is on (the simulator prints them).
using LogHook = std::function<void(const LogEntry&)>;

// The date column: the user's picture, or d3 when that picture is no date
// picture (d1..d18) or its result is wider than the column.
std::string logDate(Date date, std::string_view dateFormat);
// A whole line, CR LF included.
std::string formatLogLine(const LogEntry& entry, std::string_view dateFormat);

class EventLog {
public:
    // `settings` supplies LogEvents and DateFormat at every write.
    EventLog(const Clock& clock, const settings::Settings& settings,
             std::string fileName = std::string(kLogFile));
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // The text comes first and the label last.
    void write(std::string_view text, std::string_view label);

    void setHook(LogHook hook);
    // Lines written since the file was last opened (0: closed).
    int counter() const;
    bool isOpen() const;
    void close();

private:
    const Clock& clock_;
    const settings::Settings& settings_;
    std::string fileName_;
    mutable std::mutex mutex_;
    LogHook hook_;
    int fd_ = -1;
    int counter_ = 0;
};

// The process's log, on the process clock and settings.
EventLog& eventLog();
void logEvent(std::string_view text, std::string_view label);

}  // namespace plorix::log
