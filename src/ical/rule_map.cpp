#include "ical/rule_map.h"

#include <array>
#include <cstdint>
#include <set>
#include <utility>

#include "scheduler/schedule_kinds.h"

namespace plorix::ical {
namespace {

using data::Schedule;
using scheduler::EveryUnit;
using scheduler::ScheduleType;
using Flag = std::uint8_t Schedule::*;

struct Weekday {
    Flag flag;
    const char* code;
};
// In libical's order: its weekday numbers run from Sunday = 1.
constexpr std::array<Weekday, 7> kWeekdays{{
    {&Schedule::SUNDAY, "SU"},
    {&Schedule::MONDAY, "MO"},
    {&Schedule::TUESDAY, "TU"},
    {&Schedule::WEDNESDAY, "WE"},
    {&Schedule::THURSDAY, "TH"},
    {&Schedule::FRIDAY, "FR"},
    {&Schedule::SATURDAY, "SA"},
}};

// A chosen week of the month as a rule position: the nth weekday of a month
// is the one on days 7n-6 to 7n, the last one on the last seven days.
struct Week {
    Flag flag;
    int position;
};
constexpr std::array<Week, 5> kWeeks{{
    {&Schedule::EVERY1ST, 1},
    {&Schedule::EVERY2ND, 2},
    {&Schedule::EVERY3RD, 3},
    {&Schedule::EVERY4TH, 4},
    {&Schedule::EVERYLAST, -1},
}};

struct Frequency {
    EveryUnit unit;
    icalrecurrencetype_frequency freq;
    const char* name;
};
constexpr std::array<Frequency, 6> kFrequencies{{
    {EveryUnit::Minutes, ICAL_MINUTELY_RECURRENCE, "MINUTELY"},
    {EveryUnit::Hours, ICAL_HOURLY_RECURRENCE, "HOURLY"},
    {EveryUnit::Days, ICAL_DAILY_RECURRENCE, "DAILY"},
    {EveryUnit::Weeks, ICAL_WEEKLY_RECURRENCE, "WEEKLY"},
    {EveryUnit::Months, ICAL_MONTHLY_RECURRENCE, "MONTHLY"},
    {EveryUnit::Years, ICAL_YEARLY_RECURRENCE, "YEARLY"},
}};

const Frequency* frequencyOf(EveryUnit unit) {
    for (const auto& f : kFrequencies)
        if (f.unit == unit) return &f;
    return nullptr;
}
const Frequency* frequencyOf(icalrecurrencetype_frequency freq) {
    for (const auto& f : kFrequencies)
        if (f.freq == freq) return &f;
    return nullptr;
}

// Our months and years carry a day the target month lacks into the next
// month (31 January + 1 month = 3 March); a rule skips such months instead.
bool carriesOver(Date date, EveryUnit unit) {
    if (unit == EveryUnit::Months) return dayOf(date) > 28;
    if (unit == EveryUnit::Years) return monthOf(date) == 2 && dayOf(date) == 29;
    return false;
}
constexpr const char* kCarries = "its day does not exist in every month or year it reaches";

std::string join(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& part : parts) out += (out.empty() ? "" : ",") + part;
    return out;
}

std::vector<std::string> weekdayCodes(const Schedule& entry) {
    std::vector<std::string> codes;
    for (const auto& day : kWeekdays)
        if (entry.*day.flag) codes.emplace_back(day.code);
    return codes;
}

std::string weeklyRule(const Schedule& entry) {
    const auto codes = weekdayCodes(entry);
    return codes.empty() ? "FREQ=DAILY" : "FREQ=WEEKLY;BYDAY=" + join(codes);
}

std::string dayOfMonthRule(const Schedule& entry) {
    if (entry.LASTDAYOFMONTH) return "FREQ=MONTHLY;BYMONTHDAY=-1";
    std::vector<int> positions;
    for (const auto& week : kWeeks)
        if (entry.*week.flag) positions.push_back(week.position);
    if (positions.empty()) return weeklyRule(entry);
    const auto codes = weekdayCodes(entry);
    std::vector<std::string> parts;
    for (int position : positions) {
        if (codes.empty()) {
            // Without weekdays the chosen weeks are plain runs of days.
            for (int i = 0; i < 7; ++i)
                parts.push_back(std::to_string(position > 0 ? 7 * position - 6 + i : -1 - i));
        } else {
            for (const auto& code : codes) parts.push_back(std::to_string(position) + code);
        }
    }
    return std::string("FREQ=MONTHLY;") + (codes.empty() ? "BYMONTHDAY=" : "BYDAY=") + join(parts);
}

std::string everyRule(const Schedule& entry, EveryUnit unit, std::string& whyNot) {
    const Frequency* frequency = frequencyOf(unit);
    if (!frequency) {
        whyNot = "its custom repetition has no unit";
        return {};
    }
    if (carriesOver(entry.DATE, unit)) {
        whyNot = kCarries;
        return {};
    }
    const std::int32_t every = entry.EVERY < 1 ? 1 : entry.EVERY;
    std::string rule = std::string("FREQ=") + frequency->name;
    if (every > 1) rule += ";INTERVAL=" + std::to_string(every);
    return rule;
}

bool listed(const short* list) { return list[0] != ICAL_RECURRENCE_ARRAY_MAX; }

template <std::size_t N>
std::vector<short> valuesOf(const short (&list)[N]) {
    std::vector<short> out;
    for (std::size_t i = 0; i < N && list[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) out.push_back(list[i]);
    return out;
}

// Whether a BYMONTHDAY or BYMONTH list only repeats what the start gives.
template <std::size_t N>
bool onlyThe(const short (&list)[N], int value) {
    const auto values = valuesOf(list);
    return values.empty() || (values.size() == 1 && values[0] == value);
}

void clearPattern(Schedule& entry) {
    for (const auto& day : kWeekdays) entry.*day.flag = 0;
    for (const auto& week : kWeeks) entry.*week.flag = 0;
    entry.LASTDAYOFMONTH = 0;
    entry.EVERY = 0;
    entry.EVERYTYPE = "";
}

void setType(Schedule& entry, ScheduleType type) { entry.SCHEDULETYPE = scheduler::textOf(type); }

// BYDAY as weekday flags and the set of positions; false for a weekday
// libical could not name.
bool readDays(const icalrecurrencetype& rule, Schedule& entry, std::set<std::pair<int, int>>& pairs) {
    for (short code : valuesOf(rule.by_day)) {
        const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(code)) - 1;
        if (weekday < 0 || weekday > 6) return false;
        entry.*kWeekdays[static_cast<std::size_t>(weekday)].flag = 1;
        pairs.insert({icalrecurrencetype_day_position(code), weekday});
    }
    return true;
}

std::string monthlyByDay(const icalrecurrencetype& rule, Schedule& entry) {
    std::set<std::pair<int, int>> pairs;
    if (!readDays(rule, entry, pairs)) return "it names an unknown weekday";
    std::set<int> positions;
    std::set<int> weekdays;
    for (const auto& [position, weekday] : pairs) {
        positions.insert(position);
        weekdays.insert(weekday);
    }
    if (positions == std::set<int>{0}) {
        setType(entry, ScheduleType::DayOfWeek);
        return {};
    }
    if (pairs.size() != positions.size() * weekdays.size())
        return "its weekdays differ from one week of the month to another";
    for (int position : positions) {
        const Week* week = nullptr;
        for (const auto& w : kWeeks)
            if (w.position == position) week = &w;
        if (!week) return "it names the " + std::to_string(position) + ". weekday of the month";
        entry.*week->flag = 1;
    }
    setType(entry, ScheduleType::DayOfMonth);
    return {};
}

std::string everyPattern(const icalrecurrencetype& rule, Date start, Schedule& entry) {
    const Frequency* frequency = frequencyOf(rule.freq);
    if (!frequency) return "it repeats every few seconds";
    if (carriesOver(start, frequency->unit)) return kCarries;
    const int every = rule.interval < 1 ? 1 : rule.interval;
    if (every == 1 && frequency->unit == EveryUnit::Months) {
        setType(entry, ScheduleType::Monthly);
    } else if (every == 1 && frequency->unit == EveryUnit::Years) {
        setType(entry, ScheduleType::Yearly);
    } else {
        setType(entry, ScheduleType::Custom);
        entry.EVERY = every;
        entry.EVERYTYPE = scheduler::textOf(frequency->unit);
    }
    return {};
}

}  // namespace

std::string ruleOf(const Schedule& entry, std::string& whyNot) {
    whyNot.clear();
    const ScheduleType type = scheduler::scheduleTypeOf(entry.SCHEDULETYPE);
    if (type == ScheduleType::Once) return {};
    if (entry.EXCEPTTIME)
        whyNot = "it excepts a time window";
    else if (entry.EXCEPTHOLIDAYS)
        whyNot = "it excepts holidays";
    else if (entry.EXCEPTWEEKENDS || entry.EXCEPTWEEKDAYS)
        whyNot = "it excepts weekends or weekdays";
    if (!whyNot.empty()) return {};
    switch (type) {
    case ScheduleType::Monthly: return everyRule(entry, EveryUnit::Months, whyNot);
    case ScheduleType::Yearly: return everyRule(entry, EveryUnit::Years, whyNot);
    case ScheduleType::DayOfWeek: return weeklyRule(entry);
    case ScheduleType::DayOfMonth: return dayOfMonthRule(entry);
    case ScheduleType::Custom:
    case ScheduleType::Once: break;
    }
    // The minute and hour steps count wall-clock time, as floating times do.
    return everyRule(entry, scheduler::everyUnitOf(entry.EVERYTYPE), whyNot);
}

std::string patternOf(const icalrecurrencetype& rule, Date start, Schedule& entry) {
    clearPattern(entry);
    if (rule.count > 0) return "it ends after a number of runs (COUNT)";
    if (!icaltime_is_null_time(rule.until)) return "it ends on a date (UNTIL)";
    if (listed(rule.by_set_pos)) return "it picks runs by position (BYSETPOS)";
    if (listed(rule.by_second) || listed(rule.by_minute) || listed(rule.by_hour))
        return "it repeats within a day (BYHOUR, BYMINUTE or BYSECOND)";
    if (listed(rule.by_year_day) || listed(rule.by_week_no)) return "it names days or weeks of the year";
    const bool yearly = rule.freq == ICAL_YEARLY_RECURRENCE;
    if (!(yearly ? onlyThe(rule.by_month, monthOf(start)) : !listed(rule.by_month)))
        return "it names months (BYMONTH)";
    const bool monthDays = listed(rule.by_month_day);
    // Calendars often name the start's own weekday in a fortnightly rule;
    // that adds nothing to "every N weeks".
    const auto dayCodes = valuesOf(rule.by_day);
    const bool startWeekdayOnly =
        rule.freq == ICAL_WEEKLY_RECURRENCE && rule.interval > 1 && dayCodes.size() == 1 &&
        icalrecurrencetype_day_position(dayCodes[0]) == 0 &&
        static_cast<int>(icalrecurrencetype_day_day_of_week(dayCodes[0])) - 1 == weekdayOf(start);
    const bool days = !dayCodes.empty() && !startWeekdayOnly;
    const bool monthly = rule.freq == ICAL_MONTHLY_RECURRENCE;
    const bool once = rule.interval <= 1;

    if (monthly && !days && once && valuesOf(rule.by_month_day) == std::vector<short>{-1}) {
        setType(entry, ScheduleType::DayOfMonth);
        entry.LASTDAYOFMONTH = 1;
        return {};
    }
    if ((monthly || yearly) && !onlyThe(rule.by_month_day, dayOf(start)))
        return "it names days of the month (BYMONTHDAY)";
    if (!(monthly || yearly) && monthDays) return "it names days of the month (BYMONTHDAY)";
    if (!days) return everyPattern(rule, start, entry);

    if (!once) return "it repeats every few weeks or months on chosen weekdays";
    if (monthly && !monthDays) return monthlyByDay(rule, entry);
    if (rule.freq == ICAL_WEEKLY_RECURRENCE || rule.freq == ICAL_DAILY_RECURRENCE) {
        std::set<std::pair<int, int>> pairs;
        if (!readDays(rule, entry, pairs)) return "it names an unknown weekday";
        for (const auto& pair : pairs)
            if (pair.first != 0) return "it names numbered weekdays outside a month";
        setType(entry, ScheduleType::DayOfWeek);
        return {};
    }
    return "it names weekdays where the scheduler cannot";
}

}  // namespace plorix::ical
