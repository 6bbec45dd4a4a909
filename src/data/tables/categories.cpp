#include "data/tables/categories.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Categories", "CAT", "Categories", "PX97\\!Categories", 2, 20};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_CATEGORIES_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Categories, PLORIX_CATEGORIES_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
