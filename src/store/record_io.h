#pragma once
// Moving record buffers in and out of statements.

#include "store/schema.h"
#include "store/statement.h"

namespace plorix::store {

// Binds every field to ?1..?m. Texts are bound in place: the record must not
// change until the statement is reset.
void bindFields(Statement& statement, const TableSchema& schema, const void* record);
// Binds copies of the key's components to ?1..?n, so that the row read may
// overwrite the record.
void bindKey(Statement& statement, const TableSchema& schema, const KeyDesc& key, const void* record);
// Reads the fields from the current row, starting at `firstColumn`.
void readFields(const Statement& statement, const TableSchema& schema, void* record, int firstColumn);

}  // namespace plorix::store
