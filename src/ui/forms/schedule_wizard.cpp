#include "ui/forms/schedule_wizard.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>

#include <filesystem>

#include "data/cascade.h"
#include "scheduler/new_task.h"
#include "data/process_tables.h"
#include "data/tables/categories.h"
#include "data/warnings.h"
#include "scheduler/schedule_kinds.h"
#include "script/script_items.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Schedule;

constexpr std::string_view kGeneral = "General";

QPushButton* wizardButton(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAccessibleName(QString(text).remove('&').remove("<- ").remove(" ->"));
    return b;
}

// A task wizard's category list offers "General" even in a new file.
void ensureGeneralCategory(Prompter& prompter) {
    auto categories = ownTable(data::Categories::schema(), prompter);
    if (!categories->isOpen()) return;
    categories->rec<data::Categories>().CATEGORY = kGeneral;
    if (categories->get(data::keys::Categories::KEYCATEGORY) == store::kNoError) return;
    categories->rec<data::Categories>().CATEGORY = kGeneral;
    if (categories->add() != store::kNoError)
        data::standardWarning(prompter, data::Warning::RecordInsertError, "Categories");
}

void wizardDefaults(Schedule& e, ScheduleWindow window, Moment now) {
    scheduler::primeNewTask(e, now);
    const ScheduleWindowDecl& decl = scheduleWindow(window);
    e.CATEGORY = kGeneral;
    if (!decl.taskType.empty()) e.TASKTYPE = decl.taskType;
    e.SCHEDULETYPE = decl.scheduleType;
}

// Runs the wizard on the entry reserved as `id`; a wizard not finished
// gives the number back.
bool runReserved(QWidget* parent, const ScheduleServices& services, store::Table& table,
                 ScheduleWindow window, const std::function<void(Schedule&)>& prime,
                 const std::function<void(ScheduleWizard&)>& prepare = {}) {
    std::int32_t disabled = 0;
    const std::int32_t id = reserveEntry(table, services.prompter, disabled, prime);
    if (id == 0) return false;
    ScheduleWizard wizard(table, data::FormAction::Adding, services, window, parent);
    wizard.showDisabled(disabled);
    if (prepare) prepare(wizard);
    if (wizard.exec() == QDialog::Accepted) return true;
    dropReserved(table, services.prompter, id, window != ScheduleWindow::ReplyWizard);
    return false;
}

}  // namespace

ScheduleWizard::ScheduleWizard(store::Table& schedule, data::FormAction action,
                               const ScheduleServices& services, ScheduleWindow window, QWidget* parent)
    : UpdateSchedule(schedule, action, services, parent, window) {
    okButton().hide();
    back_ = wizardButton(QStringLiteral("<- &Back"), this);
    next_ = wizardButton(QStringLiteral("&Next ->"), this);
    finish_ = wizardButton(QStringLiteral("&Finish"), this);
    connect(back_, &QPushButton::clicked, this, &ScheduleWizard::back);
    connect(next_, &QPushButton::clicked, this, &ScheduleWizard::next);
    connect(finish_, &QPushButton::clicked, this, &ScheduleWizard::finish);
    QHBoxLayout& row = buttonRow();
    const int at = row.indexOf(&okButton());
    row.insertWidget(at, finish_);
    row.insertWidget(at, next_);
    row.insertWidget(at, back_);
    showPage(0);
}

std::string ScheduleWizard::taskType() const {
    FieldEditor* type = field("SCH:TASKTYPE");
    return type ? type->text().toStdString()
                : std::string(const_cast<ScheduleWizard*>(this)->entry().TASKTYPE);
}

void ScheduleWizard::showPage(int page) {
    page_ = page;
    // The tabs show where the user is; the buttons alone move between them.
    for (int i = 0; i < tabs().count(); ++i) tabs().setTabEnabled(i, i == page);
    tabs().setCurrentIndex(page);
    const auto& pages = scheduleWindow(window()).pages;
    const bool last = stepPage(pages, page, 1, taskType()) == page;
    back_->setVisible(page != 0);
    next_->setVisible(!last);
    finish_->setVisible(last);
    (last ? finish_ : next_)->setDefault(true);
    (last ? next_ : finish_)->setDefault(false);
}

bool ScheduleWizard::checkPage(int page) {
    const QWidget* shown = tabs().widget(page);
    for (FieldEditor* e : binder().editors()) {
        if (!shown->isAncestorOf(e) || e->store(table().buffer())) continue;
        if (page != page_) showPage(page);
        e->setFocus();
        return false;
    }
    return true;
}

void ScheduleWizard::next() {
    if (!checkPage(page_)) return;
    showPage(stepPage(scheduleWindow(window()).pages, page_, 1, taskType()));
}

void ScheduleWizard::back() { showPage(stepPage(scheduleWindow(window()).pages, page_, -1, taskType())); }

void ScheduleWizard::finish() {
    for (int i = 0; i < tabs().count(); ++i)
        if (tabs().isTabVisible(i) && !checkPage(i)) return;
    accept();
}

bool addWithWizard(QWidget* parent, const ScheduleServices& services, ScheduleWindow window) {
    auto table = ownTable(Schedule::schema(), services.prompter);
    if (!table->isOpen()) return false;
    ensureGeneralCategory(services.prompter);
    const Moment now = services.clock.current();
    return runReserved(parent, services, *table, window,
                       [&](Schedule& e) { wizardDefaults(e, window, now); });
}

bool rescheduleEntry(QWidget* parent, const ScheduleServices& services, const data::Schedule& source) {
    auto table = ownTable(Schedule::schema(), services.prompter);
    if (!table->isOpen()) return false;
    const Schedule copy = source;
    auto prime = [&](Schedule& e) {
        e = copy;
        e.SCHEDULETYPE = scheduler::textOf(scheduler::ScheduleType::Once);
        e.DISABLED = 0;
        e.ADVANCEWARNED = 0;
        e.SKIPNEXTTIME = 0;
        // The copy is a task of its own, not the source's twin in a transfer
        // file nor the one-off run of its exceptions.
        e.ORIGINALID = 0;
        e.EXCEPTIONLINK = 0;
    };
    return runReserved(parent, services, *table, ScheduleWindow::RescheduleWizard, prime,
                       [&](ScheduleWizard& wizard) { wizard.setRescheduleSource(copy.ID); });
}

bool replyWithWizard(QWidget* parent, const ScheduleServices& services, const std::string& folder) {
    std::error_code error;
    // The address follows "Reply to:" as the entry's path gives it.
    const std::filesystem::path where =
        std::filesystem::absolute(QString::fromStdString(folder).trimmed().toStdString(), error);
    if (error || !std::filesystem::is_directory(where, error)) return false;
    store::Table schedule(Schedule::schema());
    schedule.setName((where / data::processTable<Schedule>().name()).string());
    if (schedule.open() != store::kNoError) return false;
    const Moment now = services.clock.current();
    auto prime = [&](Schedule& e) { wizardDefaults(e, ScheduleWindow::ReplyWizard, now); };
    runReserved(parent, services, schedule, ScheduleWindow::ReplyWizard, prime,
                [](ScheduleWizard& wizard) { wizard.setReplyFolder(QDir::currentPath()); });
    return true;
}

}  // namespace plorix::ui
