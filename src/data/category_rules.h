#pragma once
// The rules of the schedule categories and their update form.
//
// A category name is unique regardless of letter case. A category that
// tasks still use cannot be deleted (warning 13) nor renamed (warning 12,
// the old name back in the form): both go through the relation of
// categories to tasks in cascade_relations.h, by deleteRecord and
// saveCategory. To-do items name categories without that check.

#include <string_view>

#include "data/cascade_form.h"

namespace plorix::data {

// "Adding a Categories Record" or "Changing a Categories Record".
std::string_view categoryCaption(FormAction action);

// A category needs its name; a name another category has (in any letter
// case) is refused with the duplicate-key message naming "CAT:KeyCategory".
const FormRules& categoryRules();

// Saves the category in the buffer of the `Categories` table (saveRecord).
int saveCategory(Table& categories, Prompter& prompter, FormAction action, const void* original);

}  // namespace plorix::data
