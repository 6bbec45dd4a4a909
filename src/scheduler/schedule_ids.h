#pragma once
// Identifiers of new schedule entries (one-off copies, history records).

#include <cstdint>

#include "data/store.h"

namespace plorix::scheduler {

// Reads the entry with this identifier into the buffer and makes it the
// current record; false (buffer unspecified) when there is none.
bool loadScheduleById(data::Table& schedule, std::int32_t id);

// One more than the highest identifier in the table (1 when it is empty),
// raised further while an entry already has it. Leaves the buffer as it was;
// 0 when the table cannot be read.
std::int32_t nextScheduleId(data::Table& schedule);

// Adds the buffer as a new entry under the next identifier, which it also
// puts into the buffer's ID. Another station taking the same number first
// makes it try the next one. Returns the identifier, or 0 with the store's
// error in schedule.errorCode().
std::int32_t addScheduleEntry(data::Table& schedule);

}  // namespace plorix::scheduler
