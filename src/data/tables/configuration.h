#pragma once
// Configuration: named settings values.

#include "data/record_macros.h"

#define PLORIX_CONFIGURATION_FIELDS(F) \
    F(DATATYPE, String, 40)  \
    F(DATAVALUE, String, 80)

namespace plorix::data {
PLORIX_RECORD(Configuration, PLORIX_CONFIGURATION_FIELDS)
}  // namespace plorix::data
