#include "ui/pickers/select_schedule.h"

#include "data/tables/schedule.h"

namespace plorix::ui {

namespace {

BrowseSpec selectSpec() {
    return {.schema = &data::Schedule::schema(),
            .title = "Select Task",
            .section = "SelectSchedule",
            .tabs = {{"Category/Date", data::keys::Schedule::KEYCATEGORYDATE}},
            // Listed by category, then date: the category shows why.
            .columns = {{"SCH:CATEGORY", "", "Category", 12},
                        {"SCH:DATE", "", "Date", 12},
                        {"SCH:TIME", "@t3", "Time", 8},
                        {"SCH:DESCRIPTION", "", "Description", 34}},
            .emptyText = "There are no tasks to choose from."};
}

}  // namespace

SelectSchedule::SelectSchedule(Prompter& prompter, QWidget* parent)
    : RecordPicker(selectSpec(), prompter, "Use the highlighted task", parent) {}

void SelectSchedule::take(const void* record) { chosen_ = static_cast<const data::Schedule*>(record)->ID; }

std::optional<std::int32_t> selectSchedule(Prompter& prompter, QWidget* parent) {
    SelectSchedule picker(prompter, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.chosen();
}

}  // namespace plorix::ui
