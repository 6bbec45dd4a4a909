// tables, list, add, set, delete: records of the data file.

#include <iostream>

#include <limits>

#include "cli.h"
#include "data/cascade.h"
#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "io/csv_line.h"
#include "io/json_line.h"
#include "store/transaction.h"

namespace plorix::cli {

namespace {

io::CsvForm csvForm(store::FieldKind kind) {
    if (store::isText(kind)) return io::CsvForm::Text;
    if (kind == store::FieldKind::Date || kind == store::FieldKind::Time) return io::CsvForm::Formatted;
    return io::CsvForm::Number;
}

void needArgs(const Args& args, std::size_t n, std::string_view usage) {
    if (args.size() < n) throw UsageError(std::string("usage: ") + std::string(usage));
}

// Checks every assignment on a scratch copy of the buffer, so that a bad
// value is refused before anything is written.
void validate(const store::TableSchema& schema, const std::vector<Assignment>& assignments) {
    store::Table scratch(schema);
    applyAssignments(scratch, assignments);
}

// Runs a delete or change routine with its warnings held back: a refusal
// becomes the command's one-line error, carrying the warning's text.
void throughRoutine(const std::function<int(Prompter&)>& routine) {
    RecordingPrompter warnings;
    if (routine(warnings) == 0) return;
    if (warnings.shown().empty()) throw UsageError("the record was not written");
    const auto& shown = warnings.shown().back();
    throw UsageError(shown.title + ": " + shown.text);
}

const Assignment* assigned(const std::vector<Assignment>& list, int field) {
    for (const auto& a : list)
        if (a.field == field) return &a;
    return nullptr;
}

}  // namespace

int cmdTables(const Args& arguments, Prompter& prompter) {
    Args args = arguments;
    const bool json = takeFlag(args, "--json");
    if (!args.empty()) throw UsageError("usage: tables [--json]");
    // Every use is held to the end so the file's connection (and its key
    // derivation) is made once, not once per table.
    std::vector<data::TableUse> uses;
    for (const auto* schema : dataFileSchemas()) {
        const auto& use = uses.emplace_back(data::processTable(*schema), prompter);
        const auto count = use->records();
        if (count < 0) storeFailure(use.table(), "counting " + schema->label);
        if (json) {
            io::JsonLineWriter line;
            line.text("label", schema->label);
            line.text("stored", schema->storedName);
            line.number("version", schema->version);
            line.number("records", count);
            std::cout << line.line() << '\n';
            continue;
        }
        std::cout << schema->label << '\t' << schema->storedName << '\t' << schema->version << '\t' << count
                  << '\n';
    }
    return 0;
}

namespace {

// One record as a JSON object named by the table's field names.
std::string jsonRecord(const store::Table& t, bool positions) {
    io::JsonLineWriter line;
    if (positions) line.number("#", t.position());
    for (const auto& f : t.schema().fields) {
        if (store::isNumeric(f.kind))
            line.number(f.name, store::fieldInt(f, t.buffer()));
        else
            line.text(f.name, store::fieldToText(f, t.buffer()));
    }
    return line.line();
}

}  // namespace

int cmdList(const Args& arguments, Prompter& prompter) {
    Args args = arguments;
    const bool json = takeFlag(args, "--json");
    needArgs(args, 1, "list TABLE [--key KEY] [--positions] [--json]");
    const auto& schema = tableArgument(args[0]);
    int key = -1;
    bool positions = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--key" && i + 1 < args.size()) {
            key = schema.keyIndex(args[++i]);
            if (key < 0) throw UsageError("table " + schema.label + " has no key '" + args[i] + "'");
        } else if (args[i] == "--positions") {
            positions = true;
        } else {
            throw UsageError("unexpected argument '" + args[i] + "'");
        }
    }
    data::TableUse use(data::processTable(schema), prompter);
    store::Table& t = use.table();

    io::CsvLineWriter line;
    if (positions) line.append("#", io::CsvForm::Text);
    for (const auto& f : schema.fields) line.append(f.name, io::CsvForm::Text);
    if (!json) std::cout << line.line() << '\n';

    t.setStart(key);
    while (t.next() == 0) {
        if (json) {
            std::cout << jsonRecord(t, positions) << '\n';
            continue;
        }
        line.clear();
        if (positions) line.append("#" + std::to_string(t.position()), io::CsvForm::Text);
        for (const auto& f : schema.fields) line.append(store::fieldToText(f, t.buffer()), csvForm(f.kind));
        std::cout << line.line() << '\n';
    }
    if (t.errorCode() != store::kRecordNotAvailable) storeFailure(t, "reading " + schema.label);
    return 0;
}

int cmdAdd(const Args& args, Prompter& prompter) {
    needArgs(args, 1, "add TABLE FIELD=VALUE ...");
    const auto& schema = tableArgument(args[0]);
    const auto assignments = parseAssignments(schema, args, 1);
    validate(schema, assignments);

    data::TableUse use(data::processTable(schema), prompter);
    store::Table& t = use.table();
    const data::NumberingRule* rule = data::numberingRule(schema);
    const int numberField = rule ? schema.fieldIndex(rule->number) : -1;

    if (rule && !assigned(assignments, numberField)) {
        std::int32_t owner = 0;
        if (!rule->owner.empty()) {
            const Assignment* a = assigned(assignments, schema.fieldIndex(rule->owner));
            if (!a) throw UsageError(std::string(rule->owner) + " must be given");
            owner = static_cast<std::int32_t>(
                wholeNumber(rule->owner, a->value, 1, std::numeric_limits<std::int32_t>::max()));
        }
        store::Transaction transaction(t);
        if (!transaction.ok()) storeFailure(t, "starting the transaction");
        const std::int32_t number = data::addNumbered(
            t, prompter, [&](void*) { applyAssignments(t, assignments); }, owner);
        if (number == 0) {
            const store::ErrorState failure = t.error();
            transaction.rollback();
            throw UsageError("adding to " + schema.label + " failed: " + failure.describe());
        }
        if (transaction.commit() != store::kNoError) storeFailure(t, "adding to " + schema.label);
        std::cout << number << '\n';
        return 0;
    }
    store::clearRecord(schema, t.buffer());
    if (rule && rule->defaults) rule->defaults(t.buffer(), 0);
    applyAssignments(t, assignments);
    if (t.add() != 0) storeFailure(t, "adding to " + schema.label);
    if (rule) std::cout << store::fieldToText(schema.fields[numberField], t.buffer()) << '\n';
    return 0;
}

int cmdSet(const Args& args, Prompter& prompter) {
    needArgs(args, 3, "set TABLE ID FIELD=VALUE ...");
    const auto& schema = tableArgument(args[0]);
    const auto assignments = parseAssignments(schema, args, 2);
    validate(schema, assignments);
    data::TableUse use(data::processTable(schema), prompter);
    locateRecord(use.table(), args[1]);
    const auto original = data::keepOriginal(use.table());
    applyAssignments(use.table(), assignments);
    throughRoutine([&](Prompter& p) { return data::changeRecord(use.table(), p, original.get()); });
    return 0;
}

int cmdDelete(const Args& args, Prompter& prompter) {
    needArgs(args, 2, "delete TABLE ID");
    if (args.size() > 2) throw UsageError("usage: delete TABLE ID");
    const auto& schema = tableArgument(args[0]);
    data::TableUse use(data::processTable(schema), prompter);
    locateRecord(use.table(), args[1]);
    throughRoutine([&](Prompter& p) { return data::deleteRecord(use.table(), p); });
    return 0;
}

int cmdCheck(const Args& args, Prompter& prompter) {
    if (!args.empty()) throw UsageError("usage: check");
    int bad = 0;
    std::vector<data::TableUse> uses;
    for (const auto* schema : dataFileSchemas()) {
        const auto& use = uses.emplace_back(data::processTable(*schema), prompter);
        std::vector<std::string> problems;
        // A check that cannot even run is a problem of the file, not a refusal.
        if (use->checkIntegrity(problems) != 0)
            problems.push_back("cannot be checked: " + use->error().describe());
        if (problems.empty()) {
            std::cout << schema->label << "\tok\n";
            continue;
        }
        ++bad;
        for (const auto& p : problems) std::cout << schema->label << '\t' << p << '\n';
    }
    return bad == 0 ? 0 : 1;
}

}  // namespace plorix::cli
