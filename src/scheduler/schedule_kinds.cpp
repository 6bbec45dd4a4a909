#include "scheduler/schedule_kinds.h"

#include <cctype>

namespace plorix::scheduler {
namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string_view textOf(ScheduleType type) {
    for (const auto& name : kScheduleTypeNames)
        if (name.type == type) return name.text;
    return {};
}

std::string_view textOf(EveryUnit unit) {
    for (const auto& name : kEveryUnitNames)
        if (name.unit == unit) return name.text;
    return {};
}

ScheduleType scheduleTypeOf(std::string_view text) {
    for (const auto& name : kScheduleTypeNames)
        if (equalNoCase(text, name.text)) return name.type;
    return ScheduleType::Custom;
}

EveryUnit everyUnitOf(std::string_view text) {
    if (text.size() < 3) return EveryUnit::Unknown;
    for (const auto& name : kEveryUnitNames)
        if (equalNoCase(text.substr(0, 3), name.text.substr(0, 3))) return name.unit;
    return EveryUnit::Unknown;
}

ShiftKind shiftKindOf(std::string_view text) {
    if (text.empty()) return ShiftKind::None;
    switch (std::toupper(static_cast<unsigned char>(text.front()))) {
        case 'N': return ShiftKind::Next;
        case 'P': return ShiftKind::Previous;
        default: return ShiftKind::None;
    }
}

Date firstUsableDate() {
    static const Date first = makeDate(1, 1, 1801);
    return first;
}

Date lastUsableDate() {
    static const Date last = makeDate(12, 31, 9999);
    return last;
}

bool isUsableDate(std::int64_t date) {
    return date >= firstUsableDate() && date <= lastUsableDate();
}

}  // namespace plorix::scheduler
