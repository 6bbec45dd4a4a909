// Loading a fired task's script: the task's items, read from the Scripting
// table in SCR:KEYID order, are copied into the queue behind whatever is
// queued already, stamped with their due moments, and closed by an end marker.

#include <limits>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "script/queue_layout.h"
#include "script/stepper.h"

namespace plorix::script {

bool ScriptStepper::refuseTask(std::int32_t entryId) {
    refuseLoad("The script of task " + std::to_string(entryId));
    return false;
}

bool ScriptStepper::loadScheduledScript(std::int32_t entryId) {
    if (entryId == 0) return true;
    data::Table& table = data::processTable<data::Scripting>();
    data::TableUse use(table, prompter_);
    const int byId = table.schema().keyIndex("SCR:KEYID");

    QueueLayout layout(clock_, scriptingDelay(settings_), queue_.empty() ? nullptr : &queue_.back());
    const std::int32_t handle = programs_.programHandle();
    ScriptQueue::Items items;
    auto& record = table.rec<data::Scripting>();
    data::clearRecord(table.schema(), &record);
    record.ID = entryId;
    record.SEQUENCE = std::numeric_limits<std::int32_t>::min();
    table.setAt(byId);
    for (;;) {
        const int code = table.next();
        if (code == data::kRecordNotAvailable) break;
        if (code != 0) {
            // A table that fails here would fail again: the items read so far
            // still run, closed by their end marker.
            prompter_.message("", "Error executing script: " + table.error().text, Icon::Error, kOk, kOk);
            break;
        }
        if (record.ID != entryId) break;
        // The item and the end marker must both fit.
        if (!withinQueueLimit(queue_.size() + items.size() + 2)) return refuseTask(entryId);
        items.push_back(layout.place(record, handle));
    }
    items.push_back(layout.endMarker(handle));
    return queue_.append(std::move(items)) || refuseTask(entryId);
}

}  // namespace plorix::script
