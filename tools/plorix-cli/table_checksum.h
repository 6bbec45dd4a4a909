#pragma once
// A checksum of a table's records in record order: 64-bit FNV-1a over every
// field of every record as its text (the form list prints), each field
// followed by a unit separator and each record by a record separator, so
// that neither a value moved to another field nor records in another order
// go unnoticed.

#include <cstdint>
#include <string>

#include "store/store.h"

namespace plorix::cli {

class TableChecksum {
public:
    // Adds the record in the table's buffer.
    void add(const store::Table& table);
    std::int64_t records() const { return records_; }
    std::uint64_t value() const { return hash_; }
    std::string hex() const;

private:
    void mix(std::string_view bytes);
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
    std::int64_t records_ = 0;
};

// Reads the whole table in record order; WorkFailure when a read fails.
TableChecksum checksumOf(store::Table& table);

}  // namespace plorix::cli
