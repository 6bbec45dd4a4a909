#pragma once
// The task wizards: the schedule entry's parts on pages walked with
// "<- &Back" and "&Next ->", each page checked before it is left and every
// page again before "&Finish" saves as the entry form does.

#include <QString>

#include "ui/forms/update_schedule.h"

namespace plorix::ui {

class ScheduleWizard final : public UpdateSchedule {
    Q_OBJECT
public:
    ScheduleWizard(store::Table& schedule, data::FormAction action, const ScheduleServices& services,
                   ScheduleWindow window, QWidget* parent = nullptr);

    int page() const { return page_; }
    void next();
    void back();
    void finish();

private:
    void showPage(int page);
    // Reads the fields of page `page`; false (with the field's message and
    // the page shown) when one cannot be read.
    bool checkPage(int page);
    std::string taskType() const;

    int page_ = 0;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;
};

// ADDTASKWIZARD, ADDPROGRAMWIZARD, ADDMESSAGEWIZARD: whether an entry was added.
bool addWithWizard(QWidget* parent, const ScheduleServices& services, ScheduleWindow window);
// SPECIALEVENTWIZARD: a one-off copy of `source`; whether it was added.
bool rescheduleEntry(QWidget* parent, const ScheduleServices& services, const data::Schedule& source);
// FASTADD: a one-off message added to the data file of `folder`, opened by
// its absolute path on a connection of its own (nothing is created there),
// its path naming this program's folder to reply to. False when that data
// file cannot be opened.
bool replyWithWizard(QWidget* parent, const ScheduleServices& services, const std::string& folder);

}  // namespace plorix::ui
