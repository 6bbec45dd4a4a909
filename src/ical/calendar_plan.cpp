#include "ical/calendar_plan.h"

#include <algorithm>
#include <map>
#include <string>

#include "ical/event_runs.h"
#include "ical/ical_handle.h"
#include "ical/ics_time.h"
#include "ical/rule_map.h"
#include "scheduler/fire_context.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::ical {
namespace {

using data::Schedule;

// Looking for the first coming run of a pattern: far enough for any rule
// that maps (every few years at most).
constexpr int kPatternSearchYears = 100;
// To-do priorities run from 1 to 10 here and from 1 to 9 in calendars; a
// calendar's 0 means none was given.
constexpr int kDefaultPriority = 5;

std::string textOf(const char* text) { return text ? text : ""; }

std::string nameOf(icalcomponent* item) {
    const std::string summary = textOf(icalcomponent_get_summary(item));
    return summary.empty() ? "(no title)" : summary;
}

// Seconds the first VALARM rings before the start, 0 when none does.
int alarmLead(icalcomponent* event) {
    for (icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger) continue;
        icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        if (related && icalparameter_get_related(related) == ICAL_RELATED_END) continue;
        const icaltriggertype value = icalproperty_get_trigger(trigger);
        if (!icaltime_is_null_time(value.time)) continue;
        const int seconds = icaldurationtype_as_int(value.duration);
        if (seconds < 0) return -seconds;
    }
    return 0;
}

Schedule taskOf(icalcomponent* event, const std::string& name) {
    Schedule task;
    task.TASKTYPE = scheduler::kDisplayMessage;
    task.DESCRIPTION = name;
    task.MESSAGE = textOf(icalcomponent_get_description(event));
    task.SCHEDULETYPE = scheduler::textOf(scheduler::ScheduleType::Once);
    return task;
}

void placeRun(Schedule& task, Moment run, int leadSeconds) {
    task.DATE = run.date;
    task.TIME = run.time;
    if (leadSeconds > 0) {
        const Moment warning = addHundredths(run, -std::int64_t{leadSeconds} * kHundredthsPerSecond);
        task.ADVANCEWARNDATE = warning.date;
        task.ADVANCEWARNTIME = warning.time;
    } else {
        // Nothing to warn about: marked as given so the check passes it over.
        task.ADVANCEWARNED = 1;
    }
}

class Planner {
public:
    Planner(icalcomponent* calendar, Moment now)
        : calendar_(calendar), now_(now), end_{now.date + kRunDays, now.time} {}

    // A RECURRENCE-ID: that event replaces one run of the event with its UID.
    void replaces(icalcomponent* event) {
        icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        const std::string uid = textOf(icalcomponent_get_uid(event));
        if (id && !uid.empty()) replaced_[uid].push_back(id);
    }
    void event(icalcomponent* event);
    void todo(icalcomponent* item);
    CalendarPlan take() { return std::move(plan_); }

private:
    void skip(const std::string& name, std::string why) {
        plan_.fates.push_back({name, Fate::Skipped, std::move(why), 0});
    }
    // Empty when the event keeps its pattern, else why not.
    std::string keepPattern(const EventTimes& times, Schedule task, int lead);
    void asRuns(const EventTimes& times, const Schedule& task, int lead, std::string why);

    icalcomponent* calendar_;
    Moment now_;
    Moment end_;
    CalendarPlan plan_;
    std::string name_;
    std::map<std::string, std::vector<icalproperty*>> replaced_;
};

std::string Planner::keepPattern(const EventTimes& times, Schedule task, int lead) {
    if (times.rules.size() > 1) return "it has several rules";
    if (!times.dates.empty()) return "it lists extra dates (RDATE)";
    const Moment start = localMoment(times.start);
    if (!zoneActsLocal(times.start, std::max(start.date, now_.date), kRunDays))
        return "its time zone differs from local time";
    if (times.rules.empty()) {
        if (!times.excluded.empty()) return "it leaves out its only run";
        if (start < now_) return "its run is past";
        placeRun(task, start, lead);
        plan_.tasks.push_back(task);
        return {};
    }
    if (std::string why = patternOf(times.rules.front(), start.date, task); !why.empty()) return why;
    const Moment far{static_cast<Date>(now_.date + 366 * kPatternSearchYears), now_.time};
    const auto first = runsBetween(times, now_, far, 1, true);
    if (first.empty()) return "it has no coming run";
    // Runs left out before now are past; the first coming one can be
    // skipped; others have no counterpart in a pattern.
    for (const icaltimetype& value : times.excluded) {
        const Moment excluded = localMoment(value);
        if (excluded == first.front())
            task.SKIPNEXTTIME = 1;
        else if (excluded >= now_)
            return "it leaves out coming runs (EXDATE)";
    }
    placeRun(task, first.front(), lead);
    plan_.tasks.push_back(task);
    return {};
}

void Planner::asRuns(const EventTimes& times, const Schedule& task, int lead, std::string why) {
    auto runs = runsBetween(times, now_, end_, kMostRunsPerEvent + 1);
    if (runs.empty()) return skip(name_, why + "; no run in the coming year");
    if (runs.size() > static_cast<std::size_t>(kMostRunsPerEvent)) {
        runs.resize(kMostRunsPerEvent);
        why += "; only the first " + std::to_string(kMostRunsPerEvent) + " runs";
    }
    for (const Moment& run : runs) {
        Schedule once = task;
        placeRun(once, run, lead);
        plan_.tasks.push_back(once);
    }
    plan_.fates.push_back({name_, Fate::Runs, std::move(why), static_cast<int>(runs.size())});
}

void Planner::event(icalcomponent* event) {
    name_ = nameOf(event);
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return skip(name_, "it is cancelled");
    EventTimes times;
    if (std::string why = readEventTimes(event, calendar_, times); !why.empty()) return skip(name_, why);
    // Runs that other events of the same UID replace are left out here.
    const auto replaced = replaced_.find(textOf(icalcomponent_get_uid(event)));
    if (replaced != replaced_.end() && !icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
        for (icalproperty* id : replaced->second) {
            std::string unknown;
            times.excluded.push_back(zonedValue(icalproperty_get_recurrenceid(id), id, calendar_, unknown));
        }
    }
    const Schedule task = taskOf(event, name_);
    const int lead = alarmLead(event);
    const std::size_t before = plan_.tasks.size();
    const std::string why = keepPattern(times, task, lead);
    if (why.empty()) {
        const std::string kind(plan_.tasks.back().SCHEDULETYPE.str());
        plan_.fates.push_back({name_, Fate::Pattern, kind, 1});
        return;
    }
    plan_.tasks.resize(before);
    asRuns(times, task, lead, why);
}

void Planner::todo(icalcomponent* item) {
    data::Todo todo;
    todo.TODO = nameOf(item);
    todo.NOTES = textOf(icalcomponent_get_description(item));
    icalproperty* completed = icalcomponent_get_first_property(item, ICAL_COMPLETED_PROPERTY);
    todo.DONE = completed || icalcomponent_get_status(item) == ICAL_STATUS_COMPLETED ? 1 : 0;
    icalproperty* priority = icalcomponent_get_first_property(item, ICAL_PRIORITY_PROPERTY);
    const int value = priority ? icalproperty_get_priority(priority) : 0;
    todo.PRIORITY = static_cast<std::uint8_t>(value >= 1 && value <= 9 ? value : kDefaultPriority);
    // A done item keeps when it was done, an open one when it is due.
    icalproperty* when = completed ? completed : icalcomponent_get_first_property(item, ICAL_DUE_PROPERTY);
    if (when) {
        std::string unknown;
        const icaltimetype value =
            zonedValue(completed ? icalproperty_get_completed(when) : icalproperty_get_due(when), when,
                       calendar_, unknown);
        if (isPlausible(value) && unknown.empty()) {
            const Moment moment = localMoment(value);
            todo.COMPLETIONDATE = moment.date;
            todo.COMPLETIONTIME = moment.time;
        }
    }
    plan_.fates.push_back({todo.TODO.str(), Fate::ToDo, {}, 1});
    plan_.todos.push_back(todo);
}

// The VCALENDAR the parser found: the text itself, or the first one inside
// the root that holds several.
icalcomponent* calendarIn(icalcomponent* root) {
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) return root;
    return icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
}

}  // namespace

std::optional<CalendarPlan> planCalendar(std::string_view text, Moment now) {
    // A damaged file is a fate to report, never a reason to end the program.
    icalerror_set_errors_are_fatal(0);
    const std::string copy(text);
    ComponentPtr root(icalparser_parse_string(copy.c_str()));
    if (!root) return std::nullopt;
    icalcomponent* calendar = calendarIn(root.get());
    if (!calendar) return std::nullopt;
    // Taken first: libical walks a component's children with one cursor, so
    // nothing may walk them again while they are planned.
    std::vector<icalcomponent*> items;
    for (icalcomponent* item = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); item;
         item = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT))
        items.push_back(item);
    Planner planner(calendar, now);
    for (icalcomponent* item : items)
        if (icalcomponent_isa(item) == ICAL_VEVENT_COMPONENT) planner.replaces(item);
    for (icalcomponent* item : items) {
        const icalcomponent_kind kind = icalcomponent_isa(item);
        if (kind == ICAL_VEVENT_COMPONENT)
            planner.event(item);
        else if (kind == ICAL_VTODO_COMPONENT)
            planner.todo(item);
    }
    return planner.take();
}

std::string describe(const ItemFate& fate) {
    switch (fate.fate) {
    case Fate::Pattern: return fate.name + ": imported as pattern (" + fate.why + ")";
    case Fate::Runs:
        return fate.name + ": imported as " + std::to_string(fate.runs) + " run(s), because " + fate.why;
    case Fate::ToDo: return fate.name + ": imported as to-do item";
    case Fate::Skipped: break;
    }
    return fate.name + ": skipped, because " + fate.why;
}

}  // namespace plorix::ical
