#include "ical/event_runs.h"

#include <algorithm>

#include "ical/ical_handle.h"
#include "ical/ics_time.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::ical {
namespace {

// Steps one rule may take before it is given up: a rule that selects almost
// nothing (the 31st of February, every minute for years) must not spin.
constexpr int kMostSteps = 200000;

void addRuleRuns(const icalrecurrencetype& rule, const EventTimes& times, Moment from, Moment to,
                 std::size_t limit, std::vector<Moment>& runs) {
    IteratorPtr iterator(icalrecur_iterator_new(rule, times.start));
    if (!iterator) return;
    // Rules without a count can start at the first day asked for; with a
    // count the runs must be counted from the start.
    if (rule.count == 0) {
        icaltimetype begin = inZoneOf({from.date, kMidnight}, times.start);
        if (icaltime_compare(begin, times.start) > 0) icalrecur_iterator_set_start(iterator.get(), begin);
    }
    std::size_t found = 0;
    for (int step = 0; step < kMostSteps && found < limit; ++step) {
        icaltimetype value = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(value)) return;
        value.zone = times.start.zone;
        value.is_date = times.start.is_date;
        if (!isPlausible(value)) return;
        const Moment local = localMoment(value);
        if (local > to || !scheduler::isUsableDate(local.date)) return;
        if (local < from) continue;
        runs.push_back(local);
        ++found;
    }
}

}  // namespace

icaltimetype zonedValue(icaltimetype value, icalproperty* property, icalcomponent* calendar,
                        std::string& unknownZone) {
    if (value.is_date || icaltime_is_utc(value)) return value;
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!parameter) return value;
    const char* tzid = icalparameter_get_tzid(parameter);
    if (!tzid) return value;
    icaltimezone* zone = calendar ? icalcomponent_get_timezone(calendar, tzid) : nullptr;
    if (!zone) zone = icaltimezone_get_builtin_timezone(tzid);
    if (!zone) zone = icaltimezone_get_builtin_timezone_from_tzid(tzid);
    if (!zone) {
        unknownZone = tzid;
        return value;
    }
    return icaltime_set_timezone(&value, zone);
}

std::string readEventTimes(icalcomponent* event, icalcomponent* calendar, EventTimes& times) {
    icalproperty* start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!start) return "it has no start";
    std::string unknownZone;
    times.start = zonedValue(icalproperty_get_dtstart(start), start, calendar, unknownZone);
    if (!isPlausible(times.start)) return "its start cannot be read";
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY))
        times.rules.push_back(icalproperty_get_rrule(p));
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
        const icaltimetype value = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
        times.dates.push_back(zonedValue(value, p, calendar, unknownZone));
    }
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        times.excluded.push_back(zonedValue(icalproperty_get_exdate(p), p, calendar, unknownZone));
    if (!unknownZone.empty()) return "its time zone '" + unknownZone + "' is unknown";
    return {};
}

std::vector<Moment> runsBetween(const EventTimes& times, Moment from, Moment to, std::size_t limit,
                                bool withExcluded) {
    std::vector<Moment> excluded;
    for (const icaltimetype& value : times.excluded) excluded.push_back(localMoment(value));
    const std::size_t wanted = limit + (withExcluded ? 0 : excluded.size());

    std::vector<Moment> runs;
    auto addDate = [&](const icaltimetype& value) {
        if (!isPlausible(value)) return;
        const Moment local = localMoment(value);
        if (local >= from && local <= to && scheduler::isUsableDate(local.date)) runs.push_back(local);
    };
    addDate(times.start);
    for (const icaltimetype& value : times.dates) addDate(value);
    for (const icalrecurrencetype& rule : times.rules) addRuleRuns(rule, times, from, to, wanted, runs);

    std::sort(runs.begin(), runs.end());
    runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
    if (!withExcluded) {
        std::erase_if(runs, [&](const Moment& run) {
            return std::find(excluded.begin(), excluded.end(), run) != excluded.end();
        });
    }
    if (runs.size() > limit) runs.resize(limit);
    return runs;
}

bool zoneActsLocal(icaltimetype value, Date from, int days) {
    for (int day = 0; day <= days; ++day) {
        const CivilDate date = civilFromDate(from + day);
        icaltimetype probe = value;
        probe.year = date.year;
        probe.month = date.month;
        probe.day = date.day;
        if (!readsAsLocal(probe)) return false;
    }
    return true;
}

}  // namespace plorix::ical
