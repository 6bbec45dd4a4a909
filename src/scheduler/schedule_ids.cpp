#include "scheduler/schedule_ids.h"

#include <limits>

#include "data/tables/schedule.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

constexpr int kAddAttempts = 3;

int keyById() {
    static const int key = Schedule::schema().keyIndex("SCH:KEYID");
    return key;
}

}  // namespace

bool loadScheduleById(data::Table& schedule, std::int32_t id) {
    schedule.rec<Schedule>().ID = id;
    return schedule.get(keyById()) == data::kNoError;
}

std::int32_t nextScheduleId(data::Table& schedule) {
    Schedule& buffer = schedule.rec<Schedule>();
    const Schedule saved = buffer;
    std::int32_t id = 1;
    schedule.setEnd(keyById());
    const int read = schedule.previous();
    if (read == data::kNoError) {
        const std::int32_t highest = buffer.ID;
        id = highest < 1 || highest == std::numeric_limits<std::int32_t>::max() ? 1 : highest + 1;
    } else if (read != data::kRecordNotAvailable) {
        buffer = saved;
        return 0;
    }
    // Numbers run out only when the highest one is taken; then the lowest
    // free one is used.
    while (id < std::numeric_limits<std::int32_t>::max() && loadScheduleById(schedule, id)) ++id;
    buffer = saved;
    return id;
}

std::int32_t addScheduleEntry(data::Table& schedule) {
    for (int attempt = 0; attempt < kAddAttempts; ++attempt) {
        const std::int32_t id = nextScheduleId(schedule);
        if (id == 0) return 0;
        schedule.rec<Schedule>().ID = id;
        const int added = schedule.add();
        if (added == data::kNoError) return id;
        if (added != data::kDuplicateKey) return 0;
    }
    return 0;
}

}  // namespace plorix::scheduler
