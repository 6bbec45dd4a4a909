#pragma once
// The update forms of the holidays and of the schedule categories, saved
// with saveRecord(table, prompter, action, original, holidayForm()) and
// deleted with deleteRecord.
//
// Holidays: one record per holiday, on a date no other holiday has. An
// annual holiday is one record too, which the exception step of the
// recurrence moves a year on once its date has passed
// (scheduler/stored_holidays.h); it is never expanded into one record a year.
//
// Categories: a name is unique regardless of letter case. A category that
// tasks still use can neither be deleted (warning 13) nor renamed (warning
// 12, the old name back in the form), by the relation of categories to
// tasks (cascade_relations.h). To-do items name categories unchecked.

#include "data/form_save.h"

namespace plorix::data {

// "Adding a Holiday" / "Changing a Holiday"; the date is required, and a
// second holiday on a date is refused naming "HOL:KeyHolidayDate".
const FormRules& holidayForm();

// "Adding a Categories Record" / "Changing a Categories Record"; the name is
// required, and one another category has is refused naming "CAT:KeyCategory".
const FormRules& categoryForm();

}  // namespace plorix::data
