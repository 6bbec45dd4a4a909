#pragma once
// Todo: the to-do list. SyncTodo has the same layout in the transfer file.

#include "store/record_macros.h"

#define PLORIX_TODO_FIELDS(F)  \
    F(DONE, Byte, 1)           \
    F(PRIORITY, Byte, 1)       \
    F(CATEGORY, String, 20)    \
    F(TODO, String, 80)        \
    F(COMPLETIONDATE, Date, 4) \
    F(COMPLETIONTIME, Time, 4) \
    F(NETWORKUSER, String, 30) \
    F(LASTCHANGEDATE, Date, 4) \
    F(LASTCHANGETIME, Time, 4) \
    F(ORIGINALID, Int32, 4)    \
    F(NOTES, Memo, 4096)       \
    F(RESOLUTION, Memo, 1000)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_TODO_KEYS(K)                              \
    K(KEYDONE, kDupCase, "DONE", "PRIORITY", "TODO")     \
    K(KEYPRIORITY, kDupCase, "PRIORITY", "DONE", "TODO") \
    K(KEYTODO, kDupCase, "TODO")                         \
    K(KEYCATEGORY, kDupNoCase, "CATEGORY", "PRIORITY", "TODO")

namespace plorix::data {
PLORIX_RECORD(Todo, PLORIX_TODO_FIELDS)
PLORIX_RECORD(SyncTodo, PLORIX_TODO_FIELDS)
PLORIX_KEYS(Todo, PLORIX_TODO_KEYS)
namespace keys {
using SyncTodo = Todo;
}
}  // namespace plorix::data
