#include "script/queue_layout.h"

#include <algorithm>

#include "runtime/fixed_text.h"
#include "script/action_names.h"

namespace plorix::script {

std::int32_t scriptingDelay(const settings::Settings& settings) {
    return std::max<std::int32_t>(settings.ScriptingDelay, 50);
}

bool isOrWait(const data::Scripting& item) {
    // Any letter case: the loader and the wait itself must agree on it, and a
    // hand-written script file may say "or" or "OR".
    return equalNoCase(trim(item.DDEAPPLICATIONNAME.str()), "Or");
}

QueueLayout::QueueLayout(const Clock& clock, std::int32_t delay, const QueueItem* after)
    : delay_(delay),
      steadyNow_(clock.steadyHundredths()),
      wallNow_(clock.current()),
      start_(steadyNow_ + 2 * std::int64_t{delay}),
      running_(0) {
    if (after && after->due > start_) start_ = after->due + delay;
    running_ = start_;
}

QueueItem QueueLayout::stamped(QueueItem item) const {
    item.due = running_;
    const Moment wall = addHundredths(wallNow_, running_ - steadyNow_);
    item.RUNDATE = wall.date;
    item.RUNTIME = wall.time;
    return item;
}

QueueItem QueueLayout::place(const data::Scripting& record, std::int32_t programHandle) {
    QueueItem item;
    static_cast<data::Scripting&>(item) = record;
    const std::string_view action = item.ACTION.str();
    const bool isWait = action.substr(0, 4) == "Wait";
    if (!isWait && action.find("...") == std::string_view::npos) running_ += delay_;
    if (action == kWait && !isOrWait(item))
        running_ += std::max<std::int64_t>(item.SECONDSTOWAIT, 0) * kHundredthsPerSecond;
    item = stamped(std::move(item));
    if (action.substr(0, 4) == "If T")
        item.deadline = start_ + std::int64_t{item.TIMEELAPSED} * kHundredthsPerSecond;
    item.PROGRAMHANDLE = programHandle;
    return item;
}

QueueItem QueueLayout::endMarker(std::int32_t programHandle) const {
    QueueItem item;
    item.ACTION = kEndMarker;
    item.PROGRAMHANDLE = programHandle;
    return stamped(std::move(item));
}

}  // namespace plorix::script
