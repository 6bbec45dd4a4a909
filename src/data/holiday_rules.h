#pragma once
// The rules of the holiday list and its update form.
//
// One record per holiday, on a date no other holiday has; an annual holiday
// is one record too, which the exception step of the recurrence moves a year
// on once its date has passed (scheduler/stored_holidays.h), never expanded
// into one record per year. Deleting goes through deleteRecord.

#include <string_view>

#include "data/cascade_form.h"

namespace plorix::data {

// "Adding a Holiday" or "Changing a Holiday".
std::string_view holidayCaption(FormAction action);

// A holiday needs its date; a second holiday on the same date is refused
// with the duplicate-key message naming "HOL:KeyHolidayDate".
const FormRules& holidayRules();

// Saves the holiday in the buffer of the `Holidays` table (saveRecord).
int saveHoliday(Table& holidays, Prompter& prompter, FormAction action, const void* original);

}  // namespace plorix::data
