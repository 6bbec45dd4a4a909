#pragma once
// The private state of a Table: where it lives, its scan cursor, the rows it
// read ahead and its prepared statements. Shared by the table_*.cpp files.

#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "store/database.h"
#include "store/store.h"
#include "store/table_sql.h"

namespace plorix::store {

enum class Purpose {
    Insert,
    Update,
    Delete,
    DeleteAll,
    Count,
    ByPosition,
    Equal,      // by key
    Probe,      // by key
    FromStart,  // by key
    FromEnd,    // by key
    After,      // by key and level
    Before,     // by key and level
};

struct Table::Impl {
    std::string table;  // name inside the file, while open
    bool readOnly = false;
    int recoverSeconds = 0;    // lock wait of the next open, from "Recover=N"
    std::int64_t version = 0;  // of the current record
    int streams = 0;           // batches this table started and has not flushed

    // The scan: before the first record, after the last, at the key values
    // setAt took from the buffer, or at a record
    // (its key values in cursorRecord, its position in cursorPosition).
    enum class Cursor { None, Start, End, Values, At };
    Cursor cursor = Cursor::None;
    int key = -1;
    std::shared_ptr<void> cursorRecord;
    std::int64_t cursorPosition = 0;

    // Rows read ahead in one direction; valid while nothing was written
    // through the connection since (its generation).
    struct Row {
        std::shared_ptr<void> record;
        std::int64_t position = 0;
        std::int64_t version = 0;
    };
    std::vector<Row> rows;
    std::size_t rowCount = 0;
    std::size_t nextRow = 0;
    sql::Direction direction = sql::Direction::Forward;
    std::uint64_t generation = 0;
    std::int64_t batch = 0;

    std::map<std::tuple<Purpose, int, int>, Statement*> statements;  // by purpose, key, level

    // Fill the read-ahead from one end of the key, or from the cursor on;
    // the store's error code.
    int readAheadFromEnd(Table& table, bool forward);
    int readAheadBeyond(Table& table, bool forward);
    int appendRows(Statement& statement, const TableSchema& schema);  // SQLite's result
    // Reads the statement's one row into the buffer as the current record.
    int readOne(Table& table, Statement& statement);
    // Whether the current record is stored with the version read.
    bool stillAsRead(Table& table);

    void forgetReadAhead() {
        rowCount = 0;
        nextRow = 0;
        batch = 0;
    }
};

}  // namespace plorix::store
