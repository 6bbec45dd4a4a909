#include "ui/kit/numbered_form.h"

#include "data/cascade.h"
#include "data/numbering.h"
#include "data/warnings.h"
#include "ui/kit/browse_window.h"

namespace plorix::ui {

bool editNumbered(const store::TableSchema& schema, data::FormAction action, std::int64_t position,
                  Prompter& prompter, const std::function<void(void*)>& prime, const NumberedForm& form) {
    auto table = ownTable(schema, prompter);
    if (!table->isOpen()) return false;
    if (action == data::FormAction::Changing) {
        if (table->reget(position) != store::kNoError) {
            data::standardWarning(prompter, data::Warning::RecordRetrievalError, schema.label);
            return false;
        }
        return form(*table, action);
    }
    if (data::addNumbered(*table, prompter, prime) == 0) return false;
    const std::int64_t reserved = table->position();
    if (form(*table, action)) return true;
    // Left without a save: the reserved record goes again, with whatever
    // the form related to it.
    if (table->reget(reserved) == store::kNoError) data::deleteRecord(*table, prompter);
    return false;
}

}  // namespace plorix::ui
