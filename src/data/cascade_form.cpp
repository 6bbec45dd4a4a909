#include "data/cascade_form.h"

#include <string>

#include "data/open_routine.h"
#include "data/warnings.h"

namespace plorix::data {

namespace {

// Whether a record other than the table's current one holds the buffer's
// values of `key`: looked up through a table of its own, so that the
// buffer and the current record stay as they are.
bool heldByAnother(Table& table, Prompter& prompter, int key, FormAction action) {
    Table probe(table.schema());
    probe.setName(table.name());
    openTable(probe, prompter);
    copyRecord(table.schema(), table.buffer(), probe.buffer());
    if (probe.get(key) != kNoError) return false;
    return action == FormAction::Adding || probe.position() != table.position();
}

std::string shownName(const FormRules& rules, const std::string& keyName) {
    for (const NamedKey& k : rules.uniqueKeys) {
        if (keyName == k.key) return std::string(k.shownAs);
    }
    return keyName;
}

}  // namespace

std::string formCaption(FormAction action, const FormRules& rules) {
    return (action == FormAction::Adding ? "Adding a " : "Changing a ") + std::string(rules.record);
}

const FieldDesc* missingField(const Table& table, const FormRules& rules) {
    for (std::string_view name : rules.required) {
        const int index = table.schema().fieldIndex(name);
        if (index < 0) continue;
        const FieldDesc& field = table.schema().fields[static_cast<std::size_t>(index)];
        if (fieldIsBlank(field, table.buffer())) return &field;
    }
    return nullptr;
}

int saveRecord(Table& table, Prompter& prompter, FormAction action, const void* original,
               const FormRules& rules, bool canRecall) {
    if (missingField(table, rules)) return kIncomplete;
    for (const NamedKey& k : rules.uniqueKeys) {
        const int key = table.schema().keyIndex(k.key);
        if (key >= 0 && heldByAnother(table, prompter, key, action)) {
            standardWarning(prompter, 24, k.shownAs);
            return kNotWritten;
        }
    }
    if (action == FormAction::Changing) return changeRecord(table, prompter, original, canRecall);
    if (table.add() == kNoError) return kWritten;
    // Another station may have taken the values since the check.
    if (table.errorCode() == kDuplicateKey) {
        standardWarning(prompter, 24, shownName(rules, table.error().keyName));
    } else {
        setSavedError(table.error());
        standardWarning(prompter, 14);
    }
    clearSavedError();
    return kNotWritten;
}

}  // namespace plorix::data
