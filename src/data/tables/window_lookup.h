#pragma once
// WindowLookup: the window titles the window monitor has seen.

#include "store/record_macros.h"

#define PLORIX_WINDOW_LOOKUP_FIELDS(F) \
    F(TITLE, String, 70)               \
    F(DATE, Date, 4)                   \
    F(TIME, Time, 4)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_WINDOW_LOOKUP_KEYS(K)  \
    K(KEYTITLE, kUniqueCase, "TITLE") \
    K(KEYDATE, kDupNoCase, "DATE", "TIME", "TITLE")

namespace plorix::data {
PLORIX_RECORD(WindowLookup, PLORIX_WINDOW_LOOKUP_FIELDS)
PLORIX_KEYS(WindowLookup, PLORIX_WINDOW_LOOKUP_KEYS)
}  // namespace plorix::data
