#include "scheduler/frame_state.h"

#include <vector>

#include "runtime/fixed_text.h"
#include "runtime/pictures.h"
#include "settings/settings.h"

namespace plorix::scheduler {

std::string productTitle() {
    return std::string(settings::kProductTitle) + " " + std::string(settings::kVersion);
}

int openingPeriod(int stored) { return stored >= 1 && stored <= 100 ? stored : kOpeningPeriod; }

std::string iconizedTitle(const data::Schedule& next) {
    return productTitle() + " - " + clip(next.DESCRIPTION) + " " + formatDate(next.DATE, "d3") + " " +
           formatTime(next.TIME, "T3");
}

std::string dateZone(Date today) { return weekdayName(weekdayOf(today)) + ", " + formatDate(today, "D3"); }

std::string timeZone(Time now) { return formatTime(now, "T3"); }

int BrowseRegistry::add(Refresh refresh) {
    std::lock_guard lock(mutex_);
    const int id = next_++;
    browses_.emplace(id, std::move(refresh));
    return id;
}

void BrowseRegistry::remove(int id) {
    std::lock_guard lock(mutex_);
    browses_.erase(id);
}

void BrowseRegistry::notifyAll() {
    std::vector<Refresh> targets;
    {
        // Called without the lock, so a browse may unregister as it refreshes.
        std::lock_guard lock(mutex_);
        for (const auto& [id, refresh] : browses_) targets.push_back(refresh);
    }
    for (const Refresh& refresh : targets) refresh();
}

std::size_t BrowseRegistry::size() const {
    std::lock_guard lock(mutex_);
    return browses_.size();
}

}  // namespace plorix::scheduler
