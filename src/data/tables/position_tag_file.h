#pragma once
// TagFileP: tags keyed by a textual record position (a file of its own).

#include "store/record_macros.h"

#define PLORIX_TAG_FILE_P_FIELDS(F) \
    F(USR, Int32, 4)                \
    F(TBL, Int16, 2)                \
    F(POS, String, 256)             \
    F(VAL, String, 10)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_TAG_FILE_P_KEYS(K)               \
    K(POSKEY, kPrimaryKey, "USR", "TBL", "POS") \
    K(VALKEY, kDupNoCase, "USR", "TBL", "VAL")

namespace plorix::data {
PLORIX_RECORD(TagFileP, PLORIX_TAG_FILE_P_FIELDS)
PLORIX_KEYS(TagFileP, PLORIX_TAG_FILE_P_KEYS)
}  // namespace plorix::data
