#pragma once
// Reading the event log for VIEWLOG without its widgets: the file is loaded
// in steps (one per timer event of the window) with a progress window that
// may be cancelled, and a search finds text up or down from a row.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "log/event_log.h"
#include "runtime/prompter.h"

namespace plorix::log {

// The most bytes read in one step.
inline constexpr std::size_t kReadStepBytes = 20000;
// The longest row; a longer line continues on the next row.
inline constexpr std::size_t kMaxRowCharacters = 255;

inline constexpr std::string_view kNothingLogged =
    "Nothing has been logged yet. Events are logged when \"Log events to ASCII text file\" is ticked in "
    "Setup.";

class LogReader {
public:
    explicit LogReader(Prompter& prompter, std::string fileName = std::string(kLogFile));
    ~LogReader();
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // Opens the file and shows the progress window. False, after telling the
    // user, when it cannot be opened or holds no bytes; the list stays empty.
    bool start();
    // Reads the next step. False once reading has ended: all read, or the
    // user confirmed a cancel.
    bool step();
    // start(), then step() until done.
    void readAll();

    const std::vector<std::string>& rows() const { return rows_; }
    bool finished() const { return finished_; }
    bool cancelled() const { return cancelled_; }
    int percent() const { return percent_; }

private:
    void addText(std::string_view text);
    void addRow(std::string_view line);
    void end();

    Prompter& prompter_;
    std::string fileName_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<Progress> progress_;
    std::uintmax_t size_ = 0;
    std::uintmax_t read_ = 0;
    std::string pending_;  // a line not yet ended
    std::vector<std::string> rows_;
    int percent_ = 0;
    bool finished_ = false;
    bool cancelled_ = false;
};

enum class SearchDirection { Down, Up };

// The next row after `from` (before it, going up) that contains `text`,
// ignoring letter case. At the end of the list warning 29 asks whether to
// go on from the other end. -1 when nothing was found or the user declined.
int findRow(const std::vector<std::string>& rows, std::string_view text, int from, SearchDirection direction,
            Prompter& prompter);

}  // namespace plorix::log
