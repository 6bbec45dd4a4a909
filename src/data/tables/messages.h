#pragma once
// Messages: stored e-mail and news messages.

#include "store/record_macros.h"

#define PLORIX_MESSAGES_FIELDS(F) \
    F(EMAILID, Int32, 4)          \
    F(MAILTYPE, String, 12)       \
    F(CONTACTID, Int32, 4)        \
    F(EMAILTO, String, 255)       \
    F(EMAILTONAME, String, 255)   \
    F(EMAILTOGROUP, String, 20)   \
    F(CC, String, 255)            \
    F(BCC, String, 255)           \
    F(SUBJECT, String, 255)       \
    F(ATTACHMENT, String, 255)    \
    F(LASTDATESENT, Date, 4)      \
    F(MAIL_SERVER, String, 128)   \
    F(MAIL_USER, String, 128)     \
    F(NEWS_SERVER, String, 128)   \
    F(NEWS_USER, String, 128)     \
    F(NEWS_PASSWORD, String, 128) \
    F(MESSAGE, Memo, 10000)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_MESSAGES_KEYS(K)                       \
    K(KEYEMAILID, kPrimaryKey, "EMAILID")             \
    K(KEYCONTACT, kDupNoCase, "CONTACTID", "EMAILID") \
    K(KEYSUBJECT, kDupNoCase, "SUBJECT")              \
    K(KEYLASTDATESENT, kDupNoCase, "LASTDATESENT")

namespace plorix::data {
PLORIX_RECORD(Messages, PLORIX_MESSAGES_FIELDS)
PLORIX_KEYS(Messages, PLORIX_MESSAGES_KEYS)
}  // namespace plorix::data
