#include "data/tables/clipboard.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Clipboard", "CLI", "Clipboard", "PX97\\!Clipboard", 3, 89};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_CLIPBOARD_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Clipboard, PLORIX_CLIPBOARD_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
