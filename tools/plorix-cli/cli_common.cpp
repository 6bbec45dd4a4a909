#include <charconv>
#include <limits>
#include <iostream>

#include "cli.h"
#include "data/field_choices.h"
#include "data/numbering.h"
#include "data/tables.h"
#include "runtime/fixed_text.h"

namespace plorix::cli {

int CliPrompter::message(std::string_view title, std::string_view text, Icon, ButtonSet, int defaultButton) {
    std::cerr << title << ": " << text << '\n';
    return defaultButton == kNoButton ? kOk : defaultButton;
}

std::unique_ptr<Progress> CliPrompter::progress(std::string_view, std::string_view) {
    return makeSilentProgress();
}

DataUse reads(const Args&) { return DataUse::Reads; }
DataUse writes(const Args&) { return DataUse::Writes; }
DataUse noData(const Args&) { return DataUse::None; }

bool takeFlag(Args& args, std::string_view flag) {
    const auto before = args.size();
    std::erase(args, std::string(flag));
    return args.size() != before;
}

std::int64_t wholeNumber(std::string_view what, std::string_view text, std::int64_t least,
                         std::int64_t most) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least ||
        value > most) {
        throw UsageError("value '" + std::string(text) + "' for " + std::string(what) +
                         " is not a whole number from " + std::to_string(least) + " to " +
                         std::to_string(most));
    }
    return value;
}

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"tables", "tables [--json]                 each table: label, stored name, version, records",
         cmdTables, writes},
        {"list", "list TABLE [--key KEY] [--positions] [--json]   the records as comma-separated lines",
         cmdList, reads},
        {"add", "add TABLE FIELD=VALUE ...       add a record, print its identifier", cmdAdd, writes},
        {"set", "set TABLE ID FIELD=VALUE ...    change a record", cmdSet, writes},
        {"delete", "delete TABLE ID                 delete a record", cmdDelete, writes},
        {"settings", "settings [KEY [VALUE]]          show or change settings (flags: 1 is on)", cmdSettings,
         settingsUse},
        {"fields", "fields TABLE                    each field: name, type, width, keys, allowed values",
         cmdFields, noData},
        {"log", "log                             print the event log", cmdLog, reads},
        {"check", "check                           check every table's integrity", cmdCheck, reads},
        {"keycodes", "keycodes [FILE]                 the key names of keystroke texts (KEYCODES.TXT)",
         cmdKeycodes, noData, 0},
        {"run-script", "run-script FILE.pxs [--dry-run] run a script file, printing each item", cmdRunScript,
         writes, 0},
        {"forecast",
         "forecast [--from YYYY-MM-DD[THH:MM[:SS]]] [--count N] [--id ID] [--json]   the coming runs of the "
         "tasks",
         cmdForecast, reads},
        {"simulate",
         "simulate --from MOMENT --to MOMENT [--answer yes|no] [--in-place] [--json]   what the scheduler "
         "would do",
         cmdSimulate, reads},
        {"export",
         "export TABLE FILE.csv|- [--fields F1,F2,...] [--no-header]   Schedule, Todo or Contact to a "
         "comma-separated file",
         cmdExport, reads, 1},
        {"import",
         "import TABLE FILE.csv|- [--by-name | --map COLUMN=FIELD[@PICTURE],...] [--no-names]   records from "
         "a "
         "comma-separated file",
         cmdImport, writes, 1},
        {"sync",
         "sync send FILE.SYN | sync receive FILE.SYN   exchange tasks and to-do items with another "
         "installation",
         cmdSync,
         [](const Args& a) { return !a.empty() && a[0] == "send" ? DataUse::Reads : DataUse::Writes; }, 1},
        {"export-ics", "export-ics FILE.ics             the active tasks as calendar events", cmdExportIcs,
         reads, 0},
        {"import-ics", "import-ics FILE.ics             calendar events as tasks, to-dos as to-do items",
         cmdImportIcs, writes, 0},
        {"migrate",
         "migrate --to URL | --from URL   the data file's tables to an empty PostgreSQL schema, or from it "
         "into a new data file",
         cmdMigrate, writes, -1, false},
    };
    return list;
}

std::vector<const store::TableSchema*> dataFileSchemas() {
    std::vector<const store::TableSchema*> out;
    for (const auto* schema : data::allSchemas()) {
        if (equalNoCase(store::splitStoredName(schema->storedName, *schema).file, "Px97.TPS"))
            out.push_back(schema);
    }
    return out;
}

const store::TableSchema& tableArgument(std::string_view label) {
    for (const auto* schema : dataFileSchemas()) {
        if (equalNoCase(schema->label, label)) return *schema;
    }
    std::string known;
    for (const auto* schema : dataFileSchemas()) known += (known.empty() ? "" : ", ") + schema->label;
    throw UsageError("unknown table '" + std::string(label) + "' (tables: " + known + ")");
}

int fieldArgument(const store::TableSchema& schema, std::string_view name) {
    const int index = schema.fieldIndex(name);
    // Only full names ("SCH:ID") are accepted, so a field of another table is
    // never taken for one of this table by its short name.
    if (index < 0 || !equalNoCase(schema.fields[index].name, name))
        throw UsageError("table " + schema.label + " has no field '" + std::string(name) + "'");
    return index;
}

std::vector<Assignment> parseAssignments(const store::TableSchema& schema, const Args& args,
                                         std::size_t first) {
    std::vector<Assignment> out;
    for (std::size_t i = first; i < args.size(); ++i) {
        const auto eq = args[i].find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageError("expected FIELD=VALUE, got '" + args[i] + "'");
        out.push_back(
            {fieldArgument(schema, std::string_view(args[i]).substr(0, eq)), args[i].substr(eq + 1)});
    }
    return out;
}

namespace {

std::string joined(std::span<const std::string_view> texts) {
    std::string out;
    for (std::string_view t : texts) out += (out.empty() ? "" : ", ") + std::string(t);
    return out;
}

// An option field takes the texts its window offers, in their declared
// spelling; a limited number its range.
void checkDeclared(store::Table& table, const Assignment& a) {
    const auto& schema = table.schema();
    const auto& field = schema.fields[a.field];
    if (const data::FieldRange* range = data::rangeFor(field.name)) {
        const std::int64_t value = store::fieldInt(field, table.buffer());
        if (value < range->least || value > range->most) {
            throw UsageError("value '" + a.value + "' for " + field.name + " is not from " +
                             std::to_string(range->least) + " to " + std::to_string(range->most));
        }
        return;
    }
    const int actionField = schema.fieldIndex("SCR:ACTION");
    const std::string action =
        actionField >= 0 ? store::fieldToText(schema.fields[actionField], table.buffer()) : std::string();
    const data::FieldChoices* choices = data::choicesFor(field.name, action);
    if (!choices) return;
    if (choices->blankAllowed && clip(a.value).empty()) return;
    const std::string_view canonical = data::canonicalChoice(*choices, a.value);
    if (canonical.empty()) {
        throw UsageError("value '" + a.value + "' for " + field.name + " is not one of: " +
                         joined(choices->texts) + (choices->blankAllowed ? " (or blank)" : ""));
    }
    store::fieldFromText(field, table.buffer(), canonical);
}

}  // namespace

void applyAssignments(store::Table& table, const std::vector<Assignment>& assignments) {
    for (const auto& a : assignments) {
        const auto& field = table.schema().fields[a.field];
        if (!store::fieldFromText(field, table.buffer(), a.value)) {
            std::string why = store::isText(field.kind)
                                  ? "is longer than its " + std::to_string(field.capacity) + " characters"
                              : field.kind == store::FieldKind::Date ? "is not a date (YYYY-MM-DD)"
                              : field.kind == store::FieldKind::Time ? "is not a time (HH:MM or HH:MM:SS)"
                                                                     : "is not a number that fits the field";
            throw UsageError("value '" + a.value + "' for " + field.name + " " + why);
        }
        if (store::isNumeric(field.kind)) {
            const std::string why = data::identifierProblem(field, store::fieldInt(field, table.buffer()));
            if (!why.empty()) throw UsageError("value '" + a.value + "' for " + field.name + " " + why);
        }
    }
    // Checked once every value is in, since what some fields may hold
    // depends on the item's action.
    for (const auto& a : assignments) checkDeclared(table, a);
}

void locateRecord(store::Table& table, std::string_view id) {
    const auto& schema = table.schema();
    if (!id.empty() && id.front() == '#') {
        const std::int64_t pos =
            wholeNumber("the record position", id.substr(1), 1, std::numeric_limits<std::int64_t>::max());
        if (table.reget(pos) != 0) throw UsageError("no " + schema.label + " record at " + std::string(id));
        return;
    }
    const store::KeyDesc* key = schema.primaryKey();
    if (!key) {
        throw UsageError("table " + schema.label +
                         " has no primary key: name the record by its position (#N, see list --positions)");
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto comma = id.find(',', start);
        parts.emplace_back(id.substr(start, comma == std::string_view::npos ? id.npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (parts.size() != key->components.size()) {
        throw UsageError("key " + key->name + " has " + std::to_string(key->components.size()) +
                         " component(s); got '" + std::string(id) + "'");
    }
    store::clearRecord(schema, table.buffer());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto& field = schema.fields[key->components[i]];
        if (!store::fieldFromText(field, table.buffer(), parts[i]))
            throw UsageError("'" + parts[i] + "' is not a valid " + field.name);
    }
    const int keyIndex = static_cast<int>(key - schema.keys.data());
    if (table.get(keyIndex) != 0)
        throw UsageError("no " + schema.label + " record with " + key->name + " " + std::string(id));
}

void storeFailure(const store::Table& table, std::string_view what) {
    const auto& e = table.error();
    if (e.code == store::kDuplicateKey) {
        throw UsageError(std::string(what) + " refused: duplicate key " +
                         (e.keyName.empty() ? std::string("value") : e.keyName));
    }
    throw UsageError(std::string(what) + " failed: " + e.describe());
}

}  // namespace plorix::cli
