#include "scheduler/window_monitor.h"

#include "data/tables.h"
#include "platform/desktop.h"
#include "runtime/fixed_text.h"

namespace plorix::scheduler {

namespace {

constexpr std::size_t kPendingCharacters = 125;
constexpr std::size_t kTitleCharacters = 70;

}  // namespace

store::ErrorState WindowMonitor::step(int maxWindows) {
    if (!pending_.empty()) {
        const std::string title = cutToWidth(pending_.front(), kTitleCharacters);
        pending_.pop_front();
        return checkTitle(title, maxWindows);
    }
    enumeration_.clear();
    for (const auto& window : platform::desktop().windows->topLevelWindows()) {
        if (window.title.empty()) continue;
        enumeration_.push_back(cutToWidth(window.title, platform::kMaxWindowText));
        pending_.push_back(cutToWidth(window.title, kPendingCharacters));
    }
    return {};
}

store::ErrorState WindowMonitor::checkTitle(const std::string& title, int maxWindows) {
    if (clip(title).empty()) return {};
    auto& entry = table_.rec<data::WindowLookup>();
    store::clearRecord(table_.schema(), &entry);
    entry.TITLE = title;
    // A title keeps the moment it was first seen.
    const int known = table_.get(data::keys::WindowLookup::KEYTITLE);
    if (known == store::kNoError) return {};
    if (known != store::kRecordNotFound) return table_.error();
    store::clearRecord(table_.schema(), &entry);
    const Moment now = clock_.current();
    entry.TITLE = title;
    entry.DATE = now.date;
    entry.TIME = now.time;
    if (table_.add() != store::kNoError) return {};
    const int limit = maxWindows > 0 ? maxWindows : kDefaultMaxWindows;
    const std::int64_t count = table_.records();
    if (count < 0) return table_.error();
    if (count <= limit) return {};
    table_.setStart(data::keys::WindowLookup::KEYDATE);
    const int oldest = table_.next();
    if (oldest == store::kRecordNotAvailable) return {};
    if (oldest != store::kNoError) return table_.error();
    // The oldest entry goes; if it cannot, the log stays one longer until
    // the next title.
    [[maybe_unused]] const int erased = table_.erase();
    return {};
}

}  // namespace plorix::scheduler
