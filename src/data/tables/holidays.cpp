#include "data/tables/holidays.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Holidays", "HOL", "Hol", "PX97\\!Hol", 2, 25};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_HOLIDAYS_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Holidays, PLORIX_HOLIDAYS_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
