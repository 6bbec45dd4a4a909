#include "data/numbering.h"

#include <array>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "data/field_choices.h"
#include "data/tables.h"
#include "data/warnings.h"
#include "store/database.h"
#include "store/transaction.h"

namespace plorix::data {
namespace {

// Whether the table's file is inside a transaction (a batch) already.
bool inBatch(store::Table& table) {
    const store::Database* db = table.database();
    return db && db->transactionDepth() > 0;
}

constexpr std::array kRules = {
    NumberingRule{"Schedule", keys::Schedule::KEYID, "SCH:ID", {}, nullptr},
    NumberingRule{"Contact", keys::Contact::KEYCLIENTID, "C_:CLIENTID", {}, nullptr},
    NumberingRule{"Messages", keys::Messages::KEYEMAILID, "M_:EMAILID", {}, nullptr},
    NumberingRule{
        "Scripting", keys::Scripting::KEYID, "SCR:SEQUENCE", "SCR:ID",
        [](void* record, std::int32_t owner) { primeScriptItem(*static_cast<Scripting*>(record), owner); }},
};

constexpr int kAttempts = 3;

std::int32_t& intField(const store::TableSchema& schema, void* record, std::string_view name) {
    const int index = schema.fieldIndex(name);
    if (index < 0) throw std::logic_error("no field " + std::string(name));
    return *std::get<std::int32_t*>(schema.fields[static_cast<std::size_t>(index)].ref(record));
}

}  // namespace

struct NumberRunAccess {
    static bool counted(const NumberRun& run, store::Table& table) {
        return run.next_ > 0 && table.database() && table.database()->generation() == run.generation_;
    }
    static std::int64_t next(const NumberRun& run) { return run.next_; }
    static void added(NumberRun& run, store::Table& table, std::int64_t number) {
        run.next_ = number + 1;
        run.generation_ = table.database()->generation();
    }
};

namespace {

// The number after the last one in use; 0 when the last could not be read.
std::int64_t nextNumber(store::Table& table, const NumberingRule& rule, int key, std::int32_t owner) {
    const store::TableSchema& schema = table.schema();
    void* record = table.buffer();
    if (rule.owner.empty()) {
        table.setEnd(key);
    } else {
        intField(schema, record, rule.owner) = owner;
        intField(schema, record, rule.number) = std::numeric_limits<std::int32_t>::max();
        table.setAt(key);
    }
    const int code = table.previous();
    if (code == store::kRecordNotAvailable) return 1;
    if (code != store::kNoError) return 0;
    if (!rule.owner.empty() && intField(schema, record, rule.owner) != owner) return 1;
    return std::int64_t{intField(schema, record, rule.number)} + 1;
}

// The error the warning names when the identifiers are used up.
store::ErrorState exhausted(const NumberingRule& rule) {
    store::ErrorState error;
    error.code = store::kFileSystemError;
    error.text = store::errorText(error.code);
    error.driverCode = store::kDuplicateKey;
    error.driverText = std::string(rule.number) + " " + std::to_string(kLargestIdentifier) +
                       " is in use, the largest identifier there is";
    return error;
}

}  // namespace

std::string identifierProblem(const store::FieldDesc& field, std::int64_t value) {
    if (value >= 1 && value <= kLargestIdentifier) return {};
    for (const NumberingRule& rule : kRules) {
        if (field.name == rule.number || field.name == rule.owner)
            return "must be between 1 and " + std::to_string(kLargestIdentifier);
    }
    return {};
}

const NumberingRule* numberingRule(const store::TableSchema& schema) {
    for (const NumberingRule& rule : kRules)
        if (rule.label == schema.label) return &rule;
    return nullptr;
}

namespace {

std::int32_t addNumbered(store::Table& table, Prompter& prompter,
                         const std::function<void(void* record)>& prime, std::int32_t owner, NumberRun* run) {
    const store::TableSchema& schema = table.schema();
    const NumberingRule* rule = numberingRule(schema);
    if (!rule) throw std::logic_error(schema.label + " is not numbered");
    const int key = rule->key;
    void* record = table.buffer();

    for (;;) {
        store::ErrorState failure;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            // Reading the last number and adding the next one in one write
            // transaction keeps other stations from taking the same number
            // in between; a failed attempt still tries again as before.
            // Inside a batch the batch's transaction holds the write lock
            // already: a savepoint per record would only journal every page
            // the add touches once more (and encrypt it to do so).
            std::optional<store::Transaction> transaction;
            if (!inBatch(table)) {
                transaction.emplace(table);
                if (!transaction->ok()) {
                    failure = transaction->error();
                    continue;
                }
            }
            const bool counted = run && NumberRunAccess::counted(*run, table) && !transaction;
            const std::int64_t number =
                counted ? NumberRunAccess::next(*run) : nextNumber(table, *rule, key, owner);
            if (run) run->reset();  // set again only by a successful add
            if (number > kLargestIdentifier) {
                if (transaction) transaction->rollback();
                setSavedError(exhausted(*rule));
                standardWarning(prompter, Warning::AutoIncrementError);
                return 0;
            }
            if (number == 0) {
                // Told only once the transaction is over: no lock is held
                // while the message waits for the user.
                setSavedError(table.error());
                if (transaction) transaction->rollback();
                standardWarning(prompter, Warning::RecordRetrievalError, table.name());
                return 0;
            }
            store::clearRecord(schema, record);
            if (rule->defaults) rule->defaults(record, owner);
            if (prime) prime(record);
            if (!rule->owner.empty()) intField(schema, record, rule->owner) = owner;
            intField(schema, record, rule->number) = static_cast<std::int32_t>(number);
            if (table.add() == store::kNoError &&
                (!transaction || transaction->commit() == store::kNoError)) {
                if (run && !transaction) NumberRunAccess::added(*run, table, number);
                return static_cast<std::int32_t>(number);
            }
            failure = table.error();
            // In a batch nothing changes between attempts but a stale count
            // (a duplicate): any other failure would only come again, and on
            // a server it fails the batch's reads that follow.
            if (!transaction && failure.code != store::kDuplicateKey) break;
        }
        // The warning names the failed add, not the rollback after it.
        setSavedError(failure);
        if (standardWarning(prompter, Warning::AutoIncrementError) != kRetry) return 0;
    }
}

}  // namespace

std::int32_t addNumbered(store::Table& table, Prompter& prompter,
                         const std::function<void(void* record)>& prime, std::int32_t owner) {
    return addNumbered(table, prompter, prime, owner, static_cast<NumberRun*>(nullptr));
}

std::int32_t addNumberedInRun(store::Table& table, Prompter& prompter, NumberRun& run,
                              const std::function<void(void* record)>& prime) {
    const NumberingRule* rule = numberingRule(table.schema());
    if (rule && !rule->owner.empty()) throw std::logic_error(std::string(rule->label) + " numbers per owner");
    return addNumbered(table, prompter, prime, 0, &run);
}

void primeScriptItem(Scripting& item, std::int32_t taskId) {
    item.ACTION = action::kSendKeystrokes;
    item.WINDOWEXISTANCE = kWindowConditions[0];
    item.IFTIMEELAPSED = kElapsedConditions[0];
    item.TIMEELAPSED = 86400;
    item.ID = taskId;
}

}  // namespace plorix::data
