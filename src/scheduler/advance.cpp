// The advance step: from the entry's current run to its next one.

#include <algorithm>
#include <cstdint>

#include "scheduler/pattern.h"
#include "scheduler/recurrence.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

constexpr std::int64_t kDay = kHundredthsPerDay;

// Rounds up for a positive divisor; zero or negative dividends give at most 0.
std::int64_t ceilDiv(std::int64_t dividend, std::int64_t divisor) {
    return dividend > 0 ? (dividend + divisor - 1) / divisor : dividend / divisor;
}

AdvanceResult noFurtherRun(Schedule& entry) {
    entry.COMPLETED = 1;
    return AdvanceResult::NoFurtherRun;
}

AdvanceResult moveTo(Schedule& entry, std::int64_t date) {
    if (!isUsableDate(date)) return noFurtherRun(entry);
    entry.DATE = static_cast<Date>(date);
    return AdvanceResult::Advanced;
}

// Adds `step` days until the date lies after the reference date. Counted,
// not looped, so an entry left years behind costs no more than a current one.
AdvanceResult advanceByDays(Schedule& entry, std::int64_t reference, std::int64_t step) {
    if (entry.DATE > reference) return AdvanceResult::Advanced;
    const std::int64_t steps = (reference - entry.DATE) / step + 1;
    return moveTo(entry, entry.DATE + steps * step);
}

// True when stepping by `months` from this date only ever reaches months long
// enough for its day, so the day of the month never overflows and the steps
// can be counted instead of taken one by one.
bool keepsDayOfMonth(const CivilDate& date, std::int64_t months) {
    if (date.day <= 28) return true;
    const auto stride = static_cast<int>(months % 12);
    for (int i = 0; i < 12; ++i) {
        const int month = (date.month - 1 + i * stride) % 12 + 1;
        const int length = month == 2 ? 28 : daysInMonth(month, 2001);
        if (date.day > length) return false;
    }
    return true;
}

// Adds `months` months (same day of the month, an overflowing day carried
// into the next month) until the date lies after the reference date. Once a
// day has been carried (31 January -> 3 March) the new day is kept.
AdvanceResult advanceByMonths(Schedule& entry, std::int64_t reference, std::int64_t months) {
    while (entry.DATE <= reference) {
        if (reference > lastUsableDate()) return noFurtherRun(entry);
        const CivilDate date = civilFromDate(entry.DATE);
        const std::int64_t index = std::int64_t{date.year} * 12 + (date.month - 1);
        std::int64_t steps = 1;
        if (keepsDayOfMonth(date, months)) {
            const CivilDate ref = civilFromDate(static_cast<Date>(reference));
            const std::int64_t firstAfter =
                std::int64_t{ref.year} * 12 + (ref.month - 1) + (date.day > ref.day ? 0 : 1);
            steps = std::max<std::int64_t>(1, ceilDiv(firstAfter - index, months));
        }
        const std::int64_t next = index + steps * months;
        if (next / 12 > 9999) return noFurtherRun(entry);
        const Date moved = makeDate(static_cast<int>(next % 12) + 1, date.day, static_cast<int>(next / 12));
        if (moved == 0) return noFurtherRun(entry);
        entry.DATE = moved;
    }
    return AdvanceResult::Advanced;
}

// Adds `step` hundredths until the run lies after the reference moment,
// carrying whole days into the date. A time of 0 (none) counts as midnight.
AdvanceResult advanceByTime(Schedule& entry, WideMoment reference, std::int64_t step) {
    const std::int64_t time = std::max<std::int64_t>(entry.TIME, kMidnight);
    const std::int64_t position = std::int64_t{entry.DATE} * kDay + time;
    const std::int64_t target = reference.date * kDay + reference.time;
    if (position > target) return AdvanceResult::Advanced;
    const std::int64_t steps = (target - position) / step + 1;
    const WideMoment next = carryForward(0, position + steps * step);
    if (!isUsableDate(next.date)) return noFurtherRun(entry);
    entry.DATE = static_cast<Date>(next.date);
    entry.TIME = static_cast<Time>(next.time);
    return AdvanceResult::Advanced;
}

AdvanceResult advanceByPattern(Schedule& entry, ScheduleType type, std::int64_t reference) {
    // "Day of Week" leaves a run that already lies ahead; "Day of Month"
    // always takes at least one step.
    if (type == ScheduleType::DayOfWeek && entry.DATE > reference) return AdvanceResult::Advanced;
    const Date next =
        firstAllowedDayAfter(entry, type, static_cast<Date>(std::max<std::int64_t>(entry.DATE, reference)));
    if (next == 0) return noFurtherRun(entry);
    entry.DATE = next;
    return AdvanceResult::Advanced;
}

AdvanceResult advanceCustom(Schedule& entry, std::int64_t reference, Time referenceTime) {
    if (entry.EVERY < 1) entry.EVERY = 1;
    const std::int64_t count = entry.EVERY;
    const WideMoment moment = carryForward(reference, std::max<std::int64_t>(referenceTime, 0));
    switch (everyUnitOf(entry.EVERYTYPE)) {
    case EveryUnit::Minutes: return advanceByTime(entry, moment, count * kHundredthsPerMinute);
    case EveryUnit::Hours: return advanceByTime(entry, moment, count * kHundredthsPerHour);
    case EveryUnit::Days: return advanceByDays(entry, reference, count);
    case EveryUnit::Weeks: return advanceByDays(entry, reference, 7 * count);
    case EveryUnit::Months: return advanceByMonths(entry, reference, count);
    case EveryUnit::Years: return advanceByMonths(entry, reference, 12 * count);
    case EveryUnit::Unknown: break;
    }
    // Still move past the reference so the entry does not fire again at once.
    if (entry.DATE <= reference && moveTo(entry, reference + 1) == AdvanceResult::NoFurtherRun)
        return AdvanceResult::NoFurtherRun;
    return AdvanceResult::InvalidUnits;
}

}  // namespace

AdvanceResult advance(Schedule& entry, Moment reference) {
    const ScheduleType type = scheduleTypeOf(entry.SCHEDULETYPE);
    if (type == ScheduleType::Once) {
        entry.COMPLETED = 1;
        return AdvanceResult::Completed;
    }
    const std::int64_t first = firstUsableDate();
    const std::int64_t last = lastUsableDate();
    // A reference past the calendar leaves no run after it.
    const std::int64_t ref = std::clamp<std::int64_t>(reference.date, first - 1, last + 1);
    if (!isUsableDate(entry.DATE)) entry.DATE = static_cast<Date>(std::clamp(ref, first, last));

    switch (type) {
    case ScheduleType::Monthly: return advanceByMonths(entry, ref, 1);
    case ScheduleType::Yearly: return advanceByMonths(entry, ref, 12);
    case ScheduleType::DayOfWeek:
    case ScheduleType::DayOfMonth: return advanceByPattern(entry, type, ref);
    case ScheduleType::Once:
    case ScheduleType::Custom: break;
    }
    return advanceCustom(entry, ref, reference.time);
}

void reportInvalidUnits(Prompter& prompter) {
    prompter.message("Invalid Units", "Custom repetition is not set up properly.  Select units.",
                     Icon::Warning, kOk, kOk);
}

Moment fireReference(const Schedule& entry, Moment now) {
    if (entry.SKIPIFMISSED && entry.DATE < now.date) return {now.date, 0};
    return now;
}

}  // namespace plorix::scheduler
