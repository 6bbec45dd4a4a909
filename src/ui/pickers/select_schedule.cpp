#include "ui/pickers/select_schedule.h"

#include <QVBoxLayout>

#include "data/tables/schedule.h"
#include "ui/kit/browse_window.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

BrowseSpec selectSpec() {
    return {.schema = &data::Schedule::schema(),
            .title = "Select Task",
            .section = "SelectSchedule",
            .tabs = {{"Category/Date", data::keys::Schedule::KEYCATEGORYDATE}},
            .columns = {{"SCH:DATE", "", "Date", 12},
                        {"SCH:TIME", "@t3", "Time", 8},
                        {"SCH:DESCRIPTION", "", "Description", 34}},
            .emptyText = "There are no tasks to choose from."};
}

}  // namespace

SelectSchedule::SelectSchedule(Prompter& prompter, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Task"));
    auto* layout = new QVBoxLayout(this);
    browse_ = new BrowseWindow(selectSpec(), prompter, this);
    browse_->setWindowFlags(Qt::Widget);
    browse_->setAttribute(Qt::WA_DeleteOnClose, false);
    layout->addWidget(browse_);
    browse_->setActions({.edit = [this](const void*) {
        choose();
        return false;
    }});
    browse_->setButtons({{"&Select", "Use the highlighted task", [this] { choose(); },
                          [this] { return browse_->hasSelection(); }}});
    browse_->start();
    resize(browse_->sizeHint().expandedTo(QSize(520, 360)));
    rememberPosition(*this, "SelectSchedule");
}

void SelectSchedule::choose() {
    const auto* task = static_cast<const data::Schedule*>(browse_->selected());
    if (!task) return;
    chosen_ = task->ID;
    accept();
}

std::optional<std::int32_t> selectSchedule(Prompter& prompter, QWidget* parent) {
    SelectSchedule picker(prompter, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.chosen();
}

}  // namespace plorix::ui
