#pragma once
// CALENDAR ("Select Date"): a month of day buttons with month and year
// spins. In the pattern-check mode the days on which the entry cannot run
// are disabled; holidays and the entry's coming runs are marked. A day
// before today is taken only when the user confirms it.

#include <QDialog>
#include <vector>

#include "data/tables/schedule.h"
#include "runtime/clock.h"
#include "runtime/date_time.h"
#include "runtime/prompter.h"
#include "scheduler/holiday_calendar.h"

class QPushButton;
class QSpinBox;

namespace plorix::ui {

struct CalendarRequest {
    Date start = 0;  // 0: today
    QString title = QStringLiteral("Select Date");
    // With an entry, days its pattern cannot produce are disabled.
    const data::Schedule* entry = nullptr;
    const scheduler::HolidayCalendar* holidays = nullptr;
    std::vector<Date> runs;  // the entry's coming runs, marked
};

class Calendar final : public QDialog {
public:
    Calendar(CalendarRequest request, Prompter& prompter, const Clock& clock, QWidget* parent = nullptr);

    // The day picked, or the start date when the window was closed.
    Date chosen() const { return chosen_; }
    void showMonth(int month, int year);
    // The button of a day of the month shown.
    QPushButton* dayButton(int day) const;
    QSpinBox& yearSpin() const { return *year_; }

private:
    void pick(Date date);
    void yearEntered();

    CalendarRequest request_;
    Prompter& prompter_;
    Date today_;
    Date chosen_;
    QSpinBox* month_ = nullptr;
    QSpinBox* year_ = nullptr;
    std::vector<QPushButton*> days_;  // the 6 x 7 grid
    Date firstShown_ = 0;             // the date of grid cell 0
};

// Opens the calendar modally; the date chosen (the start when closed).
Date pickDate(QWidget* parent, Prompter& prompter, const Clock& clock, CalendarRequest request);

}  // namespace plorix::ui
