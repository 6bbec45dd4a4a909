#include "data/category_rules.h"

namespace plorix::data {

std::string_view categoryCaption(FormAction action) {
    return action == FormAction::Adding ? "Adding a Categories Record" : "Changing a Categories Record";
}

const FormRules& categoryRules() {
    static const FormRules rules{{"CAT:CATEGORY"}, {{"CAT:KEYCATEGORY", "CAT:KeyCategory"}}};
    return rules;
}

int saveCategory(Table& categories, Prompter& prompter, FormAction action, const void* original) {
    return saveRecord(categories, prompter, action, original, categoryRules());
}

}  // namespace plorix::data
