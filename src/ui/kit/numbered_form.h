#pragma once
// The requests of a form on a numbered table (contacts, messages): an add
// that reserves its number at once, so that records the form relates to it
// (links) can name it while the form is open, and gives it back when the
// form is left without a save; and the change of a stored record.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "data/form_save.h"
#include "runtime/prompter.h"
#include "store/store.h"

namespace plorix::ui {

// Runs the form on the table whose buffer holds the record; whether the
// record is to be kept (it was saved).
using NumberedForm = std::function<bool(store::Table& table, data::FormAction action)>;

// Adding: reserves the next number with the record primed by `prime`
// (which may copy another record; the number is given afterwards).
// Changing: the record stored at `position`. Whether the form kept it.
bool editNumbered(const store::TableSchema& schema, data::FormAction action, std::int64_t position,
                  Prompter& prompter, const std::function<void(void*)>& prime, const NumberedForm& form);

}  // namespace plorix::ui
