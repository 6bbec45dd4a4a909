#include "data/holiday_category_rules.h"

#include "data/tables.h"

namespace plorix::data {

const FormRules& holidayForm() {
    static const FormRules rules{
        "Holiday", {"HOL:HOLIDAYDATE"}, {{keys::Holidays::KEYHOLIDAYDATE, "HOL:KeyHolidayDate"}}};
    return rules;
}

const FormRules& categoryForm() {
    static const FormRules rules{
        "Categories Record", {"CAT:CATEGORY"}, {{keys::Categories::KEYCATEGORY, "CAT:KeyCategory"}}};
    return rules;
}

}  // namespace plorix::data
