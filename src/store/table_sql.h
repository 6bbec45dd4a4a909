#pragma once
// The SQL text of every store operation, built from a table's schema.
//
// A table is an SQL table with the hidden columns "_pos" (the record's
// position, the rowid) and "_ver" (its version, raised by every change),
// followed by one column per field named without the prefix. Each key is an
// index named "<table>.<key name>"; nocase keys compare their text
// components with COLLATE NOCASE, and opt keys are partial indexes that
// leave out records whose components are all blank or zero. Every query
// by a key repeats the index's condition so that SQLite may use it.
//
// Parameters are numbered: field values ?1..?m in field order, key values
// ?1..?n in component order, followed by the position and the row limit.
// The words that differ between backends come from the Dialect.

#include <string>
#include <string_view>
#include <vector>

#include "store/dialect.h"
#include "store/schema.h"

namespace plorix::store::sql {

inline constexpr std::string_view kPosition = "_pos";
inline constexpr std::string_view kVersion = "_ver";
inline constexpr std::string_view kCatalogue = "plorix_catalogue";

std::string quote(std::string_view identifier);   // "name" with quotes doubled
std::string quoteLiteral(std::string_view text);  // 'text' with quotes doubled

// Column names in stored order, hidden columns first.
std::vector<std::string> columnNames(const TableSchema& schema);
// Whether `columns` are columnNames(schema), without building them.
bool isDeclaredLayout(const TableSchema& schema, const std::vector<std::string>& columns);

std::string createTable(const Dialect& d, const TableSchema& schema, std::string_view table);
std::string indexName(std::string_view table, const KeyDesc& key);
std::string createIndex(const Dialect& d, const TableSchema& schema, std::string_view table,
                        const KeyDesc& key);

std::string insertRecord(const Dialect& d, const TableSchema& schema, std::string_view table);
// ?m+1 = position, ?m+2 = version the caller read.
std::string updateRecord(const Dialect& d, const TableSchema& schema, std::string_view table);
// ?1 = position, ?2 = version the caller read.
std::string deleteRecord(const Dialect& d, std::string_view table);
std::string deleteAll(std::string_view table);
std::string countRecords(std::string_view table);
// ?1 = position.
std::string selectByPosition(const Dialect& d, const TableSchema& schema, std::string_view table);

// A key of null means record order (by position alone).
// First record whose components equal ?1..?n.
std::string selectEqual(const Dialect& d, const TableSchema& schema, std::string_view table,
                        const KeyDesc& key);
// The position of another record (?n+1 excluded) with the same key values.
std::string probeDuplicate(const Dialect& d, const TableSchema& schema, std::string_view table,
                           const KeyDesc& key);

// The positions of the records whose values of the unique `key` equal
// those of a record stored before them (all but the lowest position of
// each group of equal values).
std::string laterDuplicates(const Dialect& d, const TableSchema& schema, std::string_view table,
                            const KeyDesc& key);

enum class Direction { Forward, Backward };
// Records from one end of the key, ?1 rows at most.
std::string selectFromEnd(const Dialect& d, const TableSchema& schema, std::string_view table,
                          const KeyDesc* key, Direction direction);
// Reading on from a record is one index seek per component: the records
// whose first `level` components equal ?1..?level and whose next component
// lies beyond ?level+1, or, at level n (all components equal), whose
// position lies beyond ?n+1; ?n+2 rows at most. Running the levels from n
// down to 0 gives the records strictly after (Forward) or before (Backward)
// the key values and position, nearest first. SQLite 3.15 seeks neither on
// a row value with COLLATE NOCASE nor past a run of equal first components,
// and a UNION ALL of the levels copies every column once more per row.
int beyondLevels(const KeyDesc* key);
std::string selectBeyond(const Dialect& d, const TableSchema& schema, std::string_view table,
                         const KeyDesc* key, Direction direction, int level);

}  // namespace plorix::store::sql
