#include "data/tables/configuration.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Configuration", "CF", "CF", "PX97\\!CF", 1, 120};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_CONFIGURATION_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Configuration, PLORIX_CONFIGURATION_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
