#include "settings/housekeeping.h"

#include <array>
#include <optional>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "data/open_routine.h"
#include "settings/window_positions.h"
#include "store/transaction.h"
#include "runtime/fixed_text.h"
#include "runtime/ini_file.h"

namespace plorix::settings {
namespace {

constexpr std::string_view kTitle = "Housekeeping";

struct ClearanceRule {
    Clearance what;
    std::string_view label;      // the table it empties
    std::string_view flagField;  // records with this flag set go; empty: all records
    std::string_view question;
    std::string_view done;
    std::string_view failTitle;
    std::string_view failSuffix;
};

constexpr std::array kClearances = {
    ClearanceRule{Clearance::DisabledTasks, "Schedule", "SCH:DISABLED", "Remove disabled tasks?",
                  "Disabled tasks removed.", "Cannot Remove History", " error while removing history"},
    ClearanceRule{Clearance::CompletedTasks, "Schedule", "SCH:COMPLETED", "Remove completed tasks?",
                  "Completed tasks removed.", "Cannot Remove History", " error while removing history"},
    ClearanceRule{Clearance::TodoList, "Todo", "", "Clear To Do list?", "To Do list removed.",
                  "Cannot Remove To Do List", " error while removing To Do entry"},
};

constexpr std::array<std::string_view, 18> kResetSections = {
    "BrowseSchedule",
    "Main",
    "About",
    "Calendar",
    "ViewToDo",
    "UpdateTodo",
    "Setup",
    "AddProgramWizard",
    "AddMessageWizard",
    "BrowseTodo",
    "UpdateSchedule",
    "UpdateScripting",
    "ViewScriptKeys",
    "AddScripting",
    "ShowMessage",
    "SystemInfo",
    "AddTaskWizard",
    "SpecialEventWizard",
};

constexpr std::array<std::string_view, 5> kPositionKeys = {"Maximize", "XPosit", "YPosit", "Width", "Height"};

bool agreed(Prompter& prompter, std::string_view question) {
    return prompter.message(kTitle, question, Icon::Question, kYes | kNo, kNo) == kYes;
}

const ClearanceRule& ruleOf(Clearance what) {
    for (const ClearanceRule& r : kClearances)
        if (r.what == what) return r;
    return kClearances.front();
}

// Walked in record order: every key leaves out the records whose components
// are all blank, and those must go too.
constexpr int kRecordOrder = -1;

// Deletes the matching records; false when a read or a deletion failed.
bool deleteMatching(store::Table& table, int flagIndex) {
    const store::TableSchema& schema = table.schema();
    table.setStart(kRecordOrder);
    int code;
    while ((code = table.next()) == store::kNoError) {
        if (flagIndex >= 0) {
            const auto& field = schema.fields[static_cast<std::size_t>(flagIndex)];
            if (*std::get<std::uint8_t*>(field.ref(table.buffer())) == 0) continue;
        }
        if (table.erase() != store::kNoError) return false;
    }
    // A read that fails is no end of the table: the run stops with its error.
    return code == store::kRecordNotAvailable;
}

}  // namespace

bool clearRecords(Clearance what, store::Table& table, Prompter& prompter) {
    const ClearanceRule& rule = ruleOf(what);
    if (table.schema().label != rule.label)
        throw std::logic_error("housekeeping of " + std::string(rule.label) + " given " +
                               table.schema().label);
    if (!agreed(prompter, rule.question)) return false;

    data::TableUse use(table, prompter);
    const int flagIndex = rule.flagField.empty() ? -1 : table.schema().fieldIndex(rule.flagField);
    std::optional<store::Transaction> batch(std::in_place, table);
    bool ok = batch->ok() && deleteMatching(table, flagIndex);
    store::ErrorState failure = batch->ok() ? table.error() : batch->error();
    // Ended before any message: no lock is held while the user reads it.
    if (ok && batch->commit() != store::kNoError) {
        ok = false;
        failure = batch->error();
    }
    batch.reset();
    if (!ok) {
        prompter.message(rule.failTitle, clip(failure.text) + std::string(rule.failSuffix), Icon::Warning,
                         kOk, kOk);
        return false;
    }
    prompter.message(kTitle, rule.done, Icon::Information, kOk, kOk);
    return true;
}

std::span<const std::string_view> resetWindowSections() { return kResetSections; }

bool resetWindowSettings(Prompter& prompter, std::string_view settingsIni) {
    if (!agreed(prompter, "Reset saved window settings?")) return false;
    for (std::string_view file : {settingsIni, settings::kPositionIni}) {
        IniFile ini{std::string(file)};
        for (std::string_view section : kResetSections)
            for (std::string_view key : kPositionKeys)
                if (ini.find(section, key)) ini.putString(section, key, "");
    }
    return true;
}

bool clearScriptQueue(Prompter& prompter, const std::function<void()>& emptyQueue) {
    if (!agreed(prompter, "Remove active scripts?")) return false;
    emptyQueue();
    prompter.message(kTitle, "All active scripts have been removed", Icon::Information, kOk, kOk);
    return true;
}

}  // namespace plorix::settings
