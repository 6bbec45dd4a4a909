#pragma once
// ContactCategories: the categories contacts are filed under.

#include "store/record_macros.h"

#define PLORIX_CONTACT_CATEGORIES_FIELDS(F) F(CONTACTCATEGORY, String, 20)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_CONTACT_CATEGORIES_KEYS(K) K(KEYCONTACTCATEGORIES, kUniqueNoCase, "CONTACTCATEGORY")

namespace plorix::data {
PLORIX_RECORD(ContactCategories, PLORIX_CONTACT_CATEGORIES_FIELDS)
PLORIX_KEYS(ContactCategories, PLORIX_CONTACT_CATEGORIES_KEYS)
}  // namespace plorix::data
