#include "data/tables/clipboard.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Clipboard", "CLI", "Clipboard", "PX97\\!Clipboard", 3, 89};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{
    {"KEYCLIPDATE", {"USER", "CLIPKEEP", "CLIPDATE", "CLIPTIME"}, kDupCase},
    {"KEYCLIPHASH", {"USER", "CLIPHASHKEY"}, kUniqueNoCase},
};
}  // namespace

PLORIX_DEFINE_SCHEMA(Clipboard, PLORIX_CLIPBOARD_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
