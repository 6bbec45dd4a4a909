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
#include "store/store.h"

namespace plorix::store {

struct StoredLayout {
    // The table's name as stored, which may differ in letter case from the
    // name asked for (the file ignores it, a server does not): every
    // statement names the table so. The name asked for while it is absent.
    std::string name;
    bool exists = false;                         // the table is in the file
    bool catalogued = false;                     // the catalogue has an entry for it
    std::string label;                           // as catalogued
    int version = 0;                             // as catalogued; 0 when not recorded
    std::vector<std::string> columns;            // in stored order
    std::map<std::string, std::string> indexes;  // name -> its CREATE statement
};

int readLayout(Database& db, std::string_view table, StoredLayout& layout, ErrorState& error);

// 0 when the stored table is the declared one; 2 when it is absent; 36 when
// it is not ours (no catalogue entry, another table's entry, or columns of
// no layout we know); 47 when it is an earlier layout of ours to convert or
// a newer one; 46 when a key is missing or different.
int checkLayout(const Dialect& d, const TableSchema& schema, std::string_view table,
                const StoredLayout& layout, ErrorState& error);

int createStoredTable(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error);
// The two steps after CREATE TABLE: the declared keys (40 naming the key
// when the records hold duplicates), and the catalogue entry.
int createKeys(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error);
int recordVersion(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error);

// Rebuilds an earlier layout of ours (checkLayout answered 47) as the declared one, copying the columns both
// have by name (new ones start blank or zero, texts are cut to their new
// width) and keeping every record's position and version. A layout newer
// than the declared one is refused with 47: converting it back would lose
// data.
int convertStoredTable(Database& db, const TableSchema& schema, std::string_view table,
                       const StoredLayout& layout, ErrorState& error);

// Moves the records that would break a unique key of the table (all but
// the lowest position of each group) into aside.file and aside.csv, with
// the indexes dropped so the groups are found by sorting once. The file is
// committed before the records leave the table: nothing is lost whatever
// fails afterwards.
int setAsideDuplicates(Database& db, const TableSchema& schema, std::string_view table,
                       const std::string& password, SetAside& aside, ErrorState& error);

// Drops the table's indexes and creates the declared ones; 40 naming the key
// when the records hold duplicates of a unique key.
int rebuildStoredKeys(Database& db, const TableSchema& schema, std::string_view table,
                      const StoredLayout& layout, ErrorState& error);

}  // namespace plorix::store
