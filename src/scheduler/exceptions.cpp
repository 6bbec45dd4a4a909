// The exception passes on the buffer; storing their result is apply_exceptions.cpp.

#include "scheduler/exceptions.h"

#include <algorithm>

#include "scheduler/moment.h"
#include "scheduler/recurrence.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;

// Bounds the search for a run outside the time window; a window that
// excludes every reachable run ends at its end instead.
constexpr int kWindowAttempts = 100;
constexpr int kShiftSearchDays = 366;

bool inWindow(const Schedule& entry) {
    const Time begin = entry.EXCEPTTIMEBEGIN;
    const Time end = entry.EXCEPTTIMEEND;
    const Time time = entry.TIME;
    if (begin <= end) return begin <= time && time <= end;
    return time < end || time > begin;  // the window spans midnight
}

// A reference moment from wide values, kept inside what advance() reads.
Moment referenceAt(std::int64_t date, std::int64_t time) {
    const WideMoment carried = carryForward(date, time);
    const std::int64_t limited = std::clamp<std::int64_t>(carried.date, std::int64_t{firstUsableDate()} - 1,
                                                          std::int64_t{lastUsableDate()} + 1);
    return {static_cast<Date>(limited), static_cast<Time>(carried.time)};
}

// One advance on behalf of an exception; false once the entry has no run left.
bool step(Schedule& entry, Moment reference, ExceptionPlan& plan) {
    const AdvanceResult result = advance(entry, reference);
    if (result == AdvanceResult::InvalidUnits) plan.invalidUnits = true;
    return result != AdvanceResult::NoFurtherRun && result != AdvanceResult::Completed;
}

void timeWindowPass(Schedule& entry, ExceptionPlan& plan) {
    if (entry.EXCEPTTIMEEND == 0) entry.EXCEPTTIMEEND = kHundredthsPerDay;
    const Moment saved{entry.DATE, entry.TIME};
    int attempts = 0;
    while (inWindow(entry) && attempts < kWindowAttempts) {
        plan.moved = true;
        ++attempts;
        if (!step(entry, referenceAt(entry.DATE, std::int64_t{entry.TIME} + 1), plan)) return;
    }
    if (attempts < kWindowAttempts) return;
    // Advancing cannot leave the window (a daily run inside it): take the next
    // run after the saved one and place it at the window's end.
    entry.DATE = saved.date;
    entry.TIME = saved.time;
    const Moment reference = entry.TIME < entry.EXCEPTTIMEEND
                                 ? referenceAt(entry.DATE, std::int64_t{entry.TIME} + 1)
                                 : referenceAt(std::int64_t{entry.DATE} + 1, 0);
    step(entry, reference, plan);
    entry.TIME = entry.EXCEPTTIMEEND;
}

void dateExceptionPass(Schedule& entry, const HolidayCalendar& holidays, ExceptionPlan& plan) {
    // Weekends and weekdays together would exclude every day; weekends win.
    if (entry.EXCEPTWEEKENDS) entry.EXCEPTWEEKDAYS = 0;
    if (!isExcludedDay(entry, entry.DATE, holidays)) return;
    plan.excepted = true;
    const std::uint8_t savedSkip = entry.SKIPNEXTTIME;
    entry.SKIPNEXTTIME = 1;
    const ShiftKind shift = shiftKindOf(entry.SHIFTTYPE);
    if (shift == ShiftKind::None) return;
    const Date day = nearestAllowedDay(entry, entry.DATE, shift, holidays);
    if (day == 0) return;
    Schedule copy = entry;
    copy.ID = 0;
    copy.EXCEPTIONLINK = 0;
    copy.SCHEDULETYPE = textOf(ScheduleType::Once);
    copy.SKIPNEXTTIME = savedSkip;
    copy.DATE = day;
    plan.copy = std::move(copy);
}

void clearExceptions(Schedule& entry) {
    entry.EXCEPTTIME = 0;
    entry.EXCEPTWEEKENDS = 0;
    entry.EXCEPTWEEKDAYS = 0;
    entry.EXCEPTHOLIDAYS = 0;
    entry.EXCEPTTIMEBEGIN = 0;
    entry.EXCEPTTIMEEND = 0;
    entry.EXCEPTOTHER.clear();
}

}  // namespace

bool isExcludedDay(const Schedule& entry, Date date, const HolidayCalendar& holidays) {
    if (!isUsableDate(date)) return false;
    const int weekday = weekdayOf(date);
    const bool weekend = weekday == 0 || weekday == 6;
    if (entry.EXCEPTWEEKENDS && weekend) return true;
    if (entry.EXCEPTWEEKDAYS && !weekend) return true;
    return entry.EXCEPTHOLIDAYS && holidays.isHoliday(date);
}

Date nearestAllowedDay(const Schedule& entry, Date date, ShiftKind shift, const HolidayCalendar& holidays) {
    if (shift == ShiftKind::None || !isUsableDate(date)) return 0;
    const int direction = shift == ShiftKind::Next ? 1 : -1;
    for (int days = 0; days <= kShiftSearchDays; ++days) {
        const std::int64_t day = std::int64_t{date} + std::int64_t{direction} * days;
        if (!isUsableDate(day)) return 0;
        if (!isExcludedDay(entry, static_cast<Date>(day), holidays)) return static_cast<Date>(day);
    }
    return 0;
}

ExceptionPlan planExceptions(Schedule& entry, const HolidayCalendar& holidays) {
    ExceptionPlan plan;
    if (scheduleTypeOf(entry.SCHEDULETYPE) == ScheduleType::Once) {
        clearExceptions(entry);
        return plan;
    }
    const bool dates = entry.EXCEPTWEEKENDS || entry.EXCEPTWEEKDAYS || entry.EXCEPTHOLIDAYS;
    if (entry.EXCEPTTIME) timeWindowPass(entry, plan);
    if (dates) dateExceptionPass(entry, holidays, plan);
    return plan;
}

}  // namespace plorix::scheduler
