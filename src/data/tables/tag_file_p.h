#pragma once
// TagFileP: tags keyed by a textual record position (a file of its own).

#include "data/record_macros.h"

#define PLORIX_TAG_FILE_P_FIELDS(F) \
    F(USR, Int32, 4)    \
    F(TBL, Int16, 2)    \
    F(POS, String, 256) \
    F(VAL, String, 10)

namespace plorix::data {
PLORIX_RECORD(TagFileP, PLORIX_TAG_FILE_P_FIELDS)
}  // namespace plorix::data
