#include "scheduler/run_preview.h"

#include <algorithm>

#include "scheduler/exceptions.h"
#include "scheduler/moment.h"

namespace plorix::scheduler {

std::vector<Occurrence> previewRuns(const data::Schedule& entry, Moment now, const HolidayCalendar& holidays,
                                    int count) {
    data::Schedule planned = entry;
    const ExceptionPlan plan = planExceptions(planned, holidays);
    std::vector<Occurrence> runs = forecast(planned, now, count, holidays);
    if (plan.copy && !planned.DISABLED && !planned.COMPLETED) {
        Occurrence copy{{plan.copy->DATE, plan.copy->TIME}};
        copy.oneOff = true;
        copy.late = compareMoments(copy.due, now) < 0;
        runs.push_back(copy);
        std::stable_sort(runs.begin(), runs.end(), [](const Occurrence& a, const Occurrence& b) {
            return compareMoments(a.due, b.due) < 0;
        });
        if (static_cast<int>(runs.size()) > count) runs.resize(static_cast<std::size_t>(count));
    }
    return runs;
}

}  // namespace plorix::scheduler
