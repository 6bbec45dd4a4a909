#include "data/holiday_rules.h"

namespace plorix::data {

std::string_view holidayCaption(FormAction action) {
    return action == FormAction::Adding ? "Adding a Holiday" : "Changing a Holiday";
}

const FormRules& holidayRules() {
    static const FormRules rules{{"HOL:HOLIDAYDATE"}, {{"HOL:KEYHOLIDAYDATE", "HOL:KeyHolidayDate"}}};
    return rules;
}

int saveHoliday(Table& holidays, Prompter& prompter, FormAction action, const void* original) {
    return saveRecord(holidays, prompter, action, original, holidayRules());
}

}  // namespace plorix::data
