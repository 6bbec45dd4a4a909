#include "data/tables/window_lookup.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"WindowLookup", "WL", "WL", "PX97\\!WL", 2, 78};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_WINDOW_LOOKUP_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(WindowLookup, PLORIX_WINDOW_LOOKUP_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
