#include "ical/ics_files.h"

#include <fstream>
#include <sstream>

#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/tables/holidays.h"
#include "data/tables/schedule.h"
#include "data/tables/todo.h"
#include "ical/calendar_plan.h"
#include "ical/calendar_writer.h"
#include "scheduler/stored_holidays.h"
#include "store/transaction.h"

namespace plorix::ical {
namespace {

IcsResult failure(IcsStatus status, std::string error) {
    IcsResult result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

std::string storeText(const store::Table& table) { return table.error().describe(); }

// A table opened for reading that releases itself; absent when the data
// file does not hold it.
struct ReadTable {
    explicit ReadTable(const store::TableSchema& schema) : table(schema) {
        code = table.open(store::kReadOnlyDenyNone);
    }
    ~ReadTable() {
        if (code == store::kNoError) table.close();
    }
    store::Table table;
    int code;
};

// Acquired for writing through the open routine, released on every path.
struct WriteTable {
    WriteTable(const store::TableSchema& schema, Prompter& prompter) : table(schema) {
        data::acquireTable(table, prompter);
    }
    ~WriteTable() { data::releaseTable(table); }
    store::Table table;
};

}  // namespace

IcsResult exportIcs(const std::string& file, Prompter&, Moment now) {
    std::vector<data::Schedule> entries;
    scheduler::HolidaySet holidays;
    {
        ReadTable holidayTable(data::Holidays::schema());
        if (holidayTable.code == store::kNoError) holidays = scheduler::readHolidaySet(holidayTable.table);
        ReadTable schedule(data::Schedule::schema());
        if (schedule.code != store::kNoError && schedule.code != store::kFileNotFound)
            return failure(IcsStatus::Failed, "Cannot open Schedule: " + storeText(schedule.table));
        if (schedule.code == store::kNoError) {
            schedule.table.setStart(data::keys::Schedule::KEYID);
            int code = store::kNoError;
            while ((code = schedule.table.next()) == store::kNoError)
                entries.push_back(schedule.table.rec<data::Schedule>());
            if (code != store::kRecordNotAvailable)
                return failure(IcsStatus::Failed, "Cannot read Schedule: " + storeText(schedule.table));
        }
    }
    ExportOutcome outcome;
    const std::string text = calendarOf(entries, holidays, now, outcome);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) return failure(IcsStatus::Failed, "Cannot write " + file);
    IcsResult result;
    result.written = outcome.events;
    for (const auto& name : outcome.asRuns)
        result.notes.push_back(name + "; written as its runs of the coming year");
    for (const auto& name : outcome.notWritten) result.notes.push_back(name + "; not written");
    return result;
}

IcsResult importIcs(const std::string& file, Prompter& prompter, Moment now) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return failure(IcsStatus::Refused, "Cannot open " + file);
    std::ostringstream text;
    text << in.rdbuf();
    const auto plan = planCalendar(text.str(), now);
    if (!plan) return failure(IcsStatus::Refused, file + " holds no calendar; nothing was imported");

    WriteTable schedule(data::Schedule::schema(), prompter);
    WriteTable todo(data::Todo::schema(), prompter);
    store::Transaction transaction(schedule.table);
    if (!transaction.ok())
        return failure(IcsStatus::Failed, "Cannot import: " + transaction.error().describe());
    for (const data::Schedule& task : plan->tasks) {
        const auto id = data::addNumbered(schedule.table, prompter, [&](void* buffer) {
            const std::int32_t keep = static_cast<data::Schedule*>(buffer)->ID;
            *static_cast<data::Schedule*>(buffer) = task;
            static_cast<data::Schedule*>(buffer)->ID = keep;
        });
        if (id == 0)
            return failure(IcsStatus::Failed, "Cannot ADD to Schedule: " + storeText(schedule.table));
    }
    for (const data::Todo& item : plan->todos) {
        todo.table.rec<data::Todo>() = item;
        if (todo.table.add() != store::kNoError)
            return failure(IcsStatus::Failed, "Cannot ADD to Todo: " + storeText(todo.table));
    }
    if (transaction.commit() != store::kNoError)
        return failure(IcsStatus::Failed, "Cannot import: " + transaction.error().describe());
    IcsResult result;
    result.written = static_cast<int>(plan->tasks.size() + plan->todos.size());
    for (const ItemFate& fate : plan->fates) result.notes.push_back(describe(fate));
    return result;
}

}  // namespace plorix::ical
