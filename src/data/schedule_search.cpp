#include "data/schedule_search.h"

#include "data/tables/schedule.h"

namespace plorix::data {

namespace {
using K = QbeKind;
}

const std::vector<SearchField>& scheduleSearchFields() {
    static const std::vector<SearchField> fields{
        {"SCH:TASKTYPE", "Tas&k Type:", K::Option},
        {"SCH:CATEGORY", "&Category:", K::String},
        {"SCH:DESCRIPTION", "&Description:", K::String, true},
        {"SCH:COMMAND", "Comma&nd:", K::String, true},
        {"SCH:PATH", "Start &in:", K::String, true},
        {"SCH:MESSAGE", "&Message:", K::Text, true},
        {"SCH:SCHEDULETYPE", "Schedule &Type:", K::Option},
        {"SCH:EVERY", "E&very:", K::Number},
        {"SCH:EVERYTYPE", "Every Ty&pe:", K::Option},
        {"SCH:DATE", "Ne&xt Date:", K::Date},
        {"SCH:TIME", "Tim&e:", K::Number},
        {"SCH:ADVANCEWARNDATE", "&Advance Warning Date:", K::Date},
        {"SCH:ADVANCEWARNTIME", "Advance &Warning Time:", K::Number},
        {"SCH:ALARMFILE", "Alarm &File:", K::String, true},
        {"SCH:ALARM", "Alarm", K::Check},
        {"SCH:SKIPNEXTTIME", "Skip Next Time", K::Check},
        {"SCH:WARN", "Warn if not run", K::Check},
        {"SCH:USERSKIP", "Option to skip", K::Check},
        {"SCH:DISABLED", "Disabled", K::Check},
        {"SCH:EVERY1ST", "1st", K::Check},
        {"SCH:EVERY2ND", "2nd", K::Check},
        {"SCH:EVERY3RD", "3rd", K::Check},
        {"SCH:EVERY4TH", "4th", K::Check},
        {"SCH:EVERYLAST", "Last", K::Check},
        {"SCH:LASTDAYOFMONTH", "Month End", K::Check},
        {"SCH:SUNDAY", "Sunday", K::Check},
        {"SCH:MONDAY", "Monday", K::Check},
        {"SCH:TUESDAY", "Tuesday", K::Check},
        {"SCH:WEDNESDAY", "Wednesday", K::Check},
        {"SCH:THURSDAY", "Thursday", K::Check},
        {"SCH:FRIDAY", "Friday", K::Check},
        {"SCH:SATURDAY", "Saturday", K::Check},
    };
    return fields;
}

const SearchField* scheduleSearchField(std::string_view field) {
    for (const SearchField& f : scheduleSearchFields())
        if (f.field == field) return &f;
    return nullptr;
}

int scheduleSearchKey(const std::vector<Criterion>& criteria) {
    struct Lead {
        std::string_view field;
        int key;
    };
    static constexpr Lead kLeads[] = {{"SCH:DATE", keys::Schedule::KEYDATE},
                                      {"SCH:CATEGORY", keys::Schedule::KEYCATEGORY},
                                      {"SCH:DESCRIPTION", keys::Schedule::KEYTASKNAME},
                                      {"SCH:TASKTYPE", keys::Schedule::KEYTASKTYPE}};
    if (!criteria.empty())
        for (const Lead& lead : kLeads)
            if (criteria.front().field == lead.field) return lead.key;
    return keys::Schedule::KEYID;
}

}  // namespace plorix::data
