#pragma once
// The delete and change routines every form and browse writes through.
//
// Each routine frames its work in one transaction over the table and the
// tables that refer to it (BEGIN IMMEDIATE, waiting up to 2 seconds for
// the lock), carries a deletion or a changed linking value to the children
// the relations (cascade_relations.h) say to, refuses it where a relation
// forbids it, and reports every failure through a standard warning with
// the failure saved as the warning's error text. A routine either does all
// of its work or, rolled back, none of it.
//
// The children are read and written through tables of the routine's own on
// the same file, so the record buffers of open windows are left alone.

#include <cstdint>
#include <memory>

#include "store/store.h"
#include "runtime/prompter.h"

namespace plorix::data {

// Results of deleteRecord.
enum DeleteResult : int {
    kDeleted = 0,
    kNotDeleted = 1,  // a warning was shown
};

// Results of changeRecord.
enum ChangeResult : int {
    kWritten = 0,
    kNotWritten = 1,        // a warning was shown; the buffer keeps the user's values
    kChangedElsewhere = 2,  // another station changed the record: the buffer holds its version
};

// Deletes the table's current record and, by the relations, its children;
// refused (warning 13) while a restricting child exists.
int deleteRecord(store::Table& table, Prompter& prompter);

// A copy of the record a form is about to let the user edit: the linking
// values changeRecord compares the saved record against.
std::shared_ptr<void> keepOriginal(const store::Table& table);

// Writes the buffer over the table's current record. When a linking value
// differs from `original` (a record from keepOriginal; null when there is
// nothing to compare) the children are rewritten with the new value, or,
// for a restricting relation with children, the change is refused
// (warning 12) and the original value is put back into the buffer.
//
// A record another station wrote since it was read is not overwritten: the
// warning is 38 when the form can show the other version and let the user
// recall their entries (`canRecall`), otherwise 15; the buffer then holds
// the stored version, which a second save may overwrite.
int changeRecord(store::Table& table, Prompter& prompter, const void* original, bool canRecall = false);

}  // namespace plorix::data
