#include "data/tables/todo.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {
using namespace detail;
const TableInfo kTodo{"Todo", "TDO", "ToDo", "PX97\\!ToDo", 4, 152};
const TableInfo kSyncTodo{"SyncTodo", "STdo", "todo", "SyncTodo.syn", 1, 152};
const std::vector<GroupSpec> kGroups{};
const std::vector<KeySpec> kKeys{PLORIX_TODO_KEYS(PLORIX_KEY_SPEC)};
}  // namespace

PLORIX_DEFINE_SCHEMA(Todo, PLORIX_TODO_FIELDS, kTodo, kGroups, kKeys)
PLORIX_DEFINE_SCHEMA(SyncTodo, PLORIX_TODO_FIELDS, kSyncTodo, kGroups, kKeys)

}  // namespace plorix::data
