#include "ical/calendar_writer.h"

#include "ical/calendar_plan.h"
#include "ical/ical_handle.h"
#include "ical/ics_time.h"
#include "ical/rule_map.h"
#include "runtime/fixed_text.h"
#include "scheduler/forecast.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::ical {
namespace {

using data::Schedule;

constexpr const char* kProductId = "-//Plorix//Plorix 98 1.7a//EN";
// Runs asked of the forecast at first and at most, doubling in between.
constexpr int kFirstRunsAsked = 64;
constexpr int kMostRunsAsked = 1 << 20;

// The coming runs of a year as firing makes them, moved copies included and
// skipped runs left out.
std::vector<Moment> runsOfYear(const Schedule& entry, const scheduler::HolidayCalendar& holidays,
                               Moment now) {
    const Moment end{now.date + kRunDays, now.time};
    std::vector<scheduler::Occurrence> runs;
    for (int asked = kFirstRunsAsked;; asked *= 2) {
        runs = scheduler::forecast(entry, now, asked, holidays);
        if (static_cast<int>(runs.size()) < asked || asked >= kMostRunsAsked || runs.back().due > end) break;
    }
    std::vector<Moment> out;
    for (const auto& run : runs)
        if (!run.skipped && !run.late && run.due <= end) out.push_back(run.due);
    return out;
}

void addAlarm(icalcomponent* event, const Schedule& entry, const std::string& summary) {
    if (entry.ADVANCEWARNDATE == 0) return;
    const std::int64_t lead =
        hundredthsBetween({entry.ADVANCEWARNDATE, entry.ADVANCEWARNTIME}, {entry.DATE, entry.TIME});
    if (lead < kHundredthsPerSecond) return;
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-static_cast<int>(lead / kHundredthsPerSecond));
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(event, alarm);
}

icalcomponent* newEvent(const Schedule& entry, Moment first, icaltimetype stamp) {
    const std::string summary = trim(entry.DESCRIPTION.str());
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(uidOf(entry).c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
    const std::string message = trim(entry.MESSAGE.str());
    if (!message.empty()) icalcomponent_add_property(event, icalproperty_new_description(message.c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstart(floatingTime(first)));
    addAlarm(event, entry, summary);
    return event;
}

void addDates(icalcomponent* event, const std::vector<Moment>& runs) {
    for (std::size_t i = 1; i < runs.size(); ++i) {
        icaldatetimeperiodtype date{};
        date.time = floatingTime(runs[i]);
        date.period = icalperiodtype_null_period();
        icalcomponent_add_property(event, icalproperty_new_rdate(date));
    }
}

}  // namespace

std::string uidOf(const Schedule& entry) { return "plorix-task-" + std::to_string(entry.ID); }

std::string calendarOf(const std::vector<Schedule>& entries, const scheduler::HolidayCalendar& holidays,
                       Moment now, ExportOutcome& outcome) {
    ComponentPtr calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
    const icaltimetype stamp =
        icaltime_from_timet_with_zone(instantOf(now), 0, icaltimezone_get_utc_timezone());

    for (const Schedule& entry : entries) {
        if (entry.DISABLED || entry.COMPLETED) continue;
        const std::string name = trim(entry.DESCRIPTION.str());
        if (!scheduler::isUsableDate(entry.DATE)) {
            outcome.notWritten.push_back(name + ": it has no date");
            continue;
        }
        std::string whyNot;
        const std::string rule = ruleOf(entry, whyNot);
        if (whyNot.empty()) {
            const Moment stored{entry.DATE, entry.TIME};
            icalcomponent* event = newEvent(entry, stored, stamp);
            if (!rule.empty())
                icalcomponent_add_property(
                    event, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.c_str())));
            if (entry.SKIPNEXTTIME)
                icalcomponent_add_property(event, icalproperty_new_exdate(floatingTime(stored)));
            icalcomponent_add_component(calendar.get(), event);
            ++outcome.events;
            continue;
        }
        const std::vector<Moment> runs = runsOfYear(entry, holidays, now);
        if (runs.empty()) {
            outcome.notWritten.push_back(name + ": no run in the coming year");
            continue;
        }
        icalcomponent* event = newEvent(entry, runs.front(), stamp);
        addDates(event, runs);
        icalcomponent_add_component(calendar.get(), event);
        ++outcome.events;
        outcome.asRuns.push_back(name + ": " + whyNot);
    }
    return takeString(icalcomponent_as_ical_string_r(calendar.get()));
}

}  // namespace plorix::ical
