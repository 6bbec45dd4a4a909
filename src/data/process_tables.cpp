#include "data/process_tables.h"

#include <map>
#include <memory>

#include "data/open_routine.h"

namespace plorix::data {

namespace {
std::map<const store::TableSchema*, std::unique_ptr<store::Table>>& registry() {
    static std::map<const store::TableSchema*, std::unique_ptr<store::Table>> tables;
    return tables;
}
}  // namespace

store::Table& processTable(const store::TableSchema& schema) {
    auto& slot = registry()[&schema];
    if (!slot) slot = std::make_unique<store::Table>(schema);
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
