#pragma once
// The clipboard saver: a history of the texts that pass through the
// desktop's clipboard, sampled on every third tick of the frame's timer and
// kept in the Clipboard table, trimmed to the configured number of entries
// and, when set, to the configured number of days (entries with the save
// mark stay). Text a password manager marks secret is left out unless the
// user asks otherwise. Also what "&Run" of the saver's browse starts from an
// entry's text, and which entries the browse shows as links.

#include <functional>
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
// Whether the text holds a web or mail address or a program or shortcut
// path, ignoring case: the browse draws such entries as links.
bool clipLooksRunnable(std::string_view text);

class ClipboardMonitor {
    static constexpr int kWorkEvery = 3;  // calls; the first work comes at call kWorkEvery + 1

public:
    // `table` is the frame's Clipboard table, open for the frame's life.
    ClipboardMonitor(store::Table& table, const Clock& clock) : table_(table), clock_(clock) {}

    // One call per timer tick while MonitorClipboard is set: works on the
    // fourth call and then on every third. A new text is added (the store
    // refuses a second entry of one user and signature, silently), then the
    // history is trimmed; entries past their age go once a day, and at once
    // when the age setting changes. The error of a read that failed (code 0
    // when none did): the trim stops there.
    store::ErrorState step();
    // Another program took the clipboard: the next step works.
    void taken() { calls_ = kWorkEvery; }
    // Told after a step that added or removed entries.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }
    // The last clipboard text seen (cut to 4,096 characters).
    const std::string& lastText() const { return last_; }

private:
    bool capture(const std::string& text);
    store::ErrorState trim(const std::string& current, bool& changed);
    store::ErrorState removeExpired(bool& changed);

    store::Table& table_;
    const Clock& clock_;
    int calls_ = 0;
    std::string last_;
    std::function<void()> onChange_;
    // The day and the age the expired entries were last removed for.
    Date expiredOn_ = 0;
    std::int32_t expiredAfter_ = 0;
};

}  // namespace plorix::scheduler
