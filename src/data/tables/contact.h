#pragma once
// Contact: people a task concerns and messages are addressed to.

#include "store/record_macros.h"

#define PLORIX_CONTACT_FIELDS(F)    \
    F(USER, String, 40)             \
    F(CLIENTID, Int32, 4)           \
    F(LASTNAME, String, 30)         \
    F(FIRSTNAME, String, 20)        \
    F(ADDRESSLINE1, String, 30)     \
    F(ADDRESSLINE2, String, 30)     \
    F(ADDRESSLINE3, String, 30)     \
    F(POSTALCODE, String, 10)       \
    F(WORKDAYPHONE, String, 20)     \
    F(HOMEEVENINGPHONE, String, 20) \
    F(FAX, String, 20)              \
    F(OTHERPHONE, String, 20)       \
    F(EMAIL, String, 40)            \
    F(WEBSITE, String, 60)          \
    F(CONTACTCATEGORY, String, 20)  \
    F(NOTES, Memo, 1024)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_CONTACT_KEYS(K)                                         \
    K(KEYCLIENTID, kPrimaryKey, "CLIENTID")                            \
    K(KEYUSERCLIENTID, kDupNoCase, "USER", "CLIENTID")                 \
    K(KEYLASTNAME, kDupNoCase, "LASTNAME", "FIRSTNAME", "POSTALCODE")  \
    K(KEYFIRSTNAME, kDupNoCase, "FIRSTNAME", "LASTNAME", "POSTALCODE") \
    K(KEYWORKPHONE, kDupNoCase, "WORKDAYPHONE")                        \
    K(KEYHOMEPHONE, kDupNoCase, "HOMEEVENINGPHONE")                    \
    K(KEYFAXNUMBER, kDupNoCase, "FAX")                                 \
    K(KEYEMAIL, kDupNoCase, "EMAIL")                                   \
    K(KEYCATEGORY, kDupNoCase, "CONTACTCATEGORY", "LASTNAME", "FIRSTNAME")

namespace plorix::data {
PLORIX_RECORD(Contact, PLORIX_CONTACT_FIELDS)
PLORIX_KEYS(Contact, PLORIX_CONTACT_KEYS)
}  // namespace plorix::data
