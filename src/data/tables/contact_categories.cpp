#include "data/tables/contact_categories.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"ContactCategories", "CC", "ConCat", "px97\\!ConCat", 2, 20};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_CONTACT_CATEGORIES_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(ContactCategories, PLORIX_CONTACT_CATEGORIES_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
