#pragma once
// WindowLookup: the window titles the window monitor has seen.

#include "data/record_macros.h"

#define PLORIX_WINDOW_LOOKUP_FIELDS(F) \
    F(TITLE, String, 70) \
    F(DATE, Date, 4)     \
    F(TIME, Time, 4)

namespace plorix::data {
PLORIX_RECORD(WindowLookup, PLORIX_WINDOW_LOOKUP_FIELDS)
}  // namespace plorix::data
