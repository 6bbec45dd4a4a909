#include "data/tables/link.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Link", "L", "Link", "PX97\\!Link", 2, 8};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_LINK_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Link, PLORIX_LINK_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
