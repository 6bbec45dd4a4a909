#include "scheduler/fire_context.h"

#include "runtime/fixed_text.h"

namespace plorix::scheduler {

int readFirst(data::Table& table, std::string_view keyName) {
    table.setStart(table.schema().keyIndex(keyName));
    return table.next();
}

bool showsMessage(const data::Schedule& entry) {
    return equalNoCase(entry.TASKTYPE, kDisplayMessage) || equalNoCase(entry.TASKTYPE, kBoth);
}

bool runsProgram(const data::Schedule& entry) {
    return equalNoCase(entry.TASKTYPE, kRunProgram) || equalNoCase(entry.TASKTYPE, kBoth);
}

}  // namespace plorix::scheduler
