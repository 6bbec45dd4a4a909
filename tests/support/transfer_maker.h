#pragma once
// A synchronisation transfer file made directly, for receives of many tasks.

#include <gtest/gtest.h>

#include <string>

#include "data/tables.h"
#include "sync/transfer_file.h"

namespace plorix::test {

// `count` disabled tasks "Received 1" ... of category "Laptop", in one batch.
inline void writeTransferFile(const std::string& file, int count) {
    sync::TransferFile transfer(file);
    ASSERT_EQ(transfer.create(), "");
    store::Table& tasks = transfer.schedule();
    ASSERT_EQ(tasks.stream(), store::kNoError);
    for (int i = 1; i <= count; ++i) {
        auto& task = tasks.rec<data::SyncSchedule>();
        store::clearRecord(tasks.schema(), &task);
        task.ID = i;
        task.DESCRIPTION = "Received " + std::to_string(i);
        task.CATEGORY = "Laptop";
        task.DISABLED = 1;
        ASSERT_EQ(tasks.add(), store::kNoError) << i;
    }
    ASSERT_EQ(tasks.flush(), store::kNoError);
    ASSERT_EQ(transfer.commit(), "");
}

}  // namespace plorix::test
