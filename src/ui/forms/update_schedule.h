#pragma once
// UPDATESCHEDULE's window: the tabs of one schedule entry, the rules that
// show, hide and fill its fields, and the next five runs of the entry as it
// stands, before anything is saved. The wizards lay out the same parts on
// pages of their own (ui/forms/schedule_pages.h).

#include <QString>
#include <functional>
#include <memory>

#include "scheduler/holiday_calendar.h"
#include "ui/forms/schedule_pages.h"
#include "ui/forms/schedule_request.h"
#include "ui/kit/update_form.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace plorix::ui {

class UpdateSchedule : public UpdateForm {
    Q_OBJECT
public:
    UpdateSchedule(store::Table& schedule, data::FormAction action, const ScheduleServices& services,
                   QWidget* parent = nullptr, ScheduleWindow window = ScheduleWindow::EntryForm);

    ScheduleWindow window() const { return window_; }
    // The editor of a field ("SCH:TIME"), nullptr when the window has none.
    FieldEditor* field(std::string_view name) const { return binder().editor(name); }
    // The folder a reply goes back to ("Reply to: " and the folder in the
    // entry's path); empty: not a reply.
    void setReplyFolder(const QString& folder) { replyFolder_ = folder; }
    // The entry a one-off copy is made of: with the skip check set, its next
    // regular run is skipped once when the copy is saved.
    void setRescheduleSource(std::int32_t id) { sourceId_ = id; }
    // Shows the disabled flag the reserved entry is to have when saved.
    void showDisabled(std::int32_t disabled);

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

    const ScheduleServices& services() const { return services_; }

private:
    void buildPages();
    void buildIntro(QVBoxLayout* box);
    void buildTaskType(QVBoxLayout* box);
    void buildCategory(QVBoxLayout* box);
    void buildCommand(QVBoxLayout* box);
    void buildMessage(QVBoxLayout* box);
    void buildWhen(QVBoxLayout* box);
    void buildAdvanced(QVBoxLayout* box);
    void markSourceSkipped();
    void nextDateAccepted();
    void advanceWarningAccepted();
    void pickDate(std::string_view field, bool patternCheck);
    void browseProgram();
    void browseAlarm();
    void playAlarm();
    void openExceptions();
    data::Schedule current() const;

    const ScheduleServices& services_;
    const ScheduleWindow window_;
    QString replyFolder_;
    std::int32_t sourceId_ = 0;
    scheduler::HolidaySet holidays_;
    QTabWidget* tabs_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    std::vector<QWidget*> patternControls_;
    QPushButton* except_ = nullptr;
    QPushButton* alarmBrowse_ = nullptr;
    QPushButton* play_ = nullptr;
    QLabel* alarmLabel_ = nullptr;
    QListWidget* preview_ = nullptr;
};

// Reserves a new entry primed by `prime`: it waits disabled in the file
// while it is edited, so the tick cannot fire it half-made. Its number (0:
// none); `disabled` gets the flag it is to have (see showDisabled).
std::int32_t reserveEntry(store::Table& table, Prompter& prompter, std::int32_t& disabled,
                          const std::function<void(data::Schedule&)>& prime);
// A reserved entry given up: it goes, with the script items copied to it or
// written meanwhile (left behind, they would become the script of the next
// task given this number) unless the entry lives in another file.
void dropReserved(store::Table& table, Prompter& prompter, std::int32_t id, bool withScript);

}  // namespace plorix::ui
