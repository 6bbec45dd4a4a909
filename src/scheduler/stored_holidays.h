#pragma once
// Holidays read from the `Holidays` table.

#include <optional>

#include "store/store.h"
#include "scheduler/holiday_calendar.h"

namespace plorix::scheduler {

// Moves every annual holiday dated before `today` to its next date on or
// after today (same day and month; an annual 29 February to the next leap
// year), in one batch. A holiday whose new date is taken by another stays
// where it is. Returns the store's first error code, 0 when all went well.
int bringAnnualHolidaysForward(store::Table& holidays, Date today);

// The holidays of an open `Holidays` table as they stand, read without
// changing anything (annual ones match their day in every year anyway).
// `error` receives the store's code when reading stopped early.
HolidaySet readHolidaySet(store::Table& holidays, int* error = nullptr);

// The calendar of an open `Holidays` table. The table is read once, on the
// first question, after bringing its annual holidays forward; answers then
// come from memory. reload() reads it again on the next question.
class StoredHolidays final : public HolidayCalendar {
public:
    StoredHolidays(store::Table& holidays, Date today) : table_(holidays), today_(today) {}
    bool isHoliday(Date date) const override;
    void reload() { loaded_.reset(); }
    int error() const { return error_; }  // of the last read, 0 when it went well

private:
    const HolidaySet& loaded() const;
    store::Table& table_;
    Date today_;
    mutable std::optional<HolidaySet> loaded_;
    mutable int error_ = 0;
};

}  // namespace plorix::scheduler
