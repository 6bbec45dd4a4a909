#pragma once
// Auto-numbered identifiers: SCH:ID, C_:CLIENTID, M_:EMAILID, and
// SCR:SEQUENCE within the items of one task.
//
// A new record is added at once, primed with its defaults and the new number,
// so that child records (script items, links) can refer to it while its form
// is still open; a form that is cancelled deletes it again.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "store/store.h"
#include "runtime/prompter.h"

namespace plorix::data {

struct Scripting;

struct NumberingRule {
    std::string_view label;   // table label, "Scripting"
    int key;                  // the primary key walked
    std::string_view number;  // the numbered field, "SCR:SEQUENCE"
    std::string_view owner;   // numbering restarts per value of this field; empty for none
    void (*defaults)(void* record, std::int32_t owner);  // priming beyond blanks; may be null
};

// The rule of a table, nullptr when the table is not numbered.
const NumberingRule* numberingRule(const store::TableSchema& schema);

// Identifiers (the numbered fields, and the task that owns a script item)
// lie in 1..kLargestIdentifier, wherever they come from.
inline constexpr std::int64_t kLargestIdentifier = 2147483647;
// Why `value` cannot be stored in `field`: "must be between 1 and
// 2147483647" for an identifier outside the range; empty when it can (or
// the field is no identifier).
std::string identifierProblem(const store::FieldDesc& field, std::int64_t value);

// Takes the next number and adds the record at once: the last number of the
// primary key (within `owner` for script items) plus one, 1 for the first.
// The buffer is cleared, primed with the table's defaults, then by `prime`,
// then given the owner and the number. A failed add is tried three times in
// all before warning 25 offers Retry. Returns the number, or 0 when the user
// gave up, the last record could not be read (warning 35), or the last
// number in use is the largest identifier (warning 25 saying so, without
// Retry: trying again cannot help). The table must
// be open and numbered.
std::int32_t addNumbered(store::Table& table, Prompter& prompter,
                         const std::function<void(void* record)>& prime = {}, std::int32_t owner = 0);

// The numbers of a batch of adds: inside a write transaction no other
// station can add, so the last number is read once and then counted on as
// long as nothing else was written to the file in between (another table of
// this program on the same connection). Its owner forgets it (reset())
// whenever the transaction ends.
class NumberRun {
public:
    void reset() { next_ = 0; }

private:
    friend struct NumberRunAccess;
    std::int64_t next_ = 0;         // 0: read it from the table
    std::uint64_t generation_ = 0;  // the file's write count after the last add
};

// addNumbered() for a table without an owner field, inside a batch: the
// number comes from `run` once it has been read; outside a transaction
// this is addNumbered() itself.
std::int32_t addNumberedInRun(store::Table& table, Prompter& prompter, NumberRun& run,
                              const std::function<void(void* record)>& prime = {});

// The defaults of a new script item of task `taskId`.
void primeScriptItem(Scripting& item, std::int32_t taskId);

}  // namespace plorix::data
