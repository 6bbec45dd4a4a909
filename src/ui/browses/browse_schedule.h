#pragma once
// BROWSESCHEDULE ("View Schedule"): the tasks of one day, all tasks by date
// or by category, those a search selected, with a status icon each; the place to add, copy, edit,
// delete, run and quick-start them. Refreshed when the frame's tick changes
// tasks, and at midnight when it showed today.

#include <QTimer>
#include <memory>
#include <unordered_set>

#include "scheduler/frame_state.h"
#include "ui/forms/schedule_request.h"
#include "ui/kit/browse_window.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace plorix::ui {

class BrowseSchedule final : public BrowseWindow {
    Q_OBJECT
public:
    enum Tab { DayTab, DateTab, CategoryTab, SelectedTab };

    // `browses` is the frame's list of windows to refresh (may be null).
    BrowseSchedule(const ScheduleServices& services, scheduler::BrowseRegistry* browses,
                   QWidget* parent = nullptr);
    ~BrowseSchedule() override;

    Date selectedDay() const { return day_; }
    void setSelectedDay(Date day, bool shortPicture);
    void setCategory(const QString& category);
    bool activeOnly() const { return activeOnly_; }
    void setActiveOnly(bool on);
    // Adds the one-off copy of the selected task `delay` hundredths from now.
    void quickStart(std::int64_t delay);
    // The status of a task as its icon says it.
    static QString statusOf(const data::Schedule& entry);

protected:
    void preparePage(int tab) override;

private:
    bool request(ScheduleRequest request, const data::Schedule* entry);
    const data::Schedule* selectedEntry() const { return static_cast<const data::Schedule*>(selected()); }
    void pickDay();
    void pickCategory();
    void search();
    void runNow();
    void quickStartMenu();
    void checkMidnight();
    QVariant decorate(const void* record, int column, int role) const;

    ScheduleServices services_;
    scheduler::BrowseRegistry* browses_;
    int registration_ = 0;
    Date day_ = 0;
    Date today_ = 0;
    QString category_;
    // The tasks tagged by a search, read when "Selected" is shown.
    std::shared_ptr<const std::unordered_set<std::int32_t>> selected_;
    bool activeOnly_ = false;
    QLabel* dayLabel_ = nullptr;
    QLabel* categoryLabel_ = nullptr;
    QCheckBox* activeBox_ = nullptr;
    QTimer midnight_;
};

// Opens the browse, or brings the open one to the front.
BrowseSchedule* openBrowseSchedule(const ScheduleServices& services, scheduler::BrowseRegistry* browses,
                                   QWidget* parent = nullptr);

}  // namespace plorix::ui
