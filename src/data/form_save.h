#pragma once
// The save of a standard update form: required fields, the duplicate-key
// check, then the add, or the change through the change routine.

#include <string>
#include <string_view>
#include <vector>

#include "data/cascade.h"

namespace plorix::data {

enum class FormAction { Adding, Changing };

// A unique key and the name the duplicate-key message gives it.
struct NamedKey {
    int key;                   // keys::Holidays::KEYHOLIDAYDATE
    std::string_view shownAs;  // "HOL:KeyHolidayDate"
};

struct FormRules {
    std::string_view record;                 // what the caption names: "Holiday"
    std::vector<std::string_view> required;  // fields that may not be left blank
    std::vector<NamedKey> uniqueKeys;        // checked before anything is written
};

// The form's caption: "Adding a Holiday", "Changing a Holiday".
std::string formCaption(FormAction action, const FormRules& rules);

// Results of saveRecord beyond those of changeRecord.
enum FormSaveResult : int {
    kIncomplete = 3,  // a required field is blank (missingField names it); nothing shown
};

// The first required field the buffer leaves blank; nullptr when none.
const store::FieldDesc* missingField(const store::Table& table, const FormRules& rules);

// Saves the table's buffer. Values another record already holds under one
// of the rules' unique keys are refused with warning 24 naming the key, and
// the form stays open. Adding adds the record (warning 14 when the store
// refuses it otherwise); changing goes through changeRecord with `original`,
// the record as the form read it.
int saveRecord(store::Table& table, Prompter& prompter, FormAction action, const void* original,
               const FormRules& rules, bool canRecall = false);

}  // namespace plorix::data
