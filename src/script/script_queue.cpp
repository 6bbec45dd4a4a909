#include "script/script_queue.h"

#include <iterator>

namespace plorix::script {

bool ScriptQueue::append(Items more) {
    if (!withinQueueLimit(items_.size() + more.size())) return false;
    items_.insert(items_.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    tellFilled();
    return true;
}

bool ScriptQueue::replace(Items items) {
    if (!withinQueueLimit(items.size())) return false;
    items_ = std::move(items);
    tellFilled();
    return true;
}

void delayItems(ScriptQueue::Items& items, std::size_t first, std::int64_t hundredths) {
    for (std::size_t i = first; i < items.size(); ++i) {
        QueueItem& item = items[i];
        item.due += hundredths;
        const Moment wall = addHundredths({item.RUNDATE, item.RUNTIME}, hundredths);
        item.RUNDATE = wall.date;
        item.RUNTIME = wall.time;
    }
}

std::string queueFullText(std::string_view what) {
    return std::string(what) + " was not loaded: the script queue would hold more than " +
           std::to_string(kMaxQueuedItems) +
           " items. A script that starts itself, or a task that fires faster than its "
           "script runs, grows the queue without end.";
}

}  // namespace plorix::script
