#include "data/process_tables.h"

#include <map>
#include <memory>

#include "data/open_routine.h"

namespace plorix::data {

namespace {
std::map<const TableSchema*, std::unique_ptr<Table>>& registry() {
    static std::map<const TableSchema*, std::unique_ptr<Table>> tables;
    return tables;
}
}  // namespace

Table& processTable(const TableSchema& schema) {
    auto& slot = registry()[&schema];
    if (!slot) slot = std::make_unique<Table>(schema);
    return *slot;
}

void resetProcessTables() {
    resetUseCounts();
    for (auto& [schema, table] : registry()) {
        if (table) table->close();
    }
    registry().clear();
}

}  // namespace plorix::data
