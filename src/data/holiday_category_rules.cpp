#include "data/holiday_category_rules.h"

namespace plorix::data {

const FormRules& holidayForm() {
    static const FormRules rules{"Holiday", {"HOL:HOLIDAYDATE"}, {{"HOL:KEYHOLIDAYDATE", "HOL:KeyHolidayDate"}}};
    return rules;
}

const FormRules& categoryForm() {
    static const FormRules rules{"Categories Record", {"CAT:CATEGORY"}, {{"CAT:KEYCATEGORY", "CAT:KeyCategory"}}};
    return rules;
}

}  // namespace plorix::data
