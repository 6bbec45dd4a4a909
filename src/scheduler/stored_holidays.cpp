#include "scheduler/stored_holidays.h"

#include <cstdint>
#include <vector>

#include "data/tables/holidays.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {
namespace {

using data::Holidays;

int keyByDate() {
    static const int key = Holidays::schema().keyIndex("HOL:KEYHOLIDAYDATE");
    return key;
}

// The first date on or after `today` with the holiday's day and month; 0 when
// there is none before the calendar ends.
Date nextOccurrence(Date holiday, Date today) {
    const CivilDate date = civilFromDate(holiday);
    for (int year = yearOf(today); year <= 9999; ++year) {
        if (date.day > daysInMonth(date.month, year)) continue;  // 29 February
        const Date candidate = makeDate(date.month, date.day, year);
        if (candidate >= today) return candidate;
    }
    return 0;
}

}  // namespace

int bringAnnualHolidaysForward(data::Table& holidays, Date today) {
    if (!isUsableDate(today)) return 0;
    // Positions first, moves after: a moved holiday changes its place in
    // the order being walked.
    std::vector<std::int64_t> due;
    holidays.setStart(keyByDate());
    int code = data::kNoError;
    while ((code = holidays.next()) == data::kNoError) {
        const Holidays& holiday = holidays.rec<Holidays>();
        if (holiday.HOLIDAYDATE >= today) break;
        if (holiday.ANNUAL && isUsableDate(holiday.HOLIDAYDATE)) due.push_back(holidays.position());
    }
    int firstError = code == data::kRecordNotAvailable ? data::kNoError : code;
    if (due.empty()) return firstError;

    auto note = [&firstError](int result) {
        if (firstError == data::kNoError && result != data::kDuplicateKey) firstError = result;
    };
    note(holidays.stream());
    for (std::int64_t position : due) {
        if (holidays.reget(position) != data::kNoError) {
            note(holidays.errorCode());
            continue;
        }
        Holidays& holiday = holidays.rec<Holidays>();
        const Date moved = nextOccurrence(holiday.HOLIDAYDATE, today);
        if (moved == 0) continue;
        holiday.HOLIDAYDATE = moved;
        note(holidays.put());
    }
    note(holidays.flush());
    return firstError;
}

bool StoredHolidays::isHoliday(Date date) const { return loaded().isHoliday(date); }

const HolidaySet& StoredHolidays::loaded() const {
    if (loaded_) return *loaded_;
    loaded_.emplace();
    error_ = bringAnnualHolidaysForward(table_, today_);
    table_.setStart(keyByDate());
    int code = data::kNoError;
    while ((code = table_.next()) == data::kNoError) {
        const Holidays& holiday = table_.rec<Holidays>();
        loaded_->add(holiday.HOLIDAYDATE, holiday.ANNUAL != 0);
    }
    if (code != data::kRecordNotAvailable && error_ == data::kNoError) error_ = code;
    return *loaded_;
}

}  // namespace plorix::scheduler
