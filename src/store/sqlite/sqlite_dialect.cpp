// The SQL of an encrypted data file.

#include "store/dialect.h"
#include "store/table_sql.h"

namespace plorix::store {

namespace {

std::string nocase(std::string_view column) { return std::string(column) + " COLLATE NOCASE"; }
std::string asGiven(std::string parameter) { return parameter; }
std::string nothing(std::string_view) { return {}; }

std::string columnsOf(std::string_view table) { return "PRAGMA table_info(" + sql::quote(table) + ")"; }

std::string replaceEntry(std::string_view catalogue, std::string_view values) {
    return "INSERT OR REPLACE INTO " + std::string(catalogue) + " VALUES (" + std::string(values) + ")";
}

std::string noKeyText(std::string_view, std::string_view) { return {}; }

std::string dropIndex(std::string_view index) { return "DROP INDEX " + sql::quote(index); }

}  // namespace

const Dialect& sqliteDialect() {
    static const Dialect dialect{
        .parameterMark = '?',
        .positionColumn = " INTEGER PRIMARY KEY",
        .integerType = "INTEGER",
        .textType = "TEXT",
        .nocaseColumn = nocase,
        .nocaseValue = asGiven,
        .nocaseIndexColumn = nocase,
        .insertTail = "",
        .updateSkipsDuplicates = false,
        .objectsOfTable =
            "SELECT type, name, sql FROM sqlite_master WHERE tbl_name = ?1 COLLATE NOCASE"
            " OR name = ?2",
        .columnsOfTable = columnsOf,
        .tablesQuery = "SELECT name FROM sqlite_master WHERE type = 'table'",
        .catalogueColumns =
            "\"name\" TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, \"label\" TEXT NOT NULL,"
            " \"version\" INTEGER NOT NULL",
        .recordInCatalogue = replaceEntry,
        .recordKey = noKeyText,
        .forgetKey = dropIndex,
        .positionsTaken = nothing,
        .integrityCheck = "PRAGMA integrity_check",
        // Moves on with the commits of every other connection, not this one's.
        .commitsQuery = "PRAGMA data_version",
    };
    return dialect;
}

}  // namespace plorix::store
