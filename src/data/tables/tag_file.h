#pragma once
// TagFile_: tags of browse lists, one per tagged record (a file of its own).

#include "data/record_macros.h"

#define PLORIX_TAG_FILE_FIELDS(F) \
    F(USR, Int32, 4)   \
    F(TBL, Int16, 2)   \
    F(PTR, Int32, 4)   \
    F(VAL, String, 10)

namespace plorix::data {
PLORIX_RECORD(TagFile_, PLORIX_TAG_FILE_FIELDS)
}  // namespace plorix::data
