#include "data/tables/position_tag_file.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"TagFileP", "TP_", "TagFileP", "TagFileP.TPS", 1, 272, false};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_TAG_FILE_P_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(TagFileP, PLORIX_TAG_FILE_P_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
