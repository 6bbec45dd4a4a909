#include "data/field_choices.h"

#include "runtime/fixed_text.h"

namespace plorix::data {

namespace {

const FieldChoices kChoices[] = {
    {"SCH:TASKTYPE", kTaskTypes, false},
    {"SCH:SCHEDULETYPE", kScheduleTypes, false},
    {"SCH:EVERYTYPE", kEveryUnits, true},
    {"SCH:SHIFTTYPE", kShiftTypes, true},
    {"SCR:ACTION", kScriptActions, false},
    {"SCR:WINDOWEXISTANCE", kWindowConditions, true},
    {"SCR:IFTIMEELAPSED", kElapsedConditions, true},
    {"SCR:DDETYPE", kFileActions, false, action::kFileActions},
    {"SCR:PATH", kStartScriptTypes, false, action::kStartScript},
    {"SCR:WINDOWTITLETOCHECKFOR", kComparisons, false, action::kIfValue},
    {"M_:MAILTYPE", kMailTypes, false},
};

const FieldRange kRanges[] = {
    kTodoPriority,
    {"TDO:DONE", 0, 1},
};

}  // namespace

std::span<const FieldChoices> fieldChoices() { return kChoices; }
std::span<const FieldRange> fieldRanges() { return kRanges; }

const FieldChoices* choicesFor(std::string_view field, std::string_view action) {
    for (const FieldChoices& c : kChoices) {
        if (!equalNoCase(c.field, field)) continue;
        if (c.action.empty() || equalNoCase(c.action, clip(action))) return &c;
    }
    return nullptr;
}

const FieldRange* rangeFor(std::string_view field) {
    for (const FieldRange& r : kRanges)
        if (equalNoCase(r.field, field)) return &r;
    return nullptr;
}

std::string_view canonicalChoice(const FieldChoices& choices, std::string_view value) {
    const std::string text = clip(value);
    for (std::string_view offered : choices.texts)
        if (equalNoCase(offered, text)) return offered;
    return {};
}

std::string describeAllowed(std::string_view field) {
    if (const FieldRange* range = rangeFor(field))
        return std::to_string(range->least) + ".." + std::to_string(range->most);
    std::string out;
    for (const FieldChoices& c : kChoices) {
        if (!equalNoCase(c.field, field)) continue;
        if (!out.empty()) out += "; ";
        if (!c.action.empty()) out += "for " + std::string(c.action) + ": ";
        for (std::size_t i = 0; i < c.texts.size(); ++i) out += (i ? "|" : "") + std::string(c.texts[i]);
        if (c.blankAllowed) out += "|(blank)";
    }
    return out;
}

}  // namespace plorix::data
