#include "data/tables/table_builder.h"

#include <stdexcept>

#include "data/data_file.h"
#include "runtime/fixed_text.h"

namespace plorix::data::detail {

namespace {

int memberIndex(const std::vector<store::FieldDesc>& fields, const char* member, const char* label) {
    std::string column = member;
    for (char& c : column) {
        if (c == '_') c = ':';
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].column == column) return static_cast<int>(i);
    }
    throw std::logic_error(std::string(label) + " declares no field " + member);
}

}  // namespace

store::TableSchema buildSchema(const TableInfo& info, std::vector<store::FieldDesc> fields,
                               const std::vector<GroupSpec>& groups, const std::vector<KeySpec>& keys,
                               std::shared_ptr<void> (*makeRecord)(),
                               void (*assignRecord)(const void*, void*)) {
    const std::string prefix = toUpper(info.prefix) + ":";
    store::TableSchema schema{info.label,
                              info.prefix,
                              info.tableName,
                              info.storedName,
                              info.version,
                              info.recordBytes,
                              info.encrypted ? std::string(kOwnerPassword) : std::string(),
                              info.encrypted ? std::string(kDataFileName) : std::string(),
                              {},
                              {},
                              {},
                              makeRecord,
                              assignRecord};
    for (const auto& g : groups) {
        schema.groups.push_back(store::GroupDesc{prefix + g.name, memberIndex(fields, g.first, info.label),
                                                 memberIndex(fields, g.last, info.label), g.width});
    }
    for (const auto& k : keys) {
        store::KeyDesc key{prefix + k.name, {}, k.flags};
        for (const char* component : k.components) {
            key.components.push_back(memberIndex(fields, component, info.label));
        }
        schema.keys.push_back(std::move(key));
    }
    schema.fields = std::move(fields);
    return schema;
}

}  // namespace plorix::data::detail
