// The five tabs of UPDATESCHEDULE, declared as tables of fields.

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "scheduler/fire_context.h"
#include "scheduler/schedule_kinds.h"
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

QFormLayout* formOn(QWidget* page) {
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
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

QPushButton* button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setAccessibleName(QString(text).remove('&'));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

QWidget* UpdateSchedule::addTab(const QString& title) {
    auto* page = new QWidget(tabs_);
    tabs_->addTab(page, title);
    return page;
}

void UpdateSchedule::buildTask() {
    QFormLayout* form = formOn(addTab(QStringLiteral("&Task")));
    FieldEditor* type =
        binder().bind("SCH:TASKTYPE", EditorKind::Option, QStringLiteral("Task Type"), form->parentWidget());
    QStringList taskTypes;
    for (std::string_view text : data::kTaskTypes) taskTypes << qs(text);
    type->setChoices(taskTypes);
    connect(type, &FieldEditor::accepted, this, &UpdateSchedule::applyTaskType);
    addRow(form, type);
    addRow(form, binder().bind("SCH:CATEGORY", EditorKind::DropList, QStringLiteral("&Category:"),
                               form->parentWidget()));
    addRow(form, binder().bind("SCH:DESCRIPTION", EditorKind::Text, QStringLiteral("&Description:"),
                               form->parentWidget()));
}

void UpdateSchedule::buildCommand() {
    commandTab_ = addTab(QStringLiteral("&Command"));
    QFormLayout* form = formOn(commandTab_);
    addRow(form, binder().bind("SCH:COMMAND", EditorKind::Text, QStringLiteral("Comma&nd:"), commandTab_));
    addRow(form, binder().bind("SCH:PATH", EditorKind::Text, QStringLiteral("Start &in:"), commandTab_));
    auto* row = new QHBoxLayout;
    QPushButton* browse =
        button(QStringLiteral("&Browse"), QStringLiteral("Choose a program to start"), commandTab_);
    connect(browse, &QPushButton::clicked, this, &UpdateSchedule::browseProgram);
    QPushButton* scripting = button(QStringLiteral("&Scripting"),
                                    QStringLiteral("Edit the script items of this task"), commandTab_);
    scripting->setEnabled(bool(services_.scripting));
    connect(scripting, &QPushButton::clicked, this, [this] { services_.scripting(this, entry().ID); });
    row->addWidget(browse);
    row->addWidget(scripting);
    row->addStretch();
    form->addRow(row);
    auto* tip = new QLabel(
        QStringLiteral("TIP:  If you just want to use scripting, enter \"N/A\" as the command above."),
        commandTab_);
    tip->setWordWrap(true);
    form->addRow(tip);
}

void UpdateSchedule::buildMessage() {
    messageTab_ = addTab(QStringLiteral("&Message"));
    auto* layout = new QVBoxLayout(messageTab_);
    FieldEditor* message =
        binder().bind("SCH:MESSAGE", EditorKind::Memo, QStringLiteral("Message"), messageTab_);
    // A blank message starts as the description when the user comes to it.
    message->control()->installEventFilter(this);
    layout->addWidget(message);
}

void UpdateSchedule::buildWhen() {
    QWidget* page = addTab(QStringLiteral("&When"));
    auto* columns = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    FieldEditor* type =
        binder().bind("SCH:SCHEDULETYPE", EditorKind::Option, QStringLiteral("Schedule &Type"), page);
    type->setChoices(textsOf(scheduler::kScheduleTypeNames));
    connect(type, &FieldEditor::accepted, this, &UpdateSchedule::applyPattern);
    left->addWidget(type);
    auto* every = new QGroupBox(QStringLiteral("&Every..."), page);
    auto* grid = new QGridLayout(every);
    int cell = 0;
    for (const Check& c : kOrdinals) {
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
    columns->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* form = new QFormLayout;
    FieldEditor* date =
        binder().bind("SCH:DATE", EditorKind::Date, QStringLiteral("&Next Date to Perform Task:"), page);
    connect(date, &FieldEditor::accepted, this, &UpdateSchedule::nextDateAccepted);
    connect(date, &FieldEditor::calendarRequested, this, [this] { pickDate("SCH:DATE", true); });
    addRow(form, date);
    timeLabel_ = addRow(form, binder().bind("SCH:TIME", EditorKind::Time, QStringLiteral("&Time:"), page));
    addRow(form,
           binder().bind("SCH:LASTRUNDATE", EditorKind::Date, QStringLiteral("Date Last Performed:"), page));
    addRow(form,
           binder().bind("SCH:LASTRUNTIME", EditorKind::Time, QStringLiteral("Time Last Performed:"), page));
    for (const char* last : {"SCH:LASTRUNDATE", "SCH:LASTRUNTIME"}) field(last)->setEnabled(false);
    FieldEditor* skip =
        binder().bind("SCH:SKIPNEXTTIME", EditorKind::Check, QStringLiteral("&Skip Next Time"), page);
    skip->control()->setToolTip(QStringLiteral("Skip next occurance of this task"));
    addRow(form, skip);
    FieldEditor* warnDate = binder().bind("SCH:ADVANCEWARNDATE", EditorKind::Date,
                                          QStringLiteral("&Advance Warning Date:"), page);
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

void UpdateSchedule::buildAdvanced() {
    QWidget* page = addTab(QStringLiteral("&Advanced"));
    QFormLayout* form = formOn(page);
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
