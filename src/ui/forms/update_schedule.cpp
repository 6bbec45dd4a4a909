#include "ui/forms/update_schedule.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/cascade.h"
#include "data/process_tables.h"
#include "data/warnings.h"
#include "data/tables/categories.h"
#include "data/tables/holidays.h"
#include "platform/desktop.h"
#include "runtime/ini_file.h"
#include "runtime/pictures.h"
#include "scheduler/exceptions.h"
#include "scheduler/fire_context.h"
#include "scheduler/recurrence.h"
#include "scheduler/run_preview.h"
#include "scheduler/stored_holidays.h"
#include "settings/settings.h"
#include "ui/calendar/calendar.h"
#include "ui/forms/program_chooser.h"
#include "ui/forms/schedule_exceptions.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Schedule;

// A task that only runs its script, or only shows a message at the end of
// its day, keeps its time just before midnight.
constexpr Time kNoTaskTime = 8639500;
constexpr std::string_view kNoTask = "None";
constexpr std::string_view kNotApplicable = "N/A";
constexpr std::string_view kWavKey = "LastWAVFile";

const data::FormRules& scheduleRules() {
    static const data::FormRules rules{"Schedule Task", {}, {{data::keys::Schedule::KEYID, "By System ID"}}};
    return rules;
}

IniFile settingsIni() { return IniFile(settings::settings().iniFile); }

QString titleOf(ScheduleWindow window, data::FormAction action) {
    if (action == data::FormAction::Adding) return qs(scheduleWindow(window).title);
    return isWizard(window) ? QStringLiteral("Changing a Schedule Record")
                            : QStringLiteral("Changing a Schedule Task");
}

constexpr std::string_view kReplyTo = "Reply to: ";

}  // namespace

UpdateSchedule::UpdateSchedule(store::Table& schedule, data::FormAction action,
                               const ScheduleServices& services, QWidget* parent, ScheduleWindow window)
    : UpdateForm(schedule, action, titleOf(window, action), std::string(scheduleWindow(window).section),
                 services.prompter, parent),
      services_(services),
      window_(window) {
    setRules(&scheduleRules());
    tabs_ = new QTabWidget(this);
    body().addWidget(tabs_);
    buildPages();

    // The categories in their order, a blank one first for a task without.
    QStringList categories{QString()};
    auto table = ownTable(data::Categories::schema(), prompter());
    table->setStart(0);
    while (table->next() == store::kNoError) categories << qs(table->rec<data::Categories>().CATEGORY);
    field("SCH:CATEGORY")->setChoices(categories);
    if (table->errorCode() != store::kRecordNotAvailable)
        data::standardWarning(prompter(), data::Warning::RecordRetrievalError, "Categories");
    data::TableUse holidays(data::processTable<data::Holidays>(), prompter());
    holidays_ = scheduler::readHolidaySet(holidays.table());

    field("SCH:ALARMFILE")->control()->installEventFilter(this);
    showRecord();
    applyTaskType();
    applyPattern();
    applyAlarm(false);
    updatePreview();
}

Schedule UpdateSchedule::current() const {
    Schedule probe = const_cast<UpdateSchedule*>(this)->entry();
    binder().peek(&probe);
    return probe;
}

void UpdateSchedule::applyTaskType() {
    const QString type = field("SCH:TASKTYPE") ? field("SCH:TASKTYPE")->text() : qs(entry().TASKTYPE);
    const bool none = type == qs(kNoTask);
    const auto& pages = scheduleWindow(window_).pages;
    for (std::size_t i = 0; i < pages.size(); ++i)
        tabs_->setTabVisible(static_cast<int>(i), pageUsed(pages[i], type.toStdString()));
    if (none) {
        Schedule late = current();
        late.TIME = kNoTaskTime;
        field("SCH:TIME")->load(&late);
    }
    field("SCH:TIME")->setVisible(!none);
    timeLabel_->setVisible(!none);
}

void UpdateSchedule::applyPattern() {
    using scheduler::ScheduleType;
    if (window_ == ScheduleWindow::RescheduleWizard) return;  // always "Once"
    const ScheduleType type = scheduler::scheduleTypeOf(field("SCH:SCHEDULETYPE")->text().toStdString());
    for (QWidget* w : patternControls_) w->hide();
    except_->hide();
    auto show = [this](std::initializer_list<const char*> names) {
        for (const char* name : names) field(name)->show();
    };
    const auto days = {"SCH:SUNDAY",   "SCH:MONDAY", "SCH:TUESDAY", "SCH:WEDNESDAY",
                       "SCH:THURSDAY", "SCH:FRIDAY", "SCH:SATURDAY"};
    const auto ordinals = {"SCH:EVERY1ST", "SCH:EVERY2ND", "SCH:EVERY3RD", "SCH:EVERY4TH", "SCH:EVERYLAST"};
    except_->setVisible(type != ScheduleType::Once && type != ScheduleType::DayOfWeek);
    if (type == ScheduleType::DayOfWeek) show(days);
    if (type == ScheduleType::DayOfMonth) {
        show(days);
        show(ordinals);
        FieldEditor* monthEndCheck = field("SCH:LASTDAYOFMONTH");
        if (monthEndCheck) monthEndCheck->show();
        const bool monthEnd = monthEndCheck && monthEndCheck->text() == "1";
        for (auto list : {days, ordinals})
            for (const char* name : list) field(name)->setEnabled(!monthEnd);
    }
    if (type == ScheduleType::Custom) {
        for (QWidget* w : patternControls_)
            if (w == field("SCH:EVERY") || w == field("SCH:EVERYTYPE") || qobject_cast<QLabel*>(w)) w->show();
    }
}

void UpdateSchedule::applyAlarm(bool fill) {
    const bool on = field("SCH:ALARM")->text() == "1";
    for (QWidget* w : {static_cast<QWidget*>(field("SCH:ALARMFILE")), static_cast<QWidget*>(alarmLabel_),
                       static_cast<QWidget*>(alarmBrowse_), static_cast<QWidget*>(play_)})
        w->setEnabled(on);
    // The one-off copy keeps the alarm it was given.
    if (!on || !fill || window_ == ScheduleWindow::RescheduleWizard) return;
    FieldEditor* file = field("SCH:ALARMFILE");
    if (file->text().trimmed().isEmpty())
        file->setText(qs(settingsIni().getString("Settings", kWavKey)));
    else
        settingsIni().putString("Settings", kWavKey, file->text().trimmed().toStdString());
}

void UpdateSchedule::nextDateAccepted() {
    const Schedule probe = current();
    if (probe.DATE && !scheduler::dateMatches(probe)) {
        prompter().message("Warning", "Date given does not match schedule type.", Icon::Warning, kOk, kOk);
    }
    const IniFile ini = settingsIni();
    if (!ini.getInt("Warning", "Active")) return;
    Schedule derived = probe;
    derived.ADVANCEWARNDATE = probe.DATE - ini.getInt("Warning", "Date");
    derived.ADVANCEWARNTIME = probe.TIME - ini.getInt("Warning", "Time");
    field("SCH:ADVANCEWARNDATE")->load(&derived);
    field("SCH:ADVANCEWARNTIME")->load(&derived);
}

void UpdateSchedule::advanceWarningAccepted() {
    const Schedule probe = current();
    const bool after = probe.ADVANCEWARNDATE > probe.DATE ||
                       (probe.ADVANCEWARNDATE == probe.DATE && probe.ADVANCEWARNTIME > probe.TIME);
    if (!probe.ADVANCEWARNDATE || !after) return;
    Schedule cleared = probe;
    cleared.ADVANCEWARNDATE = 0;
    cleared.ADVANCEWARNTIME = 0;
    field("SCH:ADVANCEWARNDATE")->load(&cleared);
    field("SCH:ADVANCEWARNTIME")->load(&cleared);
    prompter().message("Warning", "Advanced Warning cannot be after scheduled task.", Icon::Warning, kOk,
                       kOk);
}

void UpdateSchedule::pickDate(std::string_view name, bool patternCheck) {
    Schedule probe = current();
    CalendarRequest request;
    request.start = static_cast<Date>(store::fieldInt(field(name)->field(), &probe));
    if (patternCheck) request.entry = &probe;
    request.holidays = &holidays_;
    for (const auto& run : scheduler::previewRuns(probe, services_.clock.current(), holidays_))
        request.runs.push_back(run.due.date);
    const Date chosen = ui::pickDate(this, prompter(), services_.clock, std::move(request));
    store::setFieldInt(field(name)->field(), &probe, chosen);
    field(name)->load(&probe);
    updatePreview();
}

void UpdateSchedule::browseProgram() {
    FieldEditor* command = field("SCH:COMMAND");
    FieldEditor* path = field("SCH:PATH");
    const QString chosen = chooseProgram(this, path->text().trimmed());
    if (chosen.isEmpty()) return;
    command->setText(chosen);
    if (path->text().trimmed().isEmpty()) path->setText(chosen.left(chosen.lastIndexOf('/')));
}

void UpdateSchedule::browseAlarm() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("Select WAV File for Alarm"), QString(),
                                     QStringLiteral("Sound files (*.wav *.oga *.ogg *.flac)"));
    if (chosen.isEmpty()) return;
    field("SCH:ALARMFILE")->setText(chosen);
    settingsIni().putString("Settings", kWavKey, chosen.toStdString());
}

void UpdateSchedule::playAlarm() {
    const QString file = field("SCH:ALARMFILE")->text().trimmed();
    if (file.isEmpty()) {
        alarmBrowse_->setFocus();
        alarmBrowse_->click();
        return;
    }
    if (!platform::desktop().sound->playFile(file.toStdString())) alarmBrowse_->setFocus();
}

void UpdateSchedule::openExceptions() {
    binder().peek(table().buffer());
    ScheduleExceptions window(entry(), services_.holidays, this);
    window.exec();
    updatePreview();
}

void UpdateSchedule::updatePreview() {
    preview_->clear();
    const Schedule probe = current();
    for (const scheduler::Occurrence& run :
         scheduler::previewRuns(probe, services_.clock.current(), holidays_)) {
        QString text = qs(formatDate(run.due.date, settings::settings().DateFormat)).trimmed() + "  " +
                       qs(formatTime(run.due.time, "@t3")).trimmed();
        if (run.skipped) text += QStringLiteral("  (skipped)");
        if (run.oneOff) text += QStringLiteral("  (moved by an exception)");
        if (run.late) text += QStringLiteral("  (due already: runs at once)");
        preview_->addItem(text);
    }
    if (preview_->count() == 0) preview_->addItem(QStringLiteral("This task has no run to come."));
}

QStringList UpdateSchedule::previewTexts() const {
    QStringList texts;
    for (int i = 0; i < preview_->count(); ++i) texts << preview_->item(i)->text();
    return texts;
}

bool UpdateSchedule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && field("SCH:MESSAGE") &&
        watched == field("SCH:MESSAGE")->control() && field("SCH:MESSAGE")->text().isEmpty())
        field("SCH:MESSAGE")->setText(field("SCH:DESCRIPTION")->text());
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
        watched == field("SCH:ALARMFILE")->control())
        applyAlarm(true);
    return UpdateForm::eventFilter(watched, event);
}

bool UpdateSchedule::prepareSave() {
    Schedule& e = entry();
    if (e.COMMAND.empty() && scheduler::runsProgram(e)) e.COMMAND = kNotApplicable;
    if (std::string_view(e.TASKTYPE) == kNoTask) e.TIME = kNoTaskTime;
    if (!replyFolder_.isEmpty()) e.PATH = std::string(kReplyTo) + replyFolder_.toStdString();
    const Moment now = services_.clock.current();
    e.NETWORKUSER = settings::networkUserName();
    e.LASTCHANGEDATE = now.date;
    e.LASTCHANGETIME = now.time;
    if (e.ORIGINALID == 0) e.ORIGINALID = e.ID;
    return true;
}

int UpdateSchedule::save() {
    if (unchanged()) return data::kWritten;
    if (window_ == ScheduleWindow::RescheduleWizard) {
        // The copy is a one-off: the skip check asks for the source's next
        // regular run to be skipped, the copy itself runs.
        const bool skipSource = entry().SKIPNEXTTIME != 0;
        entry().SKIPNEXTTIME = 0;
        const int written = data::saveRecord(table(), prompter(), data::FormAction::Changing, original(),
                                             scheduleRules(), true);
        if (written == data::kWritten && skipSource) markSourceSkipped();
        return written;
    }
    data::TableUse holidayUse(data::processTable<data::Holidays>(), prompter());
    scheduler::StoredHolidays holidays(holidayUse.table(), services_.clock.current().date);
    // A one-off copy the user declined to retry numbering leaves no error
    // code behind: whether one was due is known from the plan.
    Schedule planned = entry();
    const bool wantsCopy = scheduler::planExceptions(planned, holidays).copy.has_value();
    const scheduler::ExceptionsApplied applied =
        scheduler::applyExceptions(table(), holidays, !isWizard(window_), prompter());
    if (applied.error != store::kNoError) data::standardWarning(prompter(), data::Warning::RecordInsertError);
    if (applied.error != store::kNoError || (wantsCopy && applied.copyId == 0)) return data::kNotWritten;
    // A reserved add is written over like a change.
    return data::saveRecord(table(), prompter(), data::FormAction::Changing, original(), scheduleRules(),
                            true);
}

}  // namespace plorix::ui

namespace plorix::ui {

void UpdateSchedule::showDisabled(std::int32_t disabled) {
    Schedule shown = entry();
    shown.DISABLED = disabled;
    field("SCH:DISABLED")->load(&shown);
    updatePreview();
}

void UpdateSchedule::markSourceSkipped() {
    auto source = ownTable(Schedule::schema(), prompter());
    Schedule& e = source->rec<Schedule>();
    e.ID = sourceId_;
    if (source->get(data::keys::Schedule::KEYID) != store::kNoError) {
        prompter().message(
            "",
            "Could not set SKIP status  ID #" + std::to_string(sourceId_) + " Error:" + source->error().text,
            Icon::Warning, kOk, kOk);
        return;
    }
    e.SKIPNEXTTIME = 1;
    if (source->put() != store::kNoError)
        prompter().message("", "Could not change SKIP status " + source->error().text, Icon::Warning, kOk,
                           kOk);
}

}  // namespace plorix::ui
