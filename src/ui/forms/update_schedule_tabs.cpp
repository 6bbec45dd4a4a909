// The pages of the schedule windows, built from their parts.

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "scheduler/fire_context.h"
#include "scheduler/schedule_kinds.h"
#include "data/field_choices.h"
#include "ui/forms/update_schedule.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

struct Check {
    std::string_view field;
    std::string_view label;
    std::string_view tip = {};
};

constexpr Check kOrdinals[] = {{"SCH:EVERY1ST", "1st"},   {"SCH:EVERY2ND", "2nd"},
                               {"SCH:EVERY3RD", "3rd"},   {"SCH:EVERY4TH", "4th"},
                               {"SCH:EVERYLAST", "Last"}, {"SCH:LASTDAYOFMONTH", "Month End"}};
constexpr Check kDays[] = {{"SCH:SUNDAY", "Sunday"},     {"SCH:MONDAY", "Monday"},
                           {"SCH:TUESDAY", "Tuesday"},   {"SCH:WEDNESDAY", "Wednesday"},
                           {"SCH:THURSDAY", "Thursday"}, {"SCH:FRIDAY", "Friday"},
                           {"SCH:SATURDAY", "Saturday"}};
constexpr Check kOptions[] = {
    {"SCH:WARN", "&Warn if not run on specified date"},
    {"SCH:SKIPIFMISSED", "&Skip if not run at specified time (+/- 10 minutes)"},
    {"SCH:USERSKIP", "&Before performing task, give option to skip"},
    {"SCH:DISABLED", "&Disable", "Do not perform this task"},
    {"SCH:NOHISTORY", "No &History", "Do not show history (remove when completed)"},
};

template <typename Names>
QStringList textsOf(const Names& names) {
    QStringList texts;
    for (const auto& name : names) texts << qs(name.text);
    return texts;
}

QFormLayout* formIn(QVBoxLayout* box) {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    box->addLayout(form);
    return form;
}

// A field's row: a check or an option carries its own label.
QLabel* addRow(QFormLayout* form, FieldEditor* editor) {
    if (editor->kind() == EditorKind::Check || editor->kind() == EditorKind::Option) {
        form->addRow(editor);
        return nullptr;
    }
    auto* label = new QLabel(editor->label(), form->parentWidget());
    label->setBuddy(editor->control());
    form->addRow(label, editor);
    return label;
}

QString skipLabel(ScheduleWindow window) {
    if (window == ScheduleWindow::EntryForm) return QStringLiteral("&Skip Next Time");
    if (window == ScheduleWindow::RescheduleWizard)
        return QStringLiteral("Skip next regular occurance of task being copied");
    return QStringLiteral("&Skip First Time");
}

const QString kCommandTip =
    QStringLiteral("TIP:  If you just want to use scripting, enter \"N/A\" as the command above.");
const QString kProgramTips = QStringLiteral(
    "TIPS:  You can enter a document or a web address; it opens with the desktop's default application.  "
    "To use scripting only, enter N/A as the command.");

QPushButton* button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setAccessibleName(QString(text).remove('&'));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

void UpdateSchedule::buildPages() {
    for (const SchedulePage& decl : scheduleWindow(window_).pages) {
        auto* page = new QWidget(tabs_);
        tabs_->addTab(page, qs(decl.title));
        auto* box = new QVBoxLayout(page);
        for (SchedulePart part : decl.parts) {
            switch (part) {
            case SchedulePart::TaskIntro: buildIntro(box); break;
            case SchedulePart::TaskType: buildTaskType(box); break;
            case SchedulePart::Category: buildCategory(box); break;
            case SchedulePart::Command: buildCommand(box); break;
            case SchedulePart::Message: buildMessage(box); break;
            case SchedulePart::When: buildWhen(box); break;
            case SchedulePart::Advanced: buildAdvanced(box); break;
            }
        }
        if (decl.parts.back() != SchedulePart::Message && decl.parts.back() != SchedulePart::When)
            box->addStretch();
    }
}

void UpdateSchedule::buildIntro(QVBoxLayout* box) {
    auto* intro = new QLabel(
        QStringLiteral("This wizard schedules a new task to perform.  Enter the type of task here..."),
        box->parentWidget());
    intro->setWordWrap(true);
    box->addWidget(intro);
}

void UpdateSchedule::buildTaskType(QVBoxLayout* box) {
    QFormLayout* form = formIn(box);
    FieldEditor* type =
        binder().bind("SCH:TASKTYPE", EditorKind::Option, QStringLiteral("Task Type"), box->parentWidget());
    QStringList taskTypes;
    for (std::string_view text : data::kTaskTypes)
        if (window_ != ScheduleWindow::RescheduleWizard || text != data::kTaskNone) taskTypes << qs(text);
    type->setChoices(taskTypes);
    connect(type, &FieldEditor::accepted, this, &UpdateSchedule::applyTaskType);
    addRow(form, type);
}

void UpdateSchedule::buildCategory(QVBoxLayout* box) {
    QFormLayout* form = formIn(box);
    addRow(form, binder().bind("SCH:CATEGORY", EditorKind::DropList, QStringLiteral("&Category:"),
                               box->parentWidget()));
    addRow(form, binder().bind("SCH:DESCRIPTION", EditorKind::Text, QStringLiteral("&Description:"),
                               box->parentWidget()));
}

void UpdateSchedule::buildCommand(QVBoxLayout* box) {
    QWidget* page = box->parentWidget();
    QFormLayout* form = formIn(box);
    addRow(form, binder().bind("SCH:COMMAND", EditorKind::Text, QStringLiteral("Comma&nd:"), page));
    addRow(form, binder().bind("SCH:PATH", EditorKind::Text, QStringLiteral("Start &in:"), page));
    auto* row = new QHBoxLayout;
    QPushButton* browse =
        button(QStringLiteral("&Browse"), QStringLiteral("Choose a program to start"), page);
    connect(browse, &QPushButton::clicked, this, &UpdateSchedule::browseProgram);
    QPushButton* scripting =
        button(QStringLiteral("&Scripting"), QStringLiteral("Edit the script items of this task"), page);
    scripting->setEnabled(bool(services_.scripting));
    connect(scripting, &QPushButton::clicked, this, [this] { services_.scripting(this, entry().ID); });
    row->addWidget(browse);
    row->addWidget(scripting);
    row->addStretch();
    form->addRow(row);
    auto* tip = new QLabel(window_ == ScheduleWindow::ProgramWizard ? kProgramTips : kCommandTip, page);
    tip->setWordWrap(true);
    form->addRow(tip);
}

void UpdateSchedule::buildMessage(QVBoxLayout* box) {
    FieldEditor* message =
        binder().bind("SCH:MESSAGE", EditorKind::Memo, QStringLiteral("Message"), box->parentWidget());
    // A blank message starts as the description when the user comes to it.
    if (window_ != ScheduleWindow::TaskWizard && window_ != ScheduleWindow::RescheduleWizard)
        message->control()->installEventFilter(this);
    box->addWidget(message, 1);
}

void UpdateSchedule::buildWhen(QVBoxLayout* box) {
    QWidget* page = box->parentWidget();
    auto* columns = new QHBoxLayout;
    box->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    const bool wizard = isWizard(window_);
    FieldEditor* type =
        binder().bind("SCH:SCHEDULETYPE", EditorKind::Option, QStringLiteral("Schedule &Type"), page);
    type->setChoices(textsOf(scheduler::kScheduleTypeNames));
    connect(type, &FieldEditor::accepted, this, &UpdateSchedule::applyPattern);
    left->addWidget(type);
    auto* every = new QGroupBox(QStringLiteral("&Every..."), page);
    auto* grid = new QGridLayout(every);
    int cell = 0;
    for (const Check& c : kOrdinals) {
        if (wizard && c.field == "SCH:LASTDAYOFMONTH") continue;
        FieldEditor* e = binder().bind(c.field, EditorKind::Check, qs(c.label), every);
        grid->addWidget(e, 0 + cell / 3, cell % 3);
        patternControls_.push_back(e);
        ++cell;
    }
    cell = 0;
    for (const Check& c : kDays) {
        FieldEditor* e = binder().bind(c.field, EditorKind::Check, qs(c.label), every);
        grid->addWidget(e, 2 + cell / 3, cell % 3);
        patternControls_.push_back(e);
        ++cell;
    }
    if (!wizard)
        connect(field("SCH:LASTDAYOFMONTH"), &FieldEditor::accepted, this, &UpdateSchedule::applyPattern);
    auto* count = new QFormLayout;
    FieldEditor* number = binder().bind("SCH:EVERY", EditorKind::Number, QStringLiteral("Every:"), every);
    FieldEditor* unit =
        binder().bind("SCH:EVERYTYPE", EditorKind::Option, QStringLiteral("Every Type"), every);
    unit->setChoices(textsOf(scheduler::kEveryUnitNames));
    patternControls_.push_back(number);
    patternControls_.push_back(addRow(count, number));
    count->addRow(unit);
    patternControls_.push_back(unit);
    grid->addLayout(count, 5, 0, 1, 3);
    except_ = button(QStringLiteral("E&xcept"),
                     QStringLiteral("Exceptions: weekends, weekdays, holidays, a time range"), every);
    connect(except_, &QPushButton::clicked, this, &UpdateSchedule::openExceptions);
    grid->addWidget(except_, 6, 0);
    left->addWidget(every);
    left->addStretch();
    columns->addLayout(left);
    // A one-off copy is always "Once": it has no pattern to choose.
    if (window_ == ScheduleWindow::RescheduleWizard) {
        type->hide();
        every->hide();
    }

    auto* right = new QVBoxLayout;
    const bool reply = window_ == ScheduleWindow::ReplyWizard;
    auto* form = new QFormLayout;
    FieldEditor* date =
        binder().bind("SCH:DATE", EditorKind::Date,
                      reply ? QStringLiteral("&Date:") : QStringLiteral("&Next Date to Perform Task:"), page);
    connect(date, &FieldEditor::accepted, this, &UpdateSchedule::nextDateAccepted);
    connect(date, &FieldEditor::calendarRequested, this, [this] { pickDate("SCH:DATE", true); });
    addRow(form, date);
    timeLabel_ = addRow(form, binder().bind("SCH:TIME", EditorKind::Time, QStringLiteral("&Time:"), page));
    // A new entry has not run yet: only the form shows when it last did.
    if (!wizard) {
        addRow(form, binder().bind("SCH:LASTRUNDATE", EditorKind::Date,
                                   QStringLiteral("Date Last Performed:"), page));
        addRow(form, binder().bind("SCH:LASTRUNTIME", EditorKind::Time,
                                   QStringLiteral("Time Last Performed:"), page));
        for (const char* last : {"SCH:LASTRUNDATE", "SCH:LASTRUNTIME"}) field(last)->setEnabled(false);
    }
    FieldEditor* skip = binder().bind("SCH:SKIPNEXTTIME", EditorKind::Check, skipLabel(window_), page);
    skip->control()->setToolTip(QStringLiteral("Skip next occurance of this task"));
    addRow(form, skip);
    FieldEditor* warnDate = binder().bind(
        "SCH:ADVANCEWARNDATE", EditorKind::Date,
        reply ? QStringLiteral("&Advance Date:") : QStringLiteral("&Advance Warning Date:"), page);
    connect(warnDate, &FieldEditor::accepted, this, &UpdateSchedule::advanceWarningAccepted);
    connect(warnDate, &FieldEditor::calendarRequested, this,
            [this] { pickDate("SCH:ADVANCEWARNDATE", false); });
    addRow(form, warnDate);
    FieldEditor* warnTime =
        binder().bind("SCH:ADVANCEWARNTIME", EditorKind::Time, QStringLiteral("Time:"), page);
    warnTime->control()->setAccessibleName(QStringLiteral("Advance Warning Time"));
    connect(warnTime, &FieldEditor::accepted, this, &UpdateSchedule::advanceWarningAccepted);
    addRow(form, warnTime);
    right->addLayout(form);
    auto* runsLabel = new QLabel(QStringLiteral("Next five runs:"), page);
    preview_ = new QListWidget(page);
    preview_->setAccessibleName(QStringLiteral("Next five runs"));
    preview_->setFocusPolicy(Qt::NoFocus);
    runsLabel->setBuddy(preview_);
    right->addWidget(runsLabel);
    right->addWidget(preview_, 1);
    columns->addLayout(right, 1);
    // Live: each key typed into a date, time or count shows its runs.
    for (FieldEditor* e : binder().editors()) {
        connect(e, &FieldEditor::accepted, this, &UpdateSchedule::updatePreview);
        connect(e, &FieldEditor::edited, this, &UpdateSchedule::updatePreview);
    }
}

void UpdateSchedule::buildAdvanced(QVBoxLayout* box) {
    QWidget* page = box->parentWidget();
    QFormLayout* form = formIn(box);
    FieldEditor* alarm = binder().bind("SCH:ALARM", EditorKind::Check, QStringLiteral("Alarm"), page);
    alarm->control()->setToolTip(QStringLiteral("Play a WAV file as an alarm"));
    connect(alarm, &FieldEditor::accepted, this, [this] { applyAlarm(true); });
    addRow(form, alarm);
    FieldEditor* file =
        binder().bind("SCH:ALARMFILE", EditorKind::Text, QStringLiteral("WAV File to Play:"), page);
    alarmLabel_ = addRow(form, file);
    auto* row = new QHBoxLayout;
    alarmBrowse_ = button(QStringLiteral("&Browse"), QStringLiteral("Select WAV File for Alarm"), page);
    play_ = button(QStringLiteral("&Play"), QStringLiteral("Play the alarm once"), page);
    connect(alarmBrowse_, &QPushButton::clicked, this, &UpdateSchedule::browseAlarm);
    connect(play_, &QPushButton::clicked, this, &UpdateSchedule::playAlarm);
    row->addWidget(alarmBrowse_);
    row->addWidget(play_);
    row->addStretch();
    form->addRow(row);
    for (const Check& c : kOptions) {
        FieldEditor* e = binder().bind(c.field, EditorKind::Check, qs(c.label), page);
        e->control()->setToolTip(qs(c.tip));
        addRow(form, e);
    }
}

}  // namespace plorix::ui
