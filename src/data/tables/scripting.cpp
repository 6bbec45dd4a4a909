#include "data/tables/scripting.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kScripting{"Scripting", "SCR", "Script", "PX97\\!Script", 5, 2003};
const TableInfo kSyncScripting{"SyncScripting", "SScr", "scr", "SyncScr.syn", 2, 2003};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_SCRIPTING_KEYS(PLORIX_KEY_SPEC)};
// The transfer file carries script items by owner only.
const std::vector<KeySpec> kSyncKeys{kKeys.front()};
}  // namespace

PLORIX_DEFINE_SCHEMA(Scripting, PLORIX_SCRIPTING_FIELDS, kScripting, kGroups, kKeys)
PLORIX_DEFINE_SCHEMA(SyncScripting, PLORIX_SCRIPTING_FIELDS, kSyncScripting, kGroups, kSyncKeys)

}  // namespace plorix::data
