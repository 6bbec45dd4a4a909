#pragma once
// Configuration: named settings values.

#include "store/record_macros.h"

#define PLORIX_CONFIGURATION_FIELDS(F) \
    F(DATATYPE, String, 40)            \
    F(DATAVALUE, String, 80)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_CONFIGURATION_KEYS(K) K(KEYDATATYPE, kUniqueNoCase, "DATATYPE")

namespace plorix::data {
PLORIX_RECORD(Configuration, PLORIX_CONFIGURATION_FIELDS)
PLORIX_KEYS(Configuration, PLORIX_CONFIGURATION_KEYS)
}  // namespace plorix::data
