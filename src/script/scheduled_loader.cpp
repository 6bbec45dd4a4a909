// Loading a fired task's script: the task's items, read from the Scripting
// table in SCR:KEYID order, are copied into the queue behind whatever is
// queued already, stamped with their due moments, and closed by an end marker.

#include <limits>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "script/queue_layout.h"
#include "script/stepper.h"

namespace plorix::script {

bool ScriptStepper::loadScheduledScript(std::int32_t entryId) {
    if (entryId == 0) return true;
    store::Table& table = data::processTable<data::Scripting>();
    data::TableUse use(table, prompter_);
    std::vector<data::Scripting> items;
    auto& record = table.rec<data::Scripting>();
    store::clearRecord(table.schema(), &record);
    record.ID = entryId;
    record.SEQUENCE = std::numeric_limits<std::int32_t>::min();
    table.setAt(data::keys::Scripting::KEYID);
    for (;;) {
        const int code = table.next();
        if (code == store::kRecordNotAvailable) break;
        if (code != 0) {
            // A table that fails here would fail again: the items read so far
            // still run, closed by their end marker.
            prompter_.message("", "Error executing script: " + table.error().text, Icon::Error, kOk, kOk);
            break;
        }
        if (record.ID != entryId) break;
        items.push_back(record);
    }
    return queueScript(items, "The script of task " + std::to_string(entryId));
}

bool ScriptStepper::queueScript(const std::vector<data::Scripting>& items, std::string_view what) {
    // The items and their end marker must all fit.
    if (!withinQueueLimit(queue_.size() + items.size() + 1)) {
        refuseLoad(what);
        return false;
    }
    QueueLayout layout(clock_, scriptingDelay(settings_), queue_.empty() ? nullptr : &queue_.back());
    const std::int32_t handle = programs_.programHandle();
    ScriptQueue::Items queued;
    for (const data::Scripting& item : items) queued.push_back(layout.place(item, handle));
    queued.push_back(layout.endMarker(handle));
    return queue_.append(std::move(queued));
}

}  // namespace plorix::script
