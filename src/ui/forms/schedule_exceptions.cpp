#include "ui/forms/schedule_exceptions.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "scheduler/schedule_kinds.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

struct ExceptionField {
    std::string_view field;
    EditorKind kind;
    std::string_view label;
};

constexpr ExceptionField kFields[] = {
    {"SCH:EXCEPTWEEKENDS", EditorKind::Check, "Except Weekends"},
    {"SCH:EXCEPTWEEKDAYS", EditorKind::Check, "Except Weekdays"},
    {"SCH:EXCEPTHOLIDAYS", EditorKind::Check, "Except Holidays"},
    {"SCH:EXCEPTTIME", EditorKind::Check, "Except Time Range"},
    {"SCH:EXCEPTTIMEBEGIN", EditorKind::Time, "Begin:"},
    {"SCH:EXCEPTTIMEEND", EditorKind::Time, "End:"},
    {"SCH:SHIFTTYPE", EditorKind::Option, "Exception Action"},
};

}  // namespace

ScheduleExceptions::ScheduleExceptions(data::Schedule& entry, std::function<void(QWidget*)> holidays,
                                       QWidget* parent)
    : QDialog(parent), entry_(entry), binder_(data::Schedule::schema()) {
    setWindowTitle(QStringLiteral("Exceptions"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const ExceptionField& f : kFields) {
        FieldEditor* editor = binder_.bind(f.field, f.kind, qs(f.label), this);
        if (f.kind == EditorKind::Time) {
            auto* label = new QLabel(qs(f.label), this);
            label->setBuddy(editor->control());
            form->addRow(label, editor);
            editor->control()->setAccessibleName(QStringLiteral("Except ") + qs(f.label).chopped(1));
        } else {
            form->addRow(editor);
        }
        if (f.field == "SCH:EXCEPTHOLIDAYS") {
            auto* define = new QPushButton(QStringLiteral("Define Holidays..."), this);
            define->setAccessibleName(QStringLiteral("Define Holidays"));
            define->setEnabled(bool(holidays));
            connect(define, &QPushButton::clicked, this, [this, holidays] { holidays(this); });
            form->addRow(define);
        }
        connect(editor, &FieldEditor::accepted, this, &ScheduleExceptions::applyRules);
    }
    QStringList shifts;
    for (const auto& name : scheduler::kShiftNames) shifts << qs(name.text);
    binder_.editor("SCH:SHIFTTYPE")->setChoices(shifts);
    connect(binder_.editor("SCH:EXCEPTWEEKENDS"), &FieldEditor::accepted, this,
            [this] { sideChecked("SCH:EXCEPTWEEKENDS", "SCH:EXCEPTWEEKDAYS"); });
    connect(binder_.editor("SCH:EXCEPTWEEKDAYS"), &FieldEditor::accepted, this,
            [this] { sideChecked("SCH:EXCEPTWEEKDAYS", "SCH:EXCEPTWEEKENDS"); });
    layout->addLayout(form);
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setAccessibleName(QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    binder_.show(&entry_);
    applyRules();
    rememberPosition(*this, "ScheduleExceptions");
}

// Excepting weekends and weekdays both would leave no day at all.
void ScheduleExceptions::sideChecked(std::string_view checked, std::string_view other) {
    binder_.editor(other)->setEnabled(binder_.editor(checked)->text() != "1");
}

void ScheduleExceptions::applyRules() {
    auto on = [this](std::string_view f) { return binder_.editor(f)->text() == "1"; };
    binder_.editor("SCH:SHIFTTYPE")
        ->setEnabled(on("SCH:EXCEPTWEEKENDS") || on("SCH:EXCEPTWEEKDAYS") || on("SCH:EXCEPTHOLIDAYS"));
    for (const char* f : {"SCH:EXCEPTTIMEBEGIN", "SCH:EXCEPTTIMEEND"}) {
        binder_.editor(f)->setEnabled(on("SCH:EXCEPTTIME"));
        if (auto* label =
                qobject_cast<QFormLayout*>(layout()->itemAt(0)->layout())->labelForField(binder_.editor(f)))
            label->setEnabled(on("SCH:EXCEPTTIME"));
    }
}

void ScheduleExceptions::done(int result) {
    // Closing keeps what was entered; a time that cannot be read keeps the window open.
    if (binder_.collect(&entry_)) return;
    QDialog::done(result);
}

}  // namespace plorix::ui
