#pragma once
// Reads every record of a table in the order of one of its keys. Every key
// leaves out the records whose key components are all blank or zero (a task
// with neither name nor category is not in the name key), so after the key
// those records follow in the order they were added. Nothing is lost from
// an export or a transfer file for having a blank key.

#include <cstdint>

#include "store/store.h"

namespace plorix::io {

class CompleteScan {
public:
    CompleteScan(store::Table& table, int key) : table_(table), key_(key) {}
    // Positions before the first record.
    void start();
    // Reads the next record into the table's buffer: 0, 33 after the last,
    // or the store's code of a failed read.
    int next();

private:
    bool outsideKey() const;
    store::Table& table_;
    int key_;
    bool inKey_ = true;
    std::uint64_t readInKey_ = 0;
};

}  // namespace plorix::io
