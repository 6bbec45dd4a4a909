#include "scheduler/new_task.h"

#include "scheduler/fire_context.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {

void primeNewTask(data::Schedule& e, Moment now, Date day) {
    e.DATE = day ? day : now.date;
    e.TIME = now.time;
    e.SCHEDULETYPE = textOf(ScheduleType::DayOfWeek);
    for (auto* d : {&e.SUNDAY, &e.MONDAY, &e.TUESDAY, &e.WEDNESDAY, &e.THURSDAY, &e.FRIDAY, &e.SATURDAY})
        *d = 1;
    e.EVERYLAST = 1;
    e.WARN = 1;
    e.TASKTYPE = kBoth;
    e.EVERY = 1;
    e.EVERYTYPE = textOf(EveryUnit::Hours);
}

}  // namespace plorix::scheduler
