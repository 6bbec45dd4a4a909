#include "scheduler/stored_holidays.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "data/tables/holidays.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {
namespace {

using data::Holidays;

struct Row {
    std::int64_t position;
    Date date;
    bool annual;
};

// Every holiday in date order; `error` is the store's code if reading
// stopped early.
std::vector<Row> readAll(store::Table& table, int& error) {
    static const int key = data::keys::Holidays::KEYHOLIDAYDATE;
    std::vector<Row> rows;
    table.setStart(key);
    int code = store::kNoError;
    while ((code = table.next()) == store::kNoError) {
        const Holidays& holiday = table.rec<Holidays>();
        rows.push_back({table.position(), holiday.HOLIDAYDATE, holiday.ANNUAL != 0});
    }
    error = code == store::kRecordNotAvailable ? store::kNoError : code;
    return rows;
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

// Moves the annual holidays of `rows` dated before today and updates `rows`.
// One whose next date is taken stays put; it is not tried again in the store,
// so a table full of such holidays costs no writes on later calls.
int moveForward(store::Table& table, std::vector<Row>& rows, Date today) {
    if (!isUsableDate(today)) return store::kNoError;
    std::unordered_set<Date> taken;
    for (const Row& row : rows) taken.insert(row.date);

    int firstError = store::kNoError;
    auto note = [&firstError](int result) {
        if (firstError == store::kNoError) firstError = result;
    };
    bool streaming = false;
    for (Row& row : rows) {
        if (!row.annual || row.date >= today || !isUsableDate(row.date)) continue;
        const Date moved = nextOccurrence(row.date, today);
        if (moved == 0 || taken.count(moved)) continue;
        if (!streaming) {
            note(table.stream());
            streaming = true;
        }
        if (table.reget(row.position) != store::kNoError) {
            note(table.errorCode());
            continue;
        }
        table.rec<Holidays>().HOLIDAYDATE = moved;
        if (table.put() != store::kNoError) {
            note(table.errorCode());
            continue;
        }
        taken.insert(moved);
        row.date = moved;
    }
    if (streaming) note(table.flush());
    return firstError;
}

}  // namespace

int bringAnnualHolidaysForward(store::Table& holidays, Date today) {
    int error = store::kNoError;
    std::vector<Row> rows = readAll(holidays, error);
    const int moved = moveForward(holidays, rows, today);
    return error != store::kNoError ? error : moved;
}

HolidaySet readHolidaySet(store::Table& holidays, int* error) {
    int code = store::kNoError;
    HolidaySet set;
    for (const Row& row : readAll(holidays, code)) set.add(row.date, row.annual);
    if (error) *error = code;
    return set;
}

bool StoredHolidays::isHoliday(Date date) const { return loaded().isHoliday(date); }

const HolidaySet& StoredHolidays::loaded() const {
    if (loaded_) return *loaded_;
    loaded_.emplace();
    std::vector<Row> rows = readAll(table_, error_);
    const int moved = moveForward(table_, rows, today_);
    if (error_ == store::kNoError) error_ = moved;
    for (const Row& row : rows) loaded_->add(row.date, row.annual);
    return *loaded_;
}

}  // namespace plorix::scheduler
