#pragma once
// ContactCategories: the categories contacts are filed under.

#include "data/record_macros.h"

#define PLORIX_CONTACT_CATEGORIES_FIELDS(F) \
    F(CONTACTCATEGORY, String, 20)

namespace plorix::data {
PLORIX_RECORD(ContactCategories, PLORIX_CONTACT_CATEGORIES_FIELDS)
}  // namespace plorix::data
