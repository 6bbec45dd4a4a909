#include "script/script_items.h"

#include <limits>
#include <vector>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/scripting.h"
#include "data/warnings.h"
#include "store/transaction.h"
#include "script/script_file.h"

namespace plorix::script {

namespace {

using data::Scripting;
using store::Table;

constexpr std::string_view kProgressTitle = "Processing Records";

// The items of a task in sequence order; stops at the first read error,
// which is left in `error`.
std::vector<Scripting> readScript(Table& table, std::int32_t taskId, store::ErrorState& error) {
    std::vector<Scripting> items;
    Scripting& rec = table.rec<Scripting>();
    rec.ID = taskId;
    rec.SEQUENCE = std::numeric_limits<std::int32_t>::min();
    table.setAt(data::keys::Scripting::KEYID);
    int code;
    while ((code = table.next()) == store::kNoError && rec.ID == taskId) items.push_back(rec);
    error =
        code == store::kNoError || code == store::kRecordNotAvailable ? store::ErrorState{} : table.error();
    return items;
}

int getItem(Table& table, std::int32_t taskId, std::int32_t sequence) {
    Scripting& rec = table.rec<Scripting>();
    rec.ID = taskId;
    rec.SEQUENCE = sequence;
    return table.get(data::keys::Scripting::KEYID);
}

int percentOf(std::size_t done, std::size_t total) {
    return total == 0 ? 100 : static_cast<int>(done * 100 / total);
}

// "Record swap error" for a failed step of a move or a renumbering.
struct SwapError {
    store::ErrorState error;
    std::int32_t taskId = 0;
    std::int32_t sequence = 0;
    std::string_view section;
};

void showSwapError(Prompter& prompter, const SwapError& e) {
    const std::string text = "Record swap error: \r" + e.error.describe() +
                             "\rScripting, SCR:KeyID\rKey Field SCR:ID = " + std::to_string(e.taskId) +
                             "\rKey Field SCR:Sequence = " + std::to_string(e.sequence) +
                             "\rSection = " + std::string(e.section);
    prompter.message("Error!", text, Icon::Warning, kOk, kOk);
}

// Gives item `from` the number `to` (reading it by its number first).
bool renumber(Table& table, std::int32_t taskId, std::int32_t from, std::int32_t to,
              std::string_view getSection, std::string_view putSection, SwapError& failure) {
    if (getItem(table, taskId, from) != store::kNoError) {
        failure = {table.error(), taskId, from, getSection};
        return false;
    }
    table.rec<Scripting>().SEQUENCE = to;
    if (table.put() != store::kNoError) {
        failure = {table.error(), taskId, to, putSection};
        return false;
    }
    return true;
}

// Runs a series of renumberings as one transaction: either every item gets
// its new number or none does. The message is shown once the lock is given up.
template <typename Steps>
bool renumberAtomically(Table& table, std::int32_t taskId, Prompter& prompter, Steps steps) {
    SwapError failure{{}, taskId, 0, "Test Range"};
    store::Transaction transaction(table);
    if (!transaction.ok()) {
        failure.error = transaction.error();
        showSwapError(prompter, failure);
        return false;
    }
    if (steps(failure) && transaction.commit() == store::kNoError) return true;
    if (failure.error.ok()) failure.error = table.error();
    transaction.rollback();
    showSwapError(prompter, failure);
    return false;
}

// The task's items before a renumbering; false (told as a swap error) when
// they cannot all be read.
bool readForRenumbering(Table& table, std::int32_t taskId, std::int32_t sequence, Prompter& prompter,
                        std::vector<Scripting>& items) {
    store::ErrorState readError;
    items = readScript(table, taskId, readError);
    if (readError.ok()) return true;
    showSwapError(prompter, {readError, taskId, sequence, "Test Range"});
    return false;
}

}  // namespace

bool moveScriptItem(std::int32_t taskId, std::int32_t sequence, MoveDirection direction, Prompter& prompter) {
    data::TableUse use(data::processTable<Scripting>(), prompter);
    Table& table = use.table();
    std::vector<Scripting> items;
    if (!readForRenumbering(table, taskId, sequence, prompter, items)) return false;
    std::size_t at = items.size();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].SEQUENCE == sequence) at = i;
    if (at == items.size()) return false;

    // The items the move passes, in the order it meets them.
    const bool up = direction == MoveDirection::Up || direction == MoveDirection::Top;
    const bool oneStep = direction == MoveDirection::Up || direction == MoveDirection::Down;
    std::vector<std::int32_t> passed;
    if (up) {
        for (std::size_t i = at; i-- > 0;) passed.push_back(items[i].SEQUENCE);
    } else {
        for (std::size_t i = at + 1; i < items.size(); ++i) passed.push_back(items[i].SEQUENCE);
    }
    if (passed.empty()) return false;
    if (oneStep) passed.erase(passed.begin() + 1, passed.end());

    // The moving item parks on a number no item uses while the others shift.
    const std::int32_t parking = items.back().SEQUENCE + 1;
    return renumberAtomically(table, taskId, prompter, [&](SwapError& failure) {
        if (!renumber(table, taskId, sequence, parking, "Get Orig", "Put Swap Out", failure)) return false;
        std::int32_t freed = sequence;
        for (std::int32_t number : passed) {
            if (!renumber(table, taskId, number, freed, "Put Swap", "Put Swap", failure)) return false;
            freed = number;
        }
        return renumber(table, taskId, parking, freed, "Get Orig After", "Final Put", failure);
    });
}

bool deleteScriptItem(std::int32_t taskId, std::int32_t sequence, Prompter& prompter) {
    data::TableUse use(data::processTable<Scripting>(), prompter);
    Table& table = use.table();
    std::vector<Scripting> items;
    if (!readForRenumbering(table, taskId, sequence, prompter, items)) return false;
    return renumberAtomically(table, taskId, prompter, [&](SwapError& failure) {
        if (getItem(table, taskId, sequence) != store::kNoError || table.erase() != store::kNoError) {
            failure = {table.error(), taskId, sequence, "Test Range"};
            return false;
        }
        std::int32_t next = sequence;
        for (const Scripting& item : items) {
            if (item.SEQUENCE <= sequence) continue;
            if (!renumber(table, taskId, item.SEQUENCE, next, "Put Upd Seq", "Put Upd Seq", failure))
                return false;
            ++next;
        }
        return true;
    });
}

namespace {

// Walks the items of a task under a progress window; `step` tells whether
// an item counts. With `stoppable` the user's Cancel ends the walk. A read
// error ends the list early and is reported once the walk is done.
template <typename Step>
int walkScript(std::int32_t taskId, Prompter& prompter, std::string_view heading, bool stoppable, Step step) {
    data::TableUse use(data::processTable<Scripting>(), prompter);
    Table& table = use.table();
    store::ErrorState readError;
    const std::vector<Scripting> items = readScript(table, taskId, readError);
    auto progress = prompter.progress(kProgressTitle, heading);
    int counted = 0;
    for (std::size_t i = 0; i < items.size() && !(stoppable && progress->cancelled()); ++i) {
        progress->setPercent(percentOf(i, items.size()));
        if (step(table, items[i])) ++counted;
    }
    progress->finish();
    if (!readError.ok()) {
        data::setSavedError(readError);
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, table.name());
    }
    return counted;
}

}  // namespace

int deleteScript(std::int32_t taskId, Prompter& prompter) {
    // Deleting is part of deleting a task or of removing history: it runs
    // to the end, so the window offers no way to stop it half-way.
    return walkScript(taskId, prompter, "Deleting Script", false, [&](Table& table, const Scripting& item) {
        if (getItem(table, taskId, item.SEQUENCE) != store::kNoError) return false;  // gone meanwhile
        if (table.erase() == store::kNoError) return true;
        data::setSavedError(table.error());
        data::standardWarning(prompter, data::Warning::DeleteOperationError, table.name());
        return false;
    });
}

int copyScript(std::int32_t source, std::int32_t target, Prompter& prompter) {
    // Like deleting, copying belongs to a larger change (copying a task).
    return walkScript(source, prompter, "Copying Script", false, [&](Table& table, const Scripting& item) {
        Scripting& rec = table.rec<Scripting>();
        rec = item;
        rec.ID = target;
        const int code = table.add();
        if (code == store::kNoError) return true;
        if (code != store::kDuplicateKey)
            prompter.message("Error", "Error adding script record:\r" + table.error().describe(),
                             Icon::Warning, kOk, kOk);
        return false;
    });
}

int exportScript(std::int32_t taskId, const std::string& path, Prompter& prompter) {
    ScriptFileWriter writer;
    auto reportFailure = [&] {
        prompter.message("Error!", "Error exporting script item " + writer.error().describe(), Icon::Warning,
                         kOk, kOk);
    };
    if (writer.open(path) != 0) {
        reportFailure();
        return 0;
    }
    bool failed = false;
    const int written =
        walkScript(taskId, prompter, "Exporting Script Items", true, [&](Table&, const Scripting& item) {
            ScriptFileRecord record;
            if (failed || !recordFromItem(item, record)) return false;
            if (writer.append(record) == 0) return true;
            reportFailure();
            failed = true;
            return false;
        });
    // Half an export is none: the file stays as it was.
    if (failed) {
        writer.discard();
        return 0;
    }
    if (writer.close() != 0) {
        reportFailure();
        return 0;
    }
    return written;
}

int importScript(std::int32_t taskId, const std::string& path, Prompter& prompter) {
    data::TableUse use(data::processTable<Scripting>(), prompter);
    Table& table = use.table();
    ScriptFileReader reader;
    if (reader.open(path) != 0) {
        data::setSavedError(reader.error());
        data::standardWarning(prompter, data::Warning::ViewOpenError, path);
        return 0;
    }
    store::ErrorState readError;
    const std::vector<Scripting> existing = readScript(table, taskId, readError);
    std::int32_t next = existing.empty() ? 1 : existing.back().SEQUENCE + 1;

    auto progress = prompter.progress(kProgressTitle, "Importing Script Items");
    int added = 0;
    ScriptFileRecord record;
    for (;;) {
        progress->setPercent(reader.percent());
        if (progress->cancelled()) break;
        const ScriptFileReader::Read read = reader.next(record);
        if (read == ScriptFileReader::Read::End) break;
        if (read == ScriptFileReader::Read::Error) {
            // A damaged line ends the import; what came before it stays.
            data::setSavedError(reader.error());
            data::standardWarning(prompter, data::Warning::RecordRetrievalError, "Export");
            break;
        }
        Scripting item;
        item.ID = taskId;
        if (!itemFromRecord(record, item)) {
            prompter.message("Import Error", "Unrecognized script action: " + record.type, Icon::Warning, kOk,
                             kOk);
            continue;
        }
        // A number taken meanwhile by another station is not tried again.
        item.SEQUENCE = next++;
        table.rec<Scripting>() = item;
        if (table.add() == store::kNoError) {
            ++added;
            continue;
        }
        prompter.message("Error!", "Error adding script item " + table.error().describe(), Icon::Warning, kOk,
                         kOk);
    }
    progress->finish();
    return added;
}

}  // namespace plorix::script
