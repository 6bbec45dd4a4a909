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

}  // namespace

Firings::Firings(const Schedule& entry, Moment from, const HolidayCalendar& holidays)
    : next_(entry), from_(from), holidays_(holidays), ended_(entry.DISABLED || entry.COMPLETED) {}

std::optional<Firings::Step> Firings::next() {
    if (ended_) return std::nullopt;
    const Moment due{next_.DATE, next_.TIME};
    const bool late = compareMoments(due, from_) < 0;
    Step step{{due, next_.SKIPNEXTTIME != 0, late, false}, std::nullopt, late ? from_ : due};

    const AdvanceResult result = advance(next_, fireReference(next_, step.firedAt));
    if (result == AdvanceResult::Completed || result == AdvanceResult::NoFurtherRun) {
        ended_ = true;
        return step;
    }
    next_.SKIPNEXTTIME = 0;
    const ExceptionPlan plan = planExceptions(next_, holidays_);
    if (plan.copy) {
        const Moment copyDue{plan.copy->DATE, plan.copy->TIME};
        step.copy = Occurrence{copyDue, plan.copy->SKIPNEXTTIME != 0, compareMoments(copyDue, from_) < 0,
                               true, step.firedAt};
    }
    return step;
}

Moment Firings::earliestLater() const { return earliestLaterRun(next_, holidays_); }

bool RunStream::later(const Pending& a, const Pending& b) {
    const int order = compareMoments(a.run.due, b.run.due);
    return order != 0 ? order > 0 : a.order > b.order;
}

void RunStream::take(const Occurrence& run) {
    heap_.push_back({run, made_++});
    std::push_heap(heap_.begin(), heap_.end(), later);
}

std::optional<Occurrence> RunStream::next() {
    // Firings go on until no later one can come before the earliest held;
    // a pattern whose copies trail far behind its runs is cut short.
    for (int steps = 0; !ended_; ++steps) {
        if (!heap_.empty() && (compareMoments(heap_.front().run.due, firings_.earliestLater()) <= 0 ||
                               steps >= kStepsBeyondCount))
            break;
        const std::optional<Firings::Step> step = firings_.next();
        if (!step) {
            ended_ = true;
            break;
        }
        take(step->run);
        if (step->copy) take(*step->copy);
    }
    if (heap_.empty()) return std::nullopt;
    std::pop_heap(heap_.begin(), heap_.end(), later);
    const Occurrence run = heap_.back().run;
    heap_.pop_back();
    return run;
}

std::vector<Occurrence> forecast(const Schedule& entry, Moment from, int count,
                                 const HolidayCalendar& holidays) {
    std::vector<Occurrence> runs;
    RunStream stream(entry, from, holidays);
    while (static_cast<int>(runs.size()) < count) {
        const std::optional<Occurrence> run = stream.next();
        if (!run) break;
        runs.push_back(*run);
    }
    return runs;
}

}  // namespace plorix::scheduler
