#include "settings/housekeeping.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "data/open_routine.h"
#include "data/window_positions.h"
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
                  "Disabled tasks removed.", "Cannot Remove History",
                  " error while removing history"},
    ClearanceRule{Clearance::CompletedTasks, "Schedule", "SCH:COMPLETED",
                  "Remove completed tasks?", "Completed tasks removed.", "Cannot Remove History",
                  " error while removing history"},
    ClearanceRule{Clearance::TodoList, "Todo", "", "Clear To Do list?", "To Do list removed.",
                  "Cannot Remove To Do List", " error while removing To Do entry"},
};

constexpr std::array<std::string_view, 18> kResetSections = {
    "BrowseSchedule", "Main",           "About",           "Calendar",
    "ViewToDo",       "UpdateTodo",     "Setup",           "AddProgramWizard",
    "AddMessageWizard", "BrowseTodo",   "UpdateSchedule",  "UpdateScripting",
    "ViewScriptKeys", "AddScripting",   "ShowMessage",     "SystemInfo",
    "AddTaskWizard",  "SpecialEventWizard",
};

constexpr std::array<std::string_view, 5> kPositionKeys = {"Maximize", "XPosit", "YPosit",
                                                           "Width", "Height"};

bool agreed(Prompter& prompter, std::string_view question) {
    return prompter.message(kTitle, question, Icon::Question, kYes | kNo, kNo) == kYes;
}

const ClearanceRule& ruleOf(Clearance what) {
    for (const ClearanceRule& r : kClearances)
        if (r.what == what) return r;
    return kClearances.front();
}

// Deletes the matching records in the order of one key. Returns the records
// visited, or -1 after a failed deletion (reported).
std::int64_t deletePass(data::Table& table, int key, int flagIndex, const ClearanceRule& rule,
                        Prompter& prompter) {
    const data::TableSchema& schema = table.schema();
    std::int64_t visited = 0;
    table.setStart(key);
    while (table.next() == data::kNoError) {
        ++visited;
        if (flagIndex >= 0) {
            const auto& field = schema.fields[static_cast<std::size_t>(flagIndex)];
            if (*std::get<std::uint8_t*>(field.ref(table.buffer())) == 0) continue;
        }
        if (table.erase() != data::kNoError) {
            prompter.message(rule.failTitle, clip(table.error().text) + std::string(rule.failSuffix),
                             Icon::Warning, kOk, kOk);
            return -1;
        }
    }
    return visited;
}

}  // namespace

bool clearRecords(Clearance what, data::Table& table, Prompter& prompter) {
    const ClearanceRule& rule = ruleOf(what);
    if (table.schema().label != rule.label)
        throw std::logic_error("housekeeping of " + std::string(rule.label) + " given " +
                               table.schema().label);
    if (!agreed(prompter, rule.question)) return false;

    data::TableUse use(table, prompter);
    const int flagIndex = rule.flagField.empty() ? -1 : table.schema().fieldIndex(rule.flagField);
    // Every key leaves out the records whose components are all blank; a
    // record outside one key is inside another, so walk keys until one of
    // them has shown every record.
    const std::int64_t total = table.records();
    table.stream();
    bool ok = true;
    for (int key = 0; key < static_cast<int>(table.schema().keys.size()); ++key) {
        const std::int64_t visited = deletePass(table, key, flagIndex, rule, prompter);
        if (visited < 0) {
            ok = false;
            break;
        }
        if (visited >= total) break;
    }
    table.flush();
    if (ok) prompter.message(kTitle, rule.done, Icon::Information, kOk, kOk);
    return ok;
}

std::span<const std::string_view> resetWindowSections() { return kResetSections; }

bool resetWindowSettings(Prompter& prompter, std::string_view settingsIni) {
    if (!agreed(prompter, "Reset saved window settings?")) return false;
    for (std::string_view file : {settingsIni, data::kPositionIni}) {
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
