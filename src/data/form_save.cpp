#include "data/form_save.h"

#include <string>

#include "data/open_routine.h"
#include "data/warnings.h"
#include "runtime/fixed_text.h"

namespace plorix::data {

namespace {

// Whether a record other than the table's current one holds the buffer's
// values of `key`: looked up through a table of its own, so that the
// buffer and the current record stay as they are.
bool heldByAnother(store::Table& table, Prompter& prompter, int key, FormAction action) {
    store::Table probe(table.schema());
    probe.setName(table.name());
    openTable(probe, prompter);
    store::copyRecord(table.schema(), table.buffer(), probe.buffer());
    if (probe.get(key) != store::kNoError) return false;
    return action == FormAction::Adding || probe.position() != table.position();
}

std::string shownName(const store::Table& table, const FormRules& rules, const std::string& keyName) {
    for (const NamedKey& k : rules.uniqueKeys) {
        if (equalNoCase(keyName, table.schema().keys[static_cast<std::size_t>(k.key)].name))
            return std::string(k.shownAs);
    }
    return keyName;
}

}  // namespace

std::string formCaption(FormAction action, const FormRules& rules) {
    return (action == FormAction::Adding ? "Adding a " : "Changing a ") + std::string(rules.record);
}

const store::FieldDesc* missingField(const store::Table& table, const FormRules& rules) {
    for (std::string_view name : rules.required) {
        const int index = table.schema().fieldIndex(name);
        if (index < 0) continue;
        const store::FieldDesc& field = table.schema().fields[static_cast<std::size_t>(index)];
        if (store::fieldIsBlank(field, table.buffer())) return &field;
    }
    return nullptr;
}

int saveRecord(store::Table& table, Prompter& prompter, FormAction action, const void* original,
               const FormRules& rules, bool canRecall) {
    if (missingField(table, rules)) return kIncomplete;
    for (const NamedKey& k : rules.uniqueKeys) {
        const int key = k.key;
        if (key >= 0 && heldByAnother(table, prompter, key, action)) {
            standardWarning(prompter, Warning::DuplicateKey, k.shownAs);
            return kNotWritten;
        }
    }
    if (action == FormAction::Changing) return changeRecord(table, prompter, original, canRecall);
    if (table.add() == store::kNoError) return kWritten;
    // Another station may have taken the values since the check.
    if (table.errorCode() == store::kDuplicateKey) {
        standardWarning(prompter, Warning::DuplicateKey, shownName(table, rules, table.error().keyName));
    } else {
        setSavedError(table.error());
        standardWarning(prompter, Warning::RecordInsertError);
    }
    clearSavedError();
    return kNotWritten;
}

}  // namespace plorix::data
