#pragma once
// Categories: the category names shared by tasks and to-do items.

#include "store/record_macros.h"

#define PLORIX_CATEGORIES_FIELDS(F) F(CATEGORY, String, 20)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_CATEGORIES_KEYS(K) K(KEYCATEGORY, kUniqueNoCase, "CATEGORY")

namespace plorix::data {
PLORIX_RECORD(Categories, PLORIX_CATEGORIES_FIELDS)
PLORIX_KEYS(Categories, PLORIX_CATEGORIES_KEYS)
}  // namespace plorix::data
