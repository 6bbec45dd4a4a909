#include "data/tables/contact.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kInfo{"Contact", "C_", "Contact", "Px97.TPS\\!Contact", 2, 394};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{
    {"KEYCLIENTID", {"CLIENTID"}, kPrimaryKey},
    {"KEYUSERCLIENTID", {"USER", "CLIENTID"}, kDupNoCase},
    {"KEYLASTNAME", {"LASTNAME", "FIRSTNAME", "POSTALCODE"}, kDupNoCase},
    {"KEYFIRSTNAME", {"FIRSTNAME", "LASTNAME", "POSTALCODE"}, kDupNoCase},
    {"KEYWORKPHONE", {"WORKDAYPHONE"}, kDupNoCase},
    {"KEYHOMEPHONE", {"HOMEEVENINGPHONE"}, kDupNoCase},
    {"KEYFAXNUMBER", {"FAX"}, kDupNoCase},
    {"KEYEMAIL", {"EMAIL"}, kDupNoCase},
    {"KEYCATEGORY", {"CONTACTCATEGORY", "LASTNAME", "FIRSTNAME"}, kDupNoCase},
};
}  // namespace

PLORIX_DEFINE_SCHEMA(Contact, PLORIX_CONTACT_FIELDS, kInfo, kGroups, kKeys)

}  // namespace plorix::data
