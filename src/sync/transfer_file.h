#pragma once
// The transfer file of synchronisation: one keyed file, protected and
// encrypted like the data file, holding the tables "s" (tasks), "scr"
// (their script items) and "todo" (to-do items), addressed as the chosen
// file's name followed by "\!s", "\!scr" and "\!todo".

#include <string>
#include <string_view>

#include "store/store.h"
#include "data/tables.h"

namespace plorix::sync {

// The title of every message of a synchronisation run.
inline constexpr std::string_view kSyncTitle = "Synchronize";

// The file named by a transfer table's name: any "\!" suffix left from an
// earlier run cut off.
std::string transferFileName(std::string_view name);

// The three tables of one transfer file, each a table object of its own.
class TransferFile {
public:
    explicit TransferFile(std::string_view file);

    const std::string& file() const { return file_; }
    // The path the store opens (".TPS" added to a name without extension).
    std::string path() const;
    store::Table& schedule() { return schedule_; }
    store::Table& scripting() { return scripting_; }
    store::Table& todo() { return todo_; }

    // Replaces any file of that name by a new one with the three tables,
    // open for writing. Empty on success, else why not.
    std::string create();
    // Opens an existing transfer file for reading and checks that it is
    // whole: its pages, and the layout of the three tables. Empty on
    // success, else why the file cannot be received.
    std::string openForReading();
    void close();
    // Deletes the file that create() made (after a send that failed
    // half-way); nothing when create() was not called.
    void remove();

private:
    std::string file_;
    bool created_ = false;
    store::Table schedule_{data::SyncSchedule::schema()};
    store::Table scripting_{data::SyncScripting::schema()};
    store::Table todo_{data::SyncTodo::schema()};
};

}  // namespace plorix::sync
