#pragma once
// Holidays: days that schedules may except.

#include "store/record_macros.h"

#define PLORIX_HOLIDAYS_FIELDS(F) \
    F(HOLIDAYDATE, Date, 4)       \
    F(HOLIDAY, String, 20)        \
    F(ANNUAL, Byte, 1)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_HOLIDAYS_KEYS(K) K(KEYHOLIDAYDATE, kUniqueNoCase, "HOLIDAYDATE")

namespace plorix::data {
PLORIX_RECORD(Holidays, PLORIX_HOLIDAYS_FIELDS)
PLORIX_KEYS(Holidays, PLORIX_HOLIDAYS_KEYS)
}  // namespace plorix::data
