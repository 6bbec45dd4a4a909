#include "data/tables/tag_file_p.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"TagFileP", "TP_", "TagFileP", "TagFileP.TPS", 1, 272, false};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{
    {"POSKEY", {"USR", "TBL", "POS"}, kPrimaryKey},
    {"VALKEY", {"USR", "TBL", "VAL"}, kDupNoCase},
};
}  // namespace

PLORIX_DEFINE_SCHEMA(TagFileP, PLORIX_TAG_FILE_P_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
