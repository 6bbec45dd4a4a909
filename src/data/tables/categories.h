#pragma once
// Categories: the category names shared by tasks and to-do items.

#include "data/record_macros.h"

#define PLORIX_CATEGORIES_FIELDS(F) \
    F(CATEGORY, String, 20)

namespace plorix::data {
PLORIX_RECORD(Categories, PLORIX_CATEGORIES_FIELDS)
}  // namespace plorix::data
