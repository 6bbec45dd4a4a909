#include "data/tables/contact.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Contact", "C_", "Contact", "Px97.TPS\\!Contact", 2, 394};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_CONTACT_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Contact, PLORIX_CONTACT_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
