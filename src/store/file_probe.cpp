#include "store/file_probe.h"

#include "store/database.h"
#include "store/sql_error.h"
#include "store/table_sql.h"

namespace plorix::store {
namespace {

// The first column of every row of `sql`; false when it cannot be read.
bool column(Database& db, const std::string& sql, std::vector<std::string>& out, ErrorState& error) {
    Statement* statement = db.prepare(sql, error);
    if (!statement) return false;
    StatementUse use(*statement);
    int rc;
    while ((rc = use->step()) == kStepRow) out.emplace_back(use->text(0));
    if (rc == kStepDone) return true;
    error = db.lastError(rc);
    return false;
}

}  // namespace

FileProbe probeFile(const std::string& path, const std::string& password) {
    FileProbe probe;
    ErrorState error;
    Database::Options options;
    options.readOnly = true;
    const std::shared_ptr<Database> db = Database::acquire(path, password, options, error);
    if (!db) {
        probe.code = error.code;
        return probe;
    }
    if (!column(*db, std::string(db->dialect().tablesQuery), probe.tables, error)) {
        probe.code = error.code;
        return probe;
    }
    for (const std::string& table : probe.tables) {
        if (table != sql::kCatalogue) continue;
        if (!column(*db, "SELECT label FROM " + sql::quote(sql::kCatalogue), probe.labels, error))
            probe.code = error.code;
    }
    return probe;
}

}  // namespace plorix::store
