#include "scheduler/window_monitor.h"

#include "data/tables.h"
#include "platform/desktop.h"
#include "runtime/fixed_text.h"

namespace plorix::scheduler {

namespace {

constexpr std::size_t kPendingCharacters = 125;
constexpr std::size_t kTitleCharacters = 70;

}  // namespace

void WindowMonitor::step(int maxWindows) {
    if (!pending_.empty()) {
        const std::string title = cutToWidth(pending_.front(), kTitleCharacters);
        pending_.pop_front();
        checkTitle(title, maxWindows);
        return;
    }
    enumeration_.clear();
    for (const auto& window : platform::desktop().windows->topLevelWindows()) {
        if (window.title.empty()) continue;
        enumeration_.push_back(cutToWidth(window.title, platform::kMaxWindowText));
        pending_.push_back(cutToWidth(window.title, kPendingCharacters));
    }
}

void WindowMonitor::checkTitle(const std::string& title, int maxWindows) {
    if (clip(title).empty()) return;
    auto& entry = table_.rec<data::WindowLookup>();
    store::clearRecord(table_.schema(), &entry);
    entry.TITLE = title;
    // A title keeps the moment it was first seen.
    if (table_.get(data::keys::WindowLookup::KEYTITLE) != store::kRecordNotFound) return;
    store::clearRecord(table_.schema(), &entry);
    const Moment now = clock_.current();
    entry.TITLE = title;
    entry.DATE = now.date;
    entry.TIME = now.time;
    if (table_.add() != store::kNoError) return;
    const int limit = maxWindows > 0 ? maxWindows : kDefaultMaxWindows;
    if (table_.records() <= limit) return;
    table_.setStart(data::keys::WindowLookup::KEYDATE);
    // The oldest entry goes; if it cannot, the log stays one longer until
    // the next title.
    if (table_.next() == store::kNoError) [[maybe_unused]] const int erased = table_.erase();
}

}  // namespace plorix::scheduler
