#pragma once
// A table's stored layout and its upkeep: the catalogue of layout versions,
// creation, conversion of an older layout, and rebuilding the keys. The
// write operations run inside the caller's transaction.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/database.h"
#include "store/schema.h"

namespace plorix::store {

struct StoredLayout {
    bool exists = false;                         // the table is in the file
    int version = 0;                             // as catalogued; 0 when not recorded
    std::vector<std::string> columns;            // in stored order
    std::map<std::string, std::string> indexes;  // name -> its CREATE statement
};

int readLayout(Database& db, std::string_view table, StoredLayout& layout, ErrorState& error);

// 0 when the stored table is the declared one; 2 when it is absent, 47 when
// its version or columns differ, 46 when a key is missing or different.
int checkLayout(const TableSchema& schema, std::string_view table, const StoredLayout& layout,
                ErrorState& error);

int createStoredTable(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error);

// Rebuilds an older layout as the declared one, copying the columns both
// have by name (new ones start blank or zero, texts are cut to their new
// width) and keeping every record's position and version. A layout newer
// than the declared one is refused with 47: converting it back would lose
// data.
int convertStoredTable(Database& db, const TableSchema& schema, std::string_view table,
                       const StoredLayout& layout, ErrorState& error);

// Drops the table's indexes and creates the declared ones; 40 naming the key
// when the records hold duplicates of a unique key.
int rebuildStoredKeys(Database& db, const TableSchema& schema, std::string_view table,
                      const StoredLayout& layout, ErrorState& error);

}  // namespace plorix::store
