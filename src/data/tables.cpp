#include "data/tables.h"

#include "runtime/fixed_text.h"

namespace plorix::data {

const std::vector<const store::TableSchema*>& allSchemas() {
    static const std::vector<const store::TableSchema*> schemas{
        &Categories::schema(),
        &Clipboard::schema(),
        &Configuration::schema(),
        &Contact::schema(),
        &ContactCategories::schema(),
        &Holidays::schema(),
        &Link::schema(),
        &Messages::schema(),
        &Schedule::schema(),
        &Scripting::schema(),
        &SyncSchedule::schema(),
        &SyncScripting::schema(),
        &SyncTodo::schema(),
        &Todo::schema(),
        &WindowLookup::schema(),
        &TagFile_::schema(),
        &TagFileP::schema(),
    };
    return schemas;
}

const store::TableSchema* schemaByLabel(std::string_view label) {
    for (const store::TableSchema* schema : allSchemas()) {
        if (equalNoCase(schema->label, label)) return schema;
    }
    return nullptr;
}

}  // namespace plorix::data
