#pragma once
// The clipboard saver: a history of the texts that pass through the
// desktop's clipboard, sampled on every third tick of the frame's timer and
// kept in the Clipboard table, trimmed to the configured number of entries
// (entries with the save mark stay). Also what "&Run" of the saver's browse
// starts from an entry's text.

#include <string>
#include <string_view>
#include <vector>

#include "store/store.h"
#include "runtime/clock.h"

namespace plorix::scheduler {

// A captured text is cut to this many characters.
inline constexpr std::size_t kClipTextCharacters = 4096;

// The content signature (CLI:CLIPHASHKEY): the letters A to Z of the text,
// upper-cased, in order, at most 40 of them; everything else is skipped.
std::string clipSignature(std::string_view text);

// What "&Run" starts from an entry's text: each web or mail address and
// program, link or shortcut path found, through the program-start action,
// in this order; failing all of them, a text beginning with "www" as a web
// address for the default web program.
struct ClipRunTargets {
    std::vector<std::string> commands;
    std::string webAddress;  // "http://www.example.org"; empty when none
};
ClipRunTargets clipRunTargets(std::string_view text);

class ClipboardMonitor {
public:
    // `table` is the frame's Clipboard table, open for the frame's life.
    ClipboardMonitor(store::Table& table, const Clock& clock) : table_(table), clock_(clock) {}

    // One call per timer tick while MonitorClipboard is set: works on the
    // fourth call and then on every third. A new text is added (the store
    // refuses a second entry of one user and signature, silently), then the
    // history is trimmed.
    void step();
    // The last clipboard text seen (cut to 4,096 characters).
    const std::string& lastText() const { return last_; }

private:
    void capture(const std::string& text);
    void trim(const std::string& current);

    store::Table& table_;
    const Clock& clock_;
    int calls_ = 0;
    std::string last_;
};

}  // namespace plorix::scheduler
