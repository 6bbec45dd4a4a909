// UPDATESCHEDULE's requests: the add that reserves its number at once (and
// gives it back on Cancel), the change of a stored entry, and the delete
// that asks first and takes the entry's script items with it.

#include <optional>

#include "data/cascade.h"
#include "data/numbering.h"
#include "data/warnings.h"
#include "scheduler/fire_context.h"
#include "scheduler/new_task.h"
#include "scheduler/schedule_kinds.h"
#include "script/script_items.h"
#include "ui/forms/update_schedule.h"
#include "ui/kit/browse_window.h"

namespace plorix::ui {

namespace {

using data::Schedule;

// Reads the entry `id` into the table's buffer as its current record.
bool readEntry(store::Table& table, Prompter& prompter, std::int32_t id) {
    table.rec<Schedule>().ID = id;
    if (table.get(data::keys::Schedule::KEYID) == store::kNoError) return true;
    data::standardWarning(prompter, data::Warning::RecordRetrievalError, "Schedule");
    return false;
}

}  // namespace

std::int32_t reserveEntry(store::Table& table, Prompter& prompter, std::int32_t& disabled,
                          const std::function<void(Schedule&)>& prime) {
    return data::addNumbered(table, prompter, [&](void* record) {
        Schedule& e = *static_cast<Schedule*>(record);
        prime(e);
        disabled = e.DISABLED;
        e.DISABLED = 1;
    });
}

void dropReserved(store::Table& table, Prompter& prompter, std::int32_t id, bool withScript) {
    if (readEntry(table, prompter, id)) data::deleteRecord(table, prompter);
    if (withScript) script::deleteScript(id, prompter);
}

namespace {

bool deleteEntry(store::Table& table, Prompter& prompter, std::int32_t id) {
    if (!readEntry(table, prompter, id)) return false;
    if (data::standardWarning(prompter, data::Warning::ConfirmDelete) != kOk) return false;
    while (data::deleteRecord(table, prompter) != data::kDeleted) {
        if (data::standardWarning(prompter, data::Warning::DeleteFailedTryAgain) != kYes) return false;
        if (!readEntry(table, prompter, id)) return false;
    }
    return true;
}

}  // namespace

bool updateSchedule(QWidget* parent, const ScheduleServices& services, ScheduleRequest request,
                    const data::Schedule* entry, Date defaultDay) {
    // The form works on a copy: the caller's list may be read again meanwhile.
    const std::optional<Schedule> copy = entry ? std::optional<Schedule>(*entry) : std::nullopt;
    entry = copy ? &*copy : nullptr;
    Prompter& prompter = services.prompter;
    auto table = ownTable(Schedule::schema(), prompter);
    if (!table->isOpen()) return false;
    if (request == ScheduleRequest::Delete) return entry && deleteEntry(*table, prompter, entry->ID);
    if (request == ScheduleRequest::Change) {
        if (!entry || !readEntry(*table, prompter, entry->ID)) return false;
        UpdateSchedule form(*table, data::FormAction::Changing, services, parent);
        return form.exec() == QDialog::Accepted;
    }

    const std::int32_t source = entry ? entry->ID : 0;
    const Moment now = services.clock.current();
    std::int32_t disabled = 0;
    const std::int32_t id = reserveEntry(*table, prompter, disabled, [&](Schedule& e) {
        if (entry) e = *entry;
        if (e.TASKTYPE.empty()) {
            scheduler::primeNewTask(e, now, defaultDay);
        } else {
            e.DISABLED = 0;
            e.COMPLETED = 0;
            e.ADVANCEWARNED = 0;
            // A copy is a task of its own: it is not the original's twin in
            // a transfer file, and the one-off run the original's exception
            // made stays the original's (the copy's save would delete it).
            e.ORIGINALID = 0;
            e.EXCEPTIONLINK = 0;
        }
    });
    if (id == 0) return false;
    if (source != 0) script::copyScript(source, id, prompter);
    UpdateSchedule form(*table, data::FormAction::Adding, services, parent);
    form.showDisabled(disabled);
    if (form.exec() == QDialog::Accepted) return true;
    // Cancelled: the reserved entry goes again, with the script items copied
    // to it or written in the script editor meanwhile: left behind, they
    // would become the script of the next task given this number.
    dropReserved(*table, prompter, id, true);
    return false;
}

}  // namespace plorix::ui
