#include "table_checksum.h"

#include <cstdio>

#include "cli.h"

namespace plorix::cli {

void TableChecksum::mix(std::string_view bytes) {
    for (const char c : bytes) {
        hash_ ^= static_cast<unsigned char>(c);
        hash_ *= 0x100000001b3ull;
    }
}

void TableChecksum::add(const store::Table& table) {
    for (const auto& field : table.schema().fields) {
        mix(store::fieldToText(field, table.buffer()));
        mix("\x1f");
    }
    mix("\x1e");
    ++records_;
}

std::string TableChecksum::hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
}

TableChecksum checksumOf(store::Table& table) {
    TableChecksum sum;
    table.setStart(-1);
    while (table.next() == store::kNoError) sum.add(table);
    if (table.errorCode() != store::kRecordNotAvailable)
        throw WorkFailure("reading " + table.schema().label + ": " + table.error().describe());
    return sum;
}

}  // namespace plorix::cli
