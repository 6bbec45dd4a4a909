#include "store/record_io.h"

namespace plorix::store {

namespace {

void bindField(Statement& statement, int parameter, const FieldDesc& field, const void* record, bool copy) {
    if (isText(field.kind)) {
        statement.bind(parameter, std::string_view(fieldText(field, record)), copy);
    } else {
        statement.bind(parameter, fieldInt(field, record));
    }
}

}  // namespace

void bindFields(Statement& statement, const TableSchema& schema, const void* record) {
    int parameter = 1;
    for (const auto& field : schema.fields) bindField(statement, parameter++, field, record, false);
}

void bindKey(Statement& statement, const TableSchema& schema, const KeyDesc& key, const void* record) {
    int parameter = 1;
    for (int index : key.components) {
        bindField(statement, parameter++, schema.fields[static_cast<std::size_t>(index)], record, true);
    }
}

void readFields(const Statement& statement, const TableSchema& schema, void* record, int firstColumn) {
    int column = firstColumn;
    for (const auto& field : schema.fields) {
        if (isText(field.kind)) {
            setFieldText(field, record, statement.text(column));
        } else {
            setFieldInt(field, record, statement.integer(column));
        }
        ++column;
    }
}

}  // namespace plorix::store
