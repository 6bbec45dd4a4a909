#pragma once
// Clipboard: saved clipboard texts.

#include "data/record_macros.h"

#define PLORIX_CLIPBOARD_FIELDS(F) \
    F(USER, String, 40)         \
    F(CLIPDATE, Date, 4)        \
    F(CLIPTIME, Time, 4)        \
    F(CLIPHASHKEY, String, 40)  \
    F(CLIPKEEP, Byte, 1)        \
    F(CLIPCONTENTS, Memo, 4096)

namespace plorix::data {
PLORIX_RECORD(Clipboard, PLORIX_CLIPBOARD_FIELDS)
}  // namespace plorix::data
