#pragma once
// TagFile_: tags of browse lists, one per tagged record (a file of its own).

#include "store/record_macros.h"

#define PLORIX_TAG_FILE_FIELDS(F) \
    F(USR, Int32, 4)              \
    F(TBL, Int16, 2)              \
    F(PTR, Int32, 4)              \
    F(VAL, String, 10)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_TAG_FILE_KEYS(K)                 \
    K(PTRKEY, kPrimaryKey, "USR", "TBL", "PTR") \
    K(VALKEY, kDupNoCase, "USR", "TBL", "VAL")

namespace plorix::data {
PLORIX_RECORD(TagFile_, PLORIX_TAG_FILE_FIELDS)
PLORIX_KEYS(TagFile_, PLORIX_TAG_FILE_KEYS)
}  // namespace plorix::data
