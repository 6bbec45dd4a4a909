#pragma once
// Link: which contacts a task concerns.

#include "data/record_macros.h"

#define PLORIX_LINK_FIELDS(F) \
    F(ID, Int32, 4)       \
    F(CLIENTID, Int32, 4)

namespace plorix::data {
PLORIX_RECORD(Link, PLORIX_LINK_FIELDS)
}  // namespace plorix::data
