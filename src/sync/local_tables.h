#pragma once
// The local tables a synchronisation run reads or merges into: tasks,
// script items and to-do items of the data file, each a table object of the
// run's own so that the frame's scans between two steps never move the
// run's position. Opened on the window thread they share the data file's
// connection, and so its transactions; a receive opens them on a worker
// thread, which gets a connection of its own.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "store/store.h"
#include "data/tables.h"
#include "runtime/prompter.h"

namespace plorix::sync {

class LocalTables {
public:
    // Opens the three tables through the open routine (which ends the
    // program when the data file cannot be opened at all), in the data
    // folder `folder` when given (an absolute path: another thread may
    // change the working folder meanwhile), else in the working folder.
    explicit LocalTables(Prompter& prompter, const std::string& folder = {});
    ~LocalTables();
    LocalTables(const LocalTables&) = delete;
    LocalTables& operator=(const LocalTables&) = delete;

    store::Table& schedule() { return schedule_; }
    store::Table& scripting() { return scripting_; }
    store::Table& todo() { return todo_; }

private:
    store::Table schedule_{data::Schedule::schema()};
    store::Table scripting_{data::Scripting::schema()};
    store::Table todo_{data::Todo::schema()};
};

// Reads, in sequence order, every script item of task `taskId` from a table
// of script items (local or transfer), calling `visit` with each in the
// table's buffer; `visit` returns 0 to go on, or an error code to stop with.
// Returns 0 at the end of the items, else the code that stopped the walk.
int forEachScriptItem(store::Table& items, std::int32_t taskId, const std::function<int()>& visit);

// A text value a record must hold in one field.
struct FieldValue {
    int field;               // index in the table's schema
    std::string_view value;  // clipped
};

// Calls `visit` for every record of `table` whose fields hold exactly (letter
// case counting, trailing blanks not) the given values, with the record in
// the table's buffer. The candidates are found through `key`, whose leading
// components are those fields: positioned at the values and read on while
// they compare equal in the key's own way (a key that ignores case mixes
// other spellings in among the exact ones). Values all blank are outside
// such keys, so those records are looked for in record order. Returns 0, or
// the store's code of a failed read.
int visitExactMatches(store::Table& table, int key, std::initializer_list<FieldValue> values,
                      const std::function<void()>& visit);

// True when the change moment (date, then time) of `a` is later than `b`'s.
bool changedLater(Date aDate, Time aTime, Date bDate, Time bTime);

}  // namespace plorix::sync
