#pragma once
// The keyed record store: tables of the data file on SQLCipher.
//
// Each table has one current-record buffer (a record struct of tables.h);
// operations read into it and write from it, and set an error code that the
// caller tests at once. Errors are values, never exceptions.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/error.h"
#include "store/schema.h"

namespace plorix::store {

// Access modes: read-only or read/write, others allowed to read and write.
inline constexpr int kReadOnlyDenyNone = 64;
inline constexpr int kReadWriteDenyNone = 66;

// Where rebuilding the keys puts the records that would break a unique key:
// of each group of records with equal values of a unique key, every record
// but the first stored one (the lowest position) is moved into `file` (a
// new file holding a table of the same name and layout, keyed like the
// table's own) and written with every field to `csv` for reading. Without
// it such records make the rebuild fail with 40.
struct SetAside {
    std::string file;
    std::string csv;
    std::int64_t moved = 0;  // set by the rebuild
    std::string keyName;     // a key the moved records broke
};

class Database;  // one open file (a long-lived connection), shared by its tables
class Statement;
enum class Purpose;

// Splits a stored name "px97\!s" into the file ("Px97.TPS", default
// extension .TPS added) and the table name inside it ("s"). A name without
// "\!" is a single-table file whose table is named after the schema.
struct StoredName {
    std::string file;
    std::string table;
};
StoredName splitStoredName(std::string_view storedName, const TableSchema& schema);

// Finds the file `name` ignoring letter case; returns the name as given (the
// path to create) when none exists.
std::string resolveFileName(std::string_view name);

class Table {
public:
    // The buffer is allocated and owned by the table; rec<T>() gives it typed.
    explicit Table(const TableSchema& schema);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const TableSchema& schema() const { return *schema_; }
    void* buffer() { return buffer_.get(); }
    const void* buffer() const { return buffer_.get(); }
    template <typename Record>
    Record& rec() {
        return *static_cast<Record*>(buffer_.get());
    }

    // The stored name ("px97\!s"); settable for the tables whose name lives
    // in a variable (the schedule table, the transfer tables, tag files).
    const std::string& name() const { return name_; }
    void setName(std::string storedName);
    // The password the file is keyed with: the owner password, or empty for
    // the plain tag files.
    void setPassword(std::string password) { password_ = std::move(password); }

    // --- opening -------------------------------------------------------------
    int open(int mode = kReadWriteDenyNone);  // 0, 2, 32, 36, 46, 47, 52, 88, 90
    int create();                             // creates the file and/or the table
    void close();
    bool isOpen() const;
    int upgrade();                             // converts an older stored layout in place (0 on success)
    int buildKeys(SetAside* aside = nullptr);  // rebuilds every key of the table
    // Driver options: "Recover=N" waits up to N seconds for a lock on the
    // next open; "QUICKSCAN=on/off" is accepted and has no effect.
    void sendOption(std::string_view option);

    // --- positioning and reading ---------------------------------------------
    // A key of -1 means record order: the order in which records were added.
    void setStart(int key);  // next() reads the first record in key order
    void setEnd(int key);    // previous() reads the last record
    // next() reads the first record whose key is >= the buffer's key values;
    // previous() the last one that is <= them.
    void setAt(int key);
    [[nodiscard]] int next();
    [[nodiscard]] int previous();
    [[nodiscard]] int get(int key);  // the first record whose key equals the buffer's values
    // Re-reads the record at a position (from position()).
    [[nodiscard]] int reget(std::int64_t position);
    std::int64_t position() const { return currentRow_; }

    // --- writing ---------------------------------------------------------------
    [[nodiscard]] int add();    // inserts the buffer; it becomes the current record
    [[nodiscard]] int put();    // writes the buffer over the current record (89 when changed meanwhile)
    [[nodiscard]] int erase();  // deletes the current record
    std::int64_t records();     // -1 on error
    [[nodiscard]] int empty();  // deletes every record of the table
    // Checks the file's pages and this table's keys; each problem found is
    // added as one line. Returns 0 when the check could run.
    int checkIntegrity(std::vector<std::string>& problems);

    // --- transactions (over every table of the same file) -------------------------
    [[nodiscard]] int begin();  // BEGIN IMMEDIATE, waiting up to 2 seconds for the lock
    [[nodiscard]] int commit();
    int rollback();
    [[nodiscard]] int stream();  // start of a batch of writes (one transaction)
    [[nodiscard]] int flush();   // end of the batch

    // --- errors ----------------------------------------------------------------------
    const ErrorState& error() const { return error_; }
    int errorCode() const { return error_.code; }

    // The underlying database, for code that needs whole-file operations
    // (integrity check, transactions across tables). Null while closed.
    Database* database() { return db_.get(); }

private:
    struct Impl;
    friend struct Impl;
    int report(const ErrorState& error);  // sets error_ and lastError(); returns the code
    int report(int code);
    int ready(bool write);  // 0 when open (and writable for a write), else reports why not
    Statement* statement(Purpose purpose, int key, int level = 0);
    int read(bool forward);
    std::string duplicatedKey(std::int64_t position);
    const TableSchema* schema_;
    std::shared_ptr<void> buffer_;
    std::string name_;
    std::string password_;
    std::shared_ptr<Database> db_;
    std::unique_ptr<Impl> impl_;
    ErrorState error_;
    std::int64_t currentRow_ = 0;
};

// Waits at most `milliseconds` for another station's lock in every
// operation on the table's file while it lives, instead of the ordinary two
// seconds: the window's thread must not stand still that long, it tries
// again later. The ordinary wait comes back at the end of the scope.
class LockWait {
public:
    LockWait(Table& table, int milliseconds);
    ~LockWait();
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

private:
    Database* db_;
    int previous_ = 0;
};

// The most recent error set by any table operation on this thread (the
// standard warnings report it).
const ErrorState& lastError();

}  // namespace plorix::store
