#include "scheduler/forecast.h"

#include <algorithm>

#include "scheduler/exceptions.h"
#include "scheduler/moment.h"
#include "scheduler/recurrence.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

// Enough for any realistic request; a pattern whose copies trail far behind
// its runs (minute steps shifted back by weeks) stops here.
constexpr int kStepsBeyondCount = 10000;

bool before(const Occurrence& a, const Occurrence& b) {
    return compareMoments(a.due, b.due) < 0;
}

// No run found later can lie before this. The entry's own runs only move
// forward. A copy moved back from a later run lands on the nearest allowed
// day before that run, which is no earlier than the one before this run; if
// this run has none within the search span, no later copy can land at or
// before this run's day either.
Moment earliestLaterRun(const Schedule& entry, const HolidayCalendar& holidays) {
    const Moment next{entry.DATE, entry.TIME};
    const bool datesExcepted = entry.EXCEPTWEEKENDS || entry.EXCEPTWEEKDAYS || entry.EXCEPTHOLIDAYS;
    if (!datesExcepted || shiftKindOf(entry.SHIFTTYPE) != ShiftKind::Previous) return next;
    const Date copyDay = nearestAllowedDay(entry, entry.DATE, ShiftKind::Previous, holidays);
    if (copyDay == 0) return next;
    const Moment earliest{copyDay, 0};
    return compareMoments(earliest, next) < 0 ? earliest : next;
}

// The `count` earliest runs found so far, latest on top, to tell when no
// later step can change the answer.
class EarliestRuns {
public:
    explicit EarliestRuns(int count) : count_(static_cast<std::size_t>(count)) {}
    void add(Moment due) {
        heap_.push_back(due);
        std::push_heap(heap_.begin(), heap_.end(), earlierThan);
        if (heap_.size() > count_) {
            std::pop_heap(heap_.begin(), heap_.end(), earlierThan);
            heap_.pop_back();
        }
    }
    bool settled(Moment earliestToCome) const {
        return heap_.size() == count_ && compareMoments(heap_.front(), earliestToCome) <= 0;
    }

private:
    static bool earlierThan(Moment a, Moment b) { return compareMoments(a, b) < 0; }
    std::size_t count_;
    std::vector<Moment> heap_;
};

}  // namespace

std::vector<Occurrence> forecast(const Schedule& entry, Moment from, int count,
                                 const HolidayCalendar& holidays) {
    std::vector<Occurrence> runs;
    if (count <= 0 || entry.DISABLED || entry.COMPLETED) return runs;

    Schedule next = entry;
    EarliestRuns earliest(count);
    auto list = [&](Occurrence run) {
        runs.push_back(run);
        earliest.add(run.due);
    };
    for (int steps = 0; steps < count + kStepsBeyondCount; ++steps) {
        const Moment due{next.DATE, next.TIME};
        const bool late = compareMoments(due, from) < 0;
        list({due, next.SKIPNEXTTIME != 0, late, false});

        const Moment firedAt = late ? from : due;
        const AdvanceResult result = advance(next, fireReference(next, firedAt));
        if (result == AdvanceResult::Completed || result == AdvanceResult::NoFurtherRun) break;
        next.SKIPNEXTTIME = 0;
        const ExceptionPlan plan = planExceptions(next, holidays);
        if (plan.copy) {
            const Moment copyDue{plan.copy->DATE, plan.copy->TIME};
            list({copyDue, plan.copy->SKIPNEXTTIME != 0, compareMoments(copyDue, from) < 0, true,
                  firedAt});
        }
        if (earliest.settled(earliestLaterRun(next, holidays))) break;
    }
    std::stable_sort(runs.begin(), runs.end(), before);
    if (runs.size() > static_cast<std::size_t>(count)) runs.resize(count);
    return runs;
}

}  // namespace plorix::scheduler
