#include "log/event_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::log {
namespace {

constexpr std::string_view kFallbackDatePicture = "d3";
constexpr std::string_view kTimePicture = "t7";

// A line break inside a field would split the record in two.
std::string oneLine(std::string_view text) {
    std::string s(text);
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

// The process clock as installed at the moment of each reading.
class ProcessClock final : public Clock {
public:
    Moment current() const override { return processClock().current(); }
    std::int64_t steadyHundredths() const override { return processClock().steadyHundredths(); }
};

}  // namespace

std::string logDate(Date date, std::string_view dateFormat) {
    const auto picture = readPicture(dateFormat);
    const bool datePicture =
        picture && picture->kind == PictureKind::Date && picture->style >= 1 && picture->style <= 18;
    if (datePicture) {
        std::string shown = formatDate(date, dateFormat);
        if (characterCount(shown) <= static_cast<std::size_t>(kDateWidth)) return shown;
    }
    return formatDate(date, kFallbackDatePicture);
}

std::string formatLogLine(const LogEntry& entry, std::string_view dateFormat) {
    std::string line;
    line.reserve(kDateWidth + kTimeWidth + kLabelWidth + kTextWidth + 2);
    line += padRight(logDate(entry.when.date, dateFormat), kDateWidth);
    line += padRight(formatTime(entry.when.time, kTimePicture), kTimeWidth);
    line += padRight(entry.label, kLabelWidth);
    line += padRight(entry.text, kTextWidth);
    line += "\r\n";
    return line;
}

EventLog::EventLog(const Clock& clock, const settings::Settings& settings, std::string fileName)
    : clock_(clock), settings_(settings), fileName_(std::move(fileName)) {}

EventLog::~EventLog() { close(); }

void EventLog::write(std::string_view text, std::string_view label) {
    const LogEntry entry{clock_.current(), cutToWidth(oneLine(label), kLabelWidth),
                         cutToWidth(oneLine(text), kTextWidth)};
    LogHook hook;
    {
        std::lock_guard lock(mutex_);
        hook = hook_;
    }
    if (hook) hook(entry);  // outside the lock: an observer may log in turn
    if (!settings_.LogEvents) return;
    std::lock_guard lock(mutex_);
    if (counter_ == 0) {
        fd_ = ::open(findFileNoCase(fileName_).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        // Not counted while the file cannot be opened, so the next event tries again.
        if (fd_ < 0) return;
    }
    ++counter_;
    const std::string line = formatLogLine(entry, settings_.DateFormat);
    // One write per line: appends of other stations land between whole lines.
    [[maybe_unused]] const ssize_t written = ::write(fd_, line.data(), line.size());
    if (counter_ >= kLinesPerOpen) {
        ::close(fd_);
        fd_ = -1;
        counter_ = 0;
    }
}

void EventLog::setHook(LogHook hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

int EventLog::counter() const {
    std::lock_guard lock(mutex_);
    return counter_;
}

bool EventLog::isOpen() const {
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}

void EventLog::close() {
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    counter_ = 0;
}

EventLog& eventLog() {
    static ProcessClock clock;
    static EventLog log(clock, settings::settings());
    return log;
}

void logEvent(std::string_view text, std::string_view label) { eventLog().write(text, label); }

}  // namespace plorix::log
