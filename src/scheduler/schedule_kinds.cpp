#include "scheduler/schedule_kinds.h"

#include <cctype>

namespace plorix::scheduler {
namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

template <typename Kind, std::size_t N>
std::string_view textIn(const std::array<KindName<Kind>, N>& names, Kind kind) {
    for (const auto& name : names)
        if (name.kind == kind) return name.text;
    return {};
}

}  // namespace

std::string_view textOf(ScheduleType type) { return textIn(kScheduleTypeNames, type); }
std::string_view textOf(EveryUnit unit) { return textIn(kEveryUnitNames, unit); }

ScheduleType scheduleTypeOf(std::string_view text) {
    for (const auto& name : kScheduleTypeNames)
        if (equalNoCase(text, name.text)) return name.kind;
    return ScheduleType::Custom;
}

EveryUnit everyUnitOf(std::string_view text) {
    if (text.size() < 3) return EveryUnit::Unknown;
    for (const auto& name : kEveryUnitNames)
        if (equalNoCase(text.substr(0, 3), name.text.substr(0, 3))) return name.kind;
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

bool isUsableDate(std::int64_t date) { return date >= firstUsableDate() && date <= lastUsableDate(); }

}  // namespace plorix::scheduler
