#include "scheduler/fire_context.h"

#include "runtime/fixed_text.h"

namespace plorix::scheduler {

int readFirst(store::Table& table, int key) {
    table.setStart(key);
    return table.next();
}

bool showsMessage(const data::Schedule& entry) {
    return equalNoCase(entry.TASKTYPE, kDisplayMessage) || equalNoCase(entry.TASKTYPE, kBoth);
}

bool runsProgram(const data::Schedule& entry) {
    return equalNoCase(entry.TASKTYPE, kRunProgram) || equalNoCase(entry.TASKTYPE, kBoth);
}

}  // namespace plorix::scheduler
