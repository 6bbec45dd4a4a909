#pragma once
// The next runs of an entry as it stands in its form, before it is saved:
// the exceptions are planned on a copy (moving the run off an excluded day
// as saving will) and the runs forecast from there, nothing written.

#include <vector>

#include "scheduler/forecast.h"

namespace plorix::scheduler {

// Up to `count` runs of `entry` from `now`, in due order, the run a moved
// exception leaves behind among them (marked skipped).
std::vector<Occurrence> previewRuns(const data::Schedule& entry, Moment now, const HolidayCalendar& holidays,
                                    int count = 5);

}  // namespace plorix::scheduler
