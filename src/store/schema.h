#pragma once
// Schema descriptors: every table's fields, groups and keys described once.
// Copy-by-name, the command-line tool, import/export, synchronisation and
// query by example all work from these, never from hand-written field lists.
//
// Record buffers are generated from one field list per table (an X-macro,
// see tables.h); a field whose name holds a colon (M_:MAIL:SERVER) becomes a
// member with an underscore (MAIL_SERVER).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/text.h"
#include "runtime/date_time.h"

namespace plorix::store {

enum class FieldKind : std::uint8_t {
    Int32,    // int32
    Int16,    // int16
    Byte,     // byte (flag unless the field says otherwise)
    Date,     // int32 day number
    Time,     // int32 time of day
    String,   // string(n): n characters
    CString,  // cstring(n): n-1 characters
    Memo,     // memo(n): n characters, stored with the row
};

bool isText(FieldKind kind);
bool isNumeric(FieldKind kind);

// A typed pointer into a record buffer.
using FieldRef = std::variant<std::int32_t*, std::int16_t*, std::uint8_t*, TextBase*>;
using ConstFieldRef =
    std::variant<const std::int32_t*, const std::int16_t*, const std::uint8_t*, const TextBase*>;

struct FieldDesc {
    std::string name;    // full upper-case name with prefix, "SCH:DESCRIPTION"
    std::string column;  // name without prefix, "DESCRIPTION" (also the SQL column)
    FieldKind kind;
    int width;     // declared width in bytes (string(40) = 40, int32 = 4)
    int capacity;  // characters a text holds (cstring(n) = n-1); 0 for numbers
    FieldRef (*ref)(void* record);

    ConstFieldRef cref(const void* record) const;
};

struct GroupDesc {
    std::string name;  // "SCH:DAYOFWEEKGROUP"
    int first;         // index of the first field covered
    int last;          // index of the last field covered (inclusive)
    int width;         // declared size of the span in bytes
};

enum KeyFlags : unsigned {
    kUnique = 1u << 0,  // otherwise duplicates allowed
    kNoCase = 1u << 1,  // otherwise text compares exactly
    kPrimary = 1u << 2,
    kOpt = 1u << 3,  // records whose components are all blank or zero are left out
};

struct KeyDesc {
    std::string name;             // "SCH:KEYDATEENABLED"
    std::vector<int> components;  // field indices in order
    unsigned flags;
    bool unique() const { return flags & kUnique; }
    bool nocase() const { return flags & kNoCase; }
    bool primary() const { return flags & kPrimary; }
    bool opt() const { return flags & kOpt; }
};

// A layout an earlier build stored the table in: its version and its field
// columns in stored order (the hidden columns of every layout left out).
struct EarlierLayout {
    int version;
    std::vector<std::string> columns;
};

struct TableSchema {
    std::string label;       // "Schedule"
    std::string prefix;      // "SCH"
    std::string tableName;   // name inside the file: "s", "Categories", "ToDo" ...
    std::string storedName;  // default stored name: "px97\\!s"
    int version;             // layout version
    int recordBytes;         // packed size of the record (memos excluded)
    std::string password;    // the file's key; empty for a plain file
    // The spelling a file named by storedName is created with, whatever
    // letter case the stored name uses; empty to keep the name as given.
    std::string canonicalFile;
    std::vector<FieldDesc> fields;
    std::vector<GroupDesc> groups;
    std::vector<KeyDesc> keys;

    // Allocates a zeroed record buffer of this table.
    std::shared_ptr<void> (*makeRecord)();
    // Assigns one record buffer of this table to another.
    void (*assignRecord)(const void* from, void* to);
    // Layouts of earlier versions that the upgrade step may convert; any
    // other stored layout is not ours and is refused.
    std::vector<EarlierLayout> earlierLayouts;

    // Look-ups by full name ("SCH:ID"), or by name without prefix; any letter
    // case. -1 when there is no such field or key.
    int fieldIndex(std::string_view name) const;
    int keyIndex(std::string_view name) const;
    int groupIndex(std::string_view name) const;
    const KeyDesc* primaryKey() const;
};

// Typed access through a descriptor. fieldInt/setFieldInt serve the four
// numeric kinds (setFieldInt truncates to the field's type); fieldText and
// setFieldText the three text kinds (setFieldText cuts to the capacity).
std::int64_t fieldInt(const FieldDesc& field, const void* record);
void setFieldInt(const FieldDesc& field, void* record, std::int64_t value);
const TextBase& fieldText(const FieldDesc& field, const void* record);
void setFieldText(const FieldDesc& field, void* record, std::string_view value);
// True when the field holds 0 or blank.
bool fieldIsBlank(const FieldDesc& field, const void* record);

// Field values as text, the way the command-line tool and the transfer
// formats read and write them: numbers in decimal, dates YYYY-MM-DD and
// times HH:MM:SS with ".hh" when there are hundredths (both blank when 0;
// the end of the day is 24:00:00), texts as stored. fieldFromText also
// takes HH:MM.
std::string fieldToText(const FieldDesc& field, const void* record);
// Parses and stores; false (record unchanged) when the text does not fit
// the field: not a number, out of range, or a bad date or time. Texts
// longer than the field are refused too (use assignment to cut them).
bool fieldFromText(const FieldDesc& field, void* record, std::string_view text);

// Clears every field (numbers 0, texts blank).
void clearRecord(const TableSchema& schema, void* record);
// Copies every field between two records of the same table.
void copyRecord(const TableSchema& schema, const void* from, void* to);
// Copies fields of the same name (without prefix) from one record to another.
void copyByName(const TableSchema& fromSchema, const void* from, const TableSchema& toSchema, void* to);

}  // namespace plorix::store
