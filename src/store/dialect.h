#pragma once
// The differences between the SQL of the backends, in one table per
// backend: the SQL text builders take every backend-specific word from here.

#include <string>
#include <string_view>

namespace plorix::store {

struct Dialect {
    char parameterMark;               // parameters are numbered: ?1 or $1
    std::string_view positionColumn;  // the declaration of "_pos" after its name
    std::string_view integerType;     // 64-bit integers
    std::string_view textType;        // texts ordered byte by byte
    // A text component of a nocase key: the column as queries compare and
    // order it, the value compared with it, and the column in the index.
    std::string (*nocaseColumn)(std::string_view quotedColumn);
    std::string (*nocaseValue)(std::string parameter);
    std::string (*nocaseIndexColumn)(std::string_view quotedColumn);
    // Ends an insert: a backend that cannot leave a transaction usable after
    // a unique key refused a record skips the record instead, and gives the
    // new position as a row.
    std::string_view insertTail;
    // Whether an update skips a record whose new values another record's
    // unique key holds (instead of failing): no change then means either.
    bool updateSkipsDuplicates;

    // The layout's own tables. Objects of table ?1 (and the catalogue ?2):
    // type ("table" or "index"), name, definition.
    std::string_view objectsOfTable;
    std::string (*columnsOfTable)(std::string_view table);  // names in column 1
    std::string_view tablesQuery;                           // every data table by name
    std::string_view catalogueColumns;                      // the catalogue's declaration
    std::string (*recordInCatalogue)(std::string_view catalogue, std::string_view values);
    // Kept beside each key's index where the backend rewrites the index's
    // definition; empty where it keeps it as written.
    std::string (*recordKey)(std::string_view index, std::string_view definition);
    std::string (*forgetKey)(std::string_view index);
    // After records were copied with their positions: new ones follow them.
    std::string (*positionsTaken)(std::string_view table);
    std::string_view integrityCheck;  // lines naming damage, "ok" when none; empty when none exists
    // One number that moves on with every commit that wrote (see
    // Database::othersCommits).
    std::string_view commitsQuery;
};

const Dialect& sqliteDialect();
const Dialect& postgresDialect();

}  // namespace plorix::store
