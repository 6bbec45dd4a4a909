#pragma once
// Turns a table's declaration (field list, groups, keys) into its schema
// descriptor. Names in groups and keys are written without the prefix, so
// a main table and its transfer twin share one declaration.

#include <memory>
#include <vector>

#include "store/record_macros.h"
#include "store/schema.h"

namespace plorix::data::detail {

// Every key of the system is opt; these name the remaining combinations.
inline constexpr unsigned kDupNoCase = store::kNoCase | store::kOpt;
inline constexpr unsigned kDupCase = store::kOpt;
inline constexpr unsigned kUniqueNoCase = store::kUnique | store::kNoCase | store::kOpt;
inline constexpr unsigned kUniqueCase = store::kUnique | store::kOpt;
inline constexpr unsigned kPrimaryKey = store::kUnique | store::kNoCase | store::kPrimary | store::kOpt;

struct TableInfo {
    const char* label;
    const char* prefix;      // as the version catalogue spells it ("SSch")
    const char* tableName;   // name inside the file
    const char* storedName;  // default stored name
    int version;
    int recordBytes;
    bool encrypted = true;  // keyed with the owner password
};

struct GroupSpec {
    const char* name;   // without prefix: "DAYOFWEEKGROUP"
    const char* first;  // first member covered
    const char* last;   // last member covered
    int width;          // declared bytes
};

struct KeySpec {
    const char* name;  // without prefix: "KEYDATE"
    std::vector<const char*> components;
    unsigned flags;
};

// Throws std::logic_error when a group or key names an unknown field: a
// declaration mistake that the schema tests catch at once.
store::TableSchema buildSchema(const TableInfo& info, std::vector<store::FieldDesc> fields,
                               const std::vector<GroupSpec>& groups, const std::vector<KeySpec>& keys,
                               std::shared_ptr<void> (*makeRecord)(),
                               void (*assignRecord)(const void*, void*));

template <typename Record>
std::shared_ptr<void> newRecord() {
    return std::make_shared<Record>();
}

template <typename Record>
void assignRecord(const void* from, void* to) {
    *static_cast<Record*>(to) = *static_cast<const Record*>(from);
}

}  // namespace plorix::data::detail

// One KeySpec of a key list (see PLORIX_KEYS).
#define PLORIX_KEY_SPEC(name, flags, ...) ::plorix::data::detail::KeySpec{#name, {__VA_ARGS__}, flags},

// Defines Label::schema() from the table's field list and declarations.
#define PLORIX_DEFINE_SCHEMA(Label, FIELDS, INFO, GROUPS, KEYS)                                     \
    const ::plorix::store::TableSchema& Label::schema() {                                           \
        static const ::plorix::store::TableSchema s = ::plorix::data::detail::buildSchema(          \
            INFO, PLORIX_FIELD_DESCS(Label, (INFO).prefix, FIELDS), GROUPS, KEYS,                   \
            ::plorix::data::detail::newRecord<Label>, ::plorix::data::detail::assignRecord<Label>); \
        return s;                                                                                   \
    }
