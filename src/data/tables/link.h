#pragma once
// Link: which contacts a task concerns.

#include "store/record_macros.h"

#define PLORIX_LINK_FIELDS(F) \
    F(ID, Int32, 4)           \
    F(CLIENTID, Int32, 4)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_LINK_KEYS(K)                       \
    K(KEYCLIENT, kUniqueNoCase, "CLIENTID", "ID") \
    K(KEYSCHEDULE, kPrimaryKey, "ID", "CLIENTID")

namespace plorix::data {
PLORIX_RECORD(Link, PLORIX_LINK_FIELDS)
PLORIX_KEYS(Link, PLORIX_LINK_KEYS)
}  // namespace plorix::data
