#pragma once
// Holidays: days that schedules may except.

#include "data/record_macros.h"

#define PLORIX_HOLIDAYS_FIELDS(F) \
    F(HOLIDAYDATE, Date, 4) \
    F(HOLIDAY, String, 20)  \
    F(ANNUAL, Byte, 1)

namespace plorix::data {
PLORIX_RECORD(Holidays, PLORIX_HOLIDAYS_FIELDS)
}  // namespace plorix::data
