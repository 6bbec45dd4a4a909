#pragma once
// The relations between tables that changes and deletions must keep: one
// row per relation, read by the delete and change routines (cascade.h).

#include <string_view>
#include <vector>

#include "store/schema.h"

namespace plorix::data {

// What happens to the records that refer to a parent when the parent goes
// or its linking value changes.
enum class OnParent {
    Cascade,   // delete them with it, or rewrite them with the new value
    Restrict,  // refuse while any of them exists
};

struct Relation {
    std::string_view parent;       // table label
    std::string_view child;        // table label
    std::string_view parentField;  // "SCH:ID"
    std::string_view childField;   // "L:ID"
    int childKey;                  // a key of the child led by childField: how children are found
    OnParent onDelete;
    OnParent onChange;
};

// Every enforced relation, in the order the routines walk them (a task's
// links go before its script items).
const std::vector<Relation>& relations();

// A relation resolved against the schemas.
struct BoundRelation {
    const Relation* relation;
    const store::TableSchema* child;
    const store::FieldDesc* parentField;
    const store::FieldDesc* childField;
    int childKey;
    bool nocase;  // text values compare without regard to letter case (the child key's)
};

// The relations in which `parent` is the parent, in walking order. Throws
// std::logic_error when a row names a table, field or key that does not
// exist, or a key not led by the child field.
std::vector<BoundRelation> relationsOf(const store::TableSchema& parent);

// Linking values of records: the parent field of a parent record, or the
// child field of a child record.
//
// A blank or zero linking value refers to nothing: a task without a category
// belongs to no category, a script item with message 0 sends no message.
bool linksNothing(const store::FieldDesc& field, const void* record);
// Whether two parent records hold the same linking value (letter case
// ignored when the relation says so).
bool sameLink(const BoundRelation& relation, const void* a, const void* b);
// Whether a child record refers to the value of a parent record.
bool refersTo(const BoundRelation& relation, const void* child, const void* parent);
// Gives a child record the linking value of a parent record.
void copyLink(const BoundRelation& relation, const void* parent, void* child);
// Gives a parent record the linking value of another parent record.
void restoreLink(const BoundRelation& relation, const void* from, void* to);

// Sets every component of key `key` in the record to the lowest value its
// type holds, so that a scan positioned there (Table::setAt) starts before
// every record that shares the components filled in afterwards.
void setKeyToLowest(const store::TableSchema& schema, int key, void* record);

}  // namespace plorix::data
