#pragma once
// UPDATESCHEDULE's window: the five tabs of one schedule entry, the rules
// that show, hide and fill its fields, and the next five runs of the entry
// as it stands, before anything is saved.

#include <QString>
#include <memory>

#include "scheduler/holiday_calendar.h"
#include "ui/forms/schedule_request.h"
#include "ui/kit/update_form.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace plorix::ui {

class UpdateSchedule final : public UpdateForm {
    Q_OBJECT
public:
    UpdateSchedule(store::Table& schedule, data::FormAction action, const ScheduleServices& services,
                   QWidget* parent = nullptr);

    data::Schedule& entry() { return table().rec<data::Schedule>(); }
    QTabWidget& tabs() { return *tabs_; }
    // The runs shown on the "&When" tab, one text per run.
    QStringList previewTexts() const;
    // The rules that follow a choice, as accepting it runs them.
    void applyTaskType();
    void applyPattern();
    void applyAlarm(bool fill);
    void updatePreview();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool prepareSave() override;
    int save() override;

private:
    void buildTask();
    void buildCommand();
    void buildMessage();
    void buildWhen();
    void buildAdvanced();
    QWidget* addTab(const QString& title);
    void nextDateAccepted();
    void advanceWarningAccepted();
    void pickDate(std::string_view field, bool patternCheck);
    void browseProgram();
    void browseAlarm();
    void playAlarm();
    void openExceptions();
    data::Schedule current() const;
    FieldEditor* field(std::string_view name) const { return binder().editor(name); }

    const ScheduleServices& services_;
    scheduler::HolidaySet holidays_;
    QTabWidget* tabs_ = nullptr;
    QWidget* commandTab_ = nullptr;
    QWidget* messageTab_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    std::vector<QWidget*> patternControls_;
    QPushButton* except_ = nullptr;
    QPushButton* alarmBrowse_ = nullptr;
    QPushButton* play_ = nullptr;
    QLabel* alarmLabel_ = nullptr;
    QListWidget* preview_ = nullptr;
};

}  // namespace plorix::ui
