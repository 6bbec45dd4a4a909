#pragma once
// The program's tables: one Table object (and so one current-record buffer)
// per table, shared by every window and task of the process.
//
//     Table& schedule = processTable<Schedule>();
//     TableUse use(schedule, prompter);

#include "data/store.h"

namespace plorix::data {

Table& processTable(const TableSchema& schema);

template <typename Record>
Table& processTable() {
    return processTable(Record::schema());
}

// Closes and forgets every process table (at program end, and between tests).
void resetProcessTables();

}  // namespace plorix::data
