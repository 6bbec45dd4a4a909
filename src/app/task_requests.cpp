#include "app/task_requests.h"

#include <algorithm>
#include <optional>

#include "data/numbering.h"
#include "data/tables/holidays.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "scheduler/forecast.h"
#include "scheduler/new_task.h"
#include "scheduler/simulate.h"
#include "scheduler/stored_holidays.h"
#include "store/transaction.h"

namespace plorix::app {

namespace {

using data::Schedule;

// A table of this request's own on the data file, so the buffers the tick
// and the open windows work on are left alone.
class OwnTable {
public:
    OwnTable(const store::TableSchema& schema, int mode) : table_(schema) {
        if (table_.open(mode) != store::kNoError)
            throw RequestRefused("cannot open " + schema.label + ": " + table_.error().describe());
    }
    store::Table* operator->() { return &table_; }
    store::Table& operator*() { return table_; }

private:
    store::Table table_;
};

std::string whyNot(const store::FieldDesc& field) {
    if (store::isText(field.kind))
        return "is longer than its " + std::to_string(field.capacity) + " characters";
    if (field.kind == store::FieldKind::Date) return "is not a date (YYYY-MM-DD)";
    if (field.kind == store::FieldKind::Time) return "is not a time (HH:MM or HH:MM:SS)";
    return "is not a number that fits the field";
}

// Puts every value into `record`; refused at the first that does not fit.
void assign(const TaskFields& fields, void* record) {
    const store::TableSchema& schema = Schedule::schema();
    for (const auto& [name, value] : fields) {
        const int index = schema.fieldIndex(name);
        if (index < 0) throw RequestRefused("a task has no field '" + name + "'");
        const store::FieldDesc& field = schema.fields[static_cast<std::size_t>(index)];
        if (field.name == "SCH:ID") throw RequestRefused("SCH:ID is given by the scheduler");
        if (!store::fieldFromText(field, record, value))
            throw RequestRefused("value '" + value + "' for " + field.name + " " + whyNot(field));
    }
}

std::string dueText(const Schedule& entry) { return scheduler::isoMoment({entry.DATE, entry.TIME}); }

template <typename Visit>
void eachTask(Visit visit) {
    OwnTable table(Schedule::schema(), store::kReadOnlyDenyNone);
    table->setStart(data::keys::Schedule::KEYID);
    int code;
    while ((code = table->next()) == store::kNoError) visit(table->rec<Schedule>());
    if (code != store::kRecordNotAvailable)
        throw RequestRefused("cannot read the tasks: " + table->error().describe());
}

}  // namespace

std::int32_t addTask(const TaskFields& fields) {
    if (fields.empty()) throw RequestRefused("a task needs at least its SCH:DESCRIPTION");
    // Every value is checked on a scratch record before anything is written.
    Schedule scratch{};
    assign(fields, &scratch);

    OwnTable table(Schedule::schema(), store::kReadWriteDenyNone);
    RecordingPrompter nobody;
    store::Transaction transaction(*table);
    if (!transaction.ok()) throw RequestRefused("the data file is busy: " + table->error().describe());
    const std::int32_t id = data::addNumbered(*table, nobody, [&](void* record) {
        // Starts as a task added in the schedule window starts; the fields given override.
        scheduler::primeNewTask(*static_cast<Schedule*>(record), processClock().current());
        assign(fields, record);
    });
    if (id == 0) {
        transaction.rollback();
        throw RequestRefused(nobody.shown().empty() ? "the task was not added" : nobody.shown().back().text);
    }
    if (transaction.commit() != store::kNoError)
        throw RequestRefused("the task was not added: " + table->error().describe());
    return id;
}

std::vector<TaskRow> listTasks() {
    std::vector<TaskRow> rows;
    eachTask([&](const Schedule& entry) {
        rows.push_back({entry.ID, entry.DESCRIPTION.str(), dueText(entry), entry.SCHEDULETYPE.str()});
    });
    return rows;
}

std::vector<ForecastRow> forecastRuns(Moment from, std::int64_t count) {
    if (count < 1) throw RequestRefused("the count must be 1 or more");
    scheduler::HolidaySet holidays;
    store::Table holidayTable(data::Holidays::schema());
    // A data file without holidays has none to except.
    if (holidayTable.open(store::kReadOnlyDenyNone) == store::kNoError)
        holidays = scheduler::readHolidaySet(holidayTable);
    const int perTask = static_cast<int>(std::min<std::int64_t>(count, 100000));
    std::vector<std::pair<scheduler::Occurrence, ForecastRow>> runs;
    eachTask([&](const Schedule& entry) {
        // Any of the first `count` runs is among the first `count` of its task.
        for (const scheduler::Occurrence& run : scheduler::forecast(entry, from, perTask, holidays)) {
            if (run.late) continue;
            runs.push_back({run, {entry.ID, scheduler::isoMoment(run.due), entry.DESCRIPTION.str()}});
        }
    });
    std::stable_sort(runs.begin(), runs.end(),
                     [](const auto& a, const auto& b) { return a.first.due < b.first.due; });
    std::vector<ForecastRow> rows;
    for (std::size_t i = 0; i < runs.size() && static_cast<std::int64_t>(i) < count; ++i)
        rows.push_back(runs[i].second);
    return rows;
}

data::Schedule findTask(std::int32_t id) {
    std::optional<Schedule> found;
    eachTask([&](const Schedule& entry) {
        if (entry.ID == id) found = entry;
    });
    if (!found) throw RequestRefused("there is no task " + std::to_string(id));
    return *found;
}

}  // namespace plorix::app
