#pragma once
// The recurrence kinds a schedule entry can carry, read from the texts the
// entry form stores (declared with the other option lists in
// data/field_choices.h); windows and wizards that offer them take them from
// these tables.

#include <array>
#include <cstdint>
#include <string_view>

#include "data/field_choices.h"
#include "runtime/date_time.h"

namespace plorix::scheduler {

enum class ScheduleType { Once, Yearly, Monthly, DayOfWeek, DayOfMonth, Custom };
enum class EveryUnit { Minutes, Hours, Days, Weeks, Months, Years, Unknown };
enum class ShiftKind { None, Next, Previous };

// A kind with the text that stands for it in the entry.
template <typename Kind>
struct KindName {
    Kind kind;
    std::string_view text;
};

inline constexpr std::array<KindName<ScheduleType>, 6> kScheduleTypeNames{{
    {ScheduleType::Once, data::kScheduleTypes[0]},
    {ScheduleType::DayOfWeek, data::kScheduleTypes[1]},
    {ScheduleType::DayOfMonth, data::kScheduleTypes[2]},
    {ScheduleType::Monthly, data::kScheduleTypes[3]},
    {ScheduleType::Yearly, data::kScheduleTypes[4]},
    {ScheduleType::Custom, data::kScheduleTypes[5]},
}};

inline constexpr std::array<KindName<EveryUnit>, 6> kEveryUnitNames{{
    {EveryUnit::Minutes, data::kEveryUnits[0]},
    {EveryUnit::Hours, data::kEveryUnits[1]},
    {EveryUnit::Days, data::kEveryUnits[2]},
    {EveryUnit::Weeks, data::kEveryUnits[3]},
    {EveryUnit::Months, data::kEveryUnits[4]},
    {EveryUnit::Years, data::kEveryUnits[5]},
}};

// "Skip" leaves the run where it is and lets it pass; the other two move it.
inline constexpr std::array<KindName<ShiftKind>, 3> kShiftNames{{
    {ShiftKind::None, data::kShiftTypes[0]},
    {ShiftKind::Previous, data::kShiftTypes[1]},
    {ShiftKind::Next, data::kShiftTypes[2]},
}};

std::string_view textOf(ScheduleType type);
std::string_view textOf(EveryUnit unit);  // empty for Unknown

// Any text other than the five named kinds is a custom repetition. Letter
// case is ignored so that imported entries written in another case still
// keep their kind.
ScheduleType scheduleTypeOf(std::string_view text);
// Only the first three letters count, in any case ("min", "hou", ...).
EveryUnit everyUnitOf(std::string_view text);
// The first letter decides: N moves to the next allowed day, P to the
// previous one, anything else lets the run pass.
ShiftKind shiftKindOf(std::string_view text);

// The span of day numbers the calendar can take apart: 1 January 1801 to
// 31 December 9999. Dates outside it are treated as unusable.
Date firstUsableDate();
Date lastUsableDate();
bool isUsableDate(std::int64_t date);

}  // namespace plorix::scheduler
