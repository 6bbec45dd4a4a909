#include "ui/browses/browse_schedule_category.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/kit/record_form.h"

namespace plorix::ui {

namespace {

using data::Schedule;

BrowseSpec categorySpec() {
    return {.schema = &Schedule::schema(),
            .title = "Browse Schedule by Category",
            .section = "BrowseScheduleByCategory",
            .tabs = {{"Category", data::keys::Schedule::KEYCATEGORY}},
            .columns = {{"SCH:DESCRIPTION", "", "Description", 30},
                        {"SCH:DATE", "", "Date", 12},
                        {"SCH:TIME", "@t3", "Time", 8},
                        {"SCH:TASKTYPE", "", "Task Type", 14},
                        {"SCH:SCHEDULETYPE", "", "Schedule Type", 14}},
            .emptyText = "This category has no tasks. Press Add to enter one."};
}

}  // namespace

BrowseScheduleCategory::BrowseScheduleCategory(const ScheduleServices& services,
                                               scheduler::BrowseRegistry* browses, const QString& category,
                                               QWidget* parent)
    : BrowseWindow(categorySpec(), services.prompter, parent),
      services_(services),
      browses_(browses),
      category_(category) {
    auto* label = new QLabel(QStringLiteral("Category: ") + category, this);
    label->setAccessibleName(QStringLiteral("Category"));
    controlRow().addWidget(label);
    controlRow().addStretch();
    setActions({.add = [this] { return request(ScheduleRequest::Add, nullptr); },
                .edit = [this](const void* r) { return request(ScheduleRequest::Change, r); },
                .remove = [this](const void* r) { return request(ScheduleRequest::Delete, r); }});
    std::vector<BrowseButton> buttons = standardButtons(*this);
    setMenu(buttons);
    setButtons(std::move(buttons));
    if (browses_) registration_ = browses_->add([this] { refresh(); });
    start();
}

BrowseScheduleCategory::~BrowseScheduleCategory() {
    if (browses_) browses_->remove(registration_);
}

void BrowseScheduleCategory::preparePage(int tab) {
    page().setKey(declaration().tabs[static_cast<std::size_t>(tab)].key);
    Schedule range;
    range.CATEGORY = category_.toStdString();
    page().setRange(&range, 1);
}

bool BrowseScheduleCategory::request(ScheduleRequest request, const void* record) {
    if (record) return updateSchedule(this, services_, request, static_cast<const Schedule*>(record));
    // A new task starts in this category.
    Schedule fresh;
    fresh.CATEGORY = category_.toStdString();
    return updateSchedule(this, services_, request, &fresh);
}

BrowseScheduleCategory* openBrowseScheduleCategory(const ScheduleServices& services,
                                                   scheduler::BrowseRegistry* browses,
                                                   const QString& category, QWidget* parent) {
    auto* window = new BrowseScheduleCategory(services, browses, category, parent);
    window->show();
    return window;
}

}  // namespace plorix::ui
