#pragma once
// The values a task starts with when it is added without a model: a weekly
// task on every day at `now` (on `day` when one is given), warned of, each
// hour when made custom.

#include "data/tables/schedule.h"
#include "runtime/date_time.h"

namespace plorix::scheduler {

void primeNewTask(data::Schedule& entry, Moment now, Date day = 0);

}  // namespace plorix::scheduler
