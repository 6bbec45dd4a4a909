#pragma once
// Clipboard: saved clipboard texts.

#include "store/record_macros.h"

#define PLORIX_CLIPBOARD_FIELDS(F) \
    F(USER, String, 40)            \
    F(CLIPDATE, Date, 4)           \
    F(CLIPTIME, Time, 4)           \
    F(CLIPHASHKEY, String, 40)     \
    F(CLIPKEEP, Byte, 1)           \
    F(CLIPCONTENTS, Memo, 4096)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_CLIPBOARD_KEYS(K)                                         \
    K(KEYCLIPDATE, kDupCase, "USER", "CLIPKEEP", "CLIPDATE", "CLIPTIME") \
    K(KEYCLIPHASH, kUniqueNoCase, "USER", "CLIPHASHKEY")

namespace plorix::data {
PLORIX_RECORD(Clipboard, PLORIX_CLIPBOARD_FIELDS)
PLORIX_KEYS(Clipboard, PLORIX_CLIPBOARD_KEYS)
}  // namespace plorix::data
