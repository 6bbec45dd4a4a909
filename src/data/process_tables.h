#pragma once
// The program's tables: one Table object (and so one current-record buffer)
// per table, shared by every window and task of the process.
//
//     Table& schedule = processTable<Schedule>();
//     TableUse use(schedule, prompter);

#include "store/store.h"

namespace plorix::data {

store::Table& processTable(const store::TableSchema& schema);

template <typename Record>
store::Table& processTable() {
    return processTable(Record::schema());
}

// Closes and forgets every process table (at program end, and between tests).
void resetProcessTables();

}  // namespace plorix::data
