#include "data/tables/messages.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Messages", "M_", "Messages", "PX97\\!Messages", 3, 2214};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_MESSAGES_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Messages, PLORIX_MESSAGES_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
