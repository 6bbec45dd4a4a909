#include "data/tables/tag_file.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"TagFile_", "TF_", "TagFile_", "TagFile_.TPS", 1, 20, false};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_TAG_FILE_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(TagFile_, PLORIX_TAG_FILE_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
