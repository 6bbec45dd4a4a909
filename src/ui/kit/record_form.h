#pragma once
// The update form of a table whose rules all live in data/ (holidays,
// categories ...), declared as a list of fields, and the browse actions
// that add, change and delete through it.

#include <functional>
#include <string_view>
#include <vector>

#include "data/form_save.h"
#include "runtime/prompter.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/field_editor.h"

namespace plorix::ui {

struct FormField {
    std::string_view field;
    EditorKind kind;
    std::string_view label;
};

struct RecordFormSpec {
    const store::TableSchema* schema = nullptr;
    std::string_view title;    // "Update the Holidays File"
    std::string_view section;  // "UpdateHolidays"
    const data::FormRules* rules = nullptr;
    std::vector<FormField> fields;
    // A change that leaves the record as it was is not written.
    bool skipUnchanged = false;
};

// Adds a record (from a cleared buffer that `prime` may preset) or changes
// the record stored at `position`; whether it was saved.
bool addRecord(const RecordFormSpec& declaration, Prompter& prompter, QWidget* parent,
               const std::function<void(void*)>& prime = {});
bool changeRecordAt(const RecordFormSpec& declaration, std::int64_t position, Prompter& prompter,
                    QWidget* parent);
// Asks, then deletes the record at `position` through the cascading delete.
bool deleteRecordAt(const store::TableSchema& schema, std::int64_t position, Prompter& prompter);

// Insert, change and delete of `browse` through the form.
BrowseActions formActions(const RecordFormSpec& declaration, BrowseWindow& browse);
// "&Add", "&Edit" and "&Delete" as buttons or menu items of `browse`.
std::vector<BrowseButton> standardButtons(BrowseWindow& browse);

}  // namespace plorix::ui
