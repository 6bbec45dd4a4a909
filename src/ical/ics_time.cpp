#include "ical/ics_time.h"

namespace plorix::ical {
namespace {

bool isZoned(icaltimetype value) { return !value.is_date && value.zone != nullptr; }

Moment momentOf(int year, int month, int day, int hour, int minute, int second) {
    return {makeDate(month, day, year), makeTime(hour, minute, second)};
}

}  // namespace

bool isPlausible(icaltimetype value) {
    if (value.year < 1801 || value.year > 9999 || value.month < 1 || value.month > 12 || value.day < 1 ||
        value.day > daysInMonth(value.month, value.year))
        return false;
    return value.is_date || (value.hour >= 0 && value.hour <= 23 && value.minute >= 0 && value.minute <= 59 &&
                             value.second >= 0 && value.second <= 59);
}

icaltimetype floatingTime(Moment moment) {
    icaltimetype value = icaltime_null_time();
    const CivilDate date = civilFromDate(moment.date);
    value.year = date.year;
    value.month = date.month;
    value.day = date.day;
    const Time time = moment.time > 0 ? moment.time : kMidnight;
    value.hour = hoursOf(time);
    value.minute = minutesOf(time);
    value.second = secondsOf(time);
    return value;
}

Moment localMoment(icaltimetype value) {
    if (value.is_date) return {makeDate(value.month, value.day, value.year), kMidnight};
    if (!isZoned(value))
        return momentOf(value.year, value.month, value.day, value.hour, value.minute, value.second);
    const std::time_t instant = icaltime_as_timet_with_zone(value, value.zone);
    std::tm local{};
    localtime_r(&instant, &local);
    return momentOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                    local.tm_sec);
}

bool readsAsLocal(icaltimetype value) {
    if (!isZoned(value)) return true;
    const Moment local = localMoment(value);
    return local.date == makeDate(value.month, value.day, value.year) &&
           local.time == makeTime(value.hour, value.minute, value.second);
}

std::time_t instantOf(Moment local) {
    const CivilDate date = civilFromDate(local.date);
    const Time time = local.time > 0 ? local.time : kMidnight;
    std::tm parts{};
    parts.tm_year = date.year - 1900;
    parts.tm_mon = date.month - 1;
    parts.tm_mday = date.day;
    parts.tm_hour = hoursOf(time);
    parts.tm_min = minutesOf(time);
    parts.tm_sec = secondsOf(time);
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

icaltimetype inZoneOf(Moment local, icaltimetype like) {
    if (!isZoned(like)) {
        icaltimetype value = floatingTime(local);
        value.is_date = like.is_date;
        if (like.is_date) value.hour = value.minute = value.second = 0;
        return value;
    }
    return icaltime_from_timet_with_zone(instantOf(local), 0, like.zone);
}

}  // namespace plorix::ical
