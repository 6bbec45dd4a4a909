#pragma once
// Which days are holidays, for entries that except holidays.

#include <bitset>
#include <cstddef>
#include <unordered_set>

#include "runtime/date_time.h"

namespace plorix::scheduler {

class HolidayCalendar {
public:
    virtual ~HolidayCalendar() = default;
    virtual bool isHoliday(Date date) const = 0;
};

// Holidays held in memory. A one-off holiday matches its own date; an annual
// one matches its day and month in every year (an annual 29 February only in
// leap years).
class HolidaySet final : public HolidayCalendar {
public:
    void add(Date date, bool annual);
    bool isHoliday(Date date) const override;
    bool empty() const { return dates_.empty() && annual_.none(); }

private:
    static std::size_t dayKey(int month, int day) { return std::size_t(month) * 32 + day; }
    std::unordered_set<Date> dates_;
    std::bitset<13 * 32> annual_;
};

// A calendar without holidays.
class NoHolidays final : public HolidayCalendar {
public:
    bool isHoliday(Date) const override { return false; }
};

}  // namespace plorix::scheduler
