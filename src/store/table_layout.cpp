#include "store/table_layout.h"

#include "store/sql_error.h"
#include "store/table_sql.h"
#include "runtime/fixed_text.h"

namespace plorix::store {

namespace {

using sql::quote;

constexpr std::string_view kConversionTable = "plorix_conversion";

bool hasColumn(const StoredLayout& layout, std::string_view column) {
    for (const auto& c : layout.columns) {
        if (equalNoCase(c, column)) return true;
    }
    return false;
}

// The expression that carries an old column into a field of the new layout.
std::string carried(const Dialect& d, const FieldDesc& field) {
    const std::string column = quote(field.column);
    if (isText(field.kind)) {
        return "rtrim(substr(coalesce(CAST(" + column + " AS TEXT), ''), 1, " +
               std::to_string(field.capacity) + "), ' ')";
    }
    return "coalesce(CAST(" + column + " AS " + std::string(d.integerType) + "), 0)";
}

// Whether the stored table is one we wrote: catalogued under this table's
// label, and holding the columns of the declared layout or of an earlier one
// of the catalogued version. A newer version is ours too (a later build
// wrote it); opening refuses it without touching it.
bool ours(const TableSchema& schema, const StoredLayout& layout) {
    if (!layout.catalogued || !equalNoCase(layout.label, schema.label)) return false;
    if (layout.version > schema.version) return true;
    if (sql::isDeclaredLayout(schema, layout.columns)) return true;
    if (layout.version == schema.version) return false;
    std::vector<std::string> fields(layout.columns);
    if (fields.size() < 2 || fields[0] != sql::kPosition || fields[1] != sql::kVersion) return false;
    fields.erase(fields.begin(), fields.begin() + 2);
    for (const EarlierLayout& earlier : schema.earlierLayouts) {
        if (earlier.version == layout.version && earlier.columns == fields) return true;
    }
    return false;
}

}  // namespace

int recordVersion(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error) {
    const Dialect& d = db.dialect();
    const std::string catalogue = quote(sql::kCatalogue);
    if (db.exec("CREATE TABLE IF NOT EXISTS " + catalogue + " (" + std::string(d.catalogueColumns) + ")",
                error) != kNoError) {
        return error.code;
    }
    return db.exec(
        d.recordInCatalogue(catalogue, sql::quoteLiteral(table) + ", " + sql::quoteLiteral(schema.label) +
                                           ", " + std::to_string(schema.version)),
        error);
}

int createKeys(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error) {
    const Dialect& d = db.dialect();
    for (const auto& key : schema.keys) {
        const std::string definition = sql::createIndex(d, schema, table, key);
        if (db.exec(definition, error) != kNoError) {
            if (error.code == kDuplicateKey) error.keyName = key.name;
            return error.code;
        }
        const std::string kept = d.recordKey(sql::indexName(table, key), definition);
        if (!kept.empty() && db.exec(kept, error) != kNoError) return error.code;
    }
    return kNoError;
}

int readLayout(Database& db, std::string_view table, StoredLayout& layout, ErrorState& error) {
    layout = StoredLayout{};
    layout.name = table;
    Statement* master = db.prepare(std::string(db.dialect().objectsOfTable), error);
    if (!master) return error.code;
    bool hasCatalogue = false;
    {
        StatementUse use(*master);
        master->bind(1, table);
        master->bind(2, sql::kCatalogue);
        int rc;
        while ((rc = master->step()) == kStepRow) {
            const std::string_view type = master->text(0);
            const std::string_view name = master->text(1);
            if (type == "table" && name == sql::kCatalogue) {
                hasCatalogue = true;
            } else if (type == "table") {
                // Two tables that differ in letter case alone (possible on a
                // server only): the one named exactly as asked.
                if (!layout.exists || name == table) layout.name = name;
                layout.exists = true;
            } else if (type == "index" && !master->text(2).empty()) {
                layout.indexes.emplace(name, master->text(2));
            }
        }
        if (rc != kStepDone) return (error = db.lastError(rc)).code;
    }
    if (!layout.exists) return kNoError;
    if (hasCatalogue) {
        // The entry found ignoring letter case as the table is, the one
        // spelt as the table first.
        const Dialect& d = db.dialect();
        const std::string name = std::string(1, d.parameterMark) + "1";
        Statement* entry = db.prepare("SELECT version, label FROM " + quote(sql::kCatalogue) + " WHERE " +
                                          d.nocaseColumn(quote("name")) + " = " + d.nocaseValue(name) +
                                          " ORDER BY " + quote("name") + " = " + name + " DESC",
                                      error);
        if (!entry) return error.code;
        StatementUse use(*entry);
        entry->bind(1, layout.name);
        const int rc = entry->step();
        if (rc == kStepRow) {
            layout.catalogued = true;
            layout.version = static_cast<int>(entry->integer(0));
            layout.label = entry->text(1);
        } else if (rc != kStepDone) {
            return (error = db.lastError(rc)).code;
        }
    }
    Statement* info = db.prepare(db.dialect().columnsOfTable(layout.name), error);
    if (!info) return error.code;
    StatementUse use(*info);
    int rc;
    while ((rc = info->step()) == kStepRow) layout.columns.emplace_back(info->text(1));
    if (rc != kStepDone) return (error = db.lastError(rc)).code;
    error = storeError(kNoError);
    return kNoError;
}

int checkLayout(const Dialect& d, const TableSchema& schema, std::string_view table,
                const StoredLayout& layout, ErrorState& error) {
    if (!layout.exists) return (error = storeError(kFileNotFound)).code;
    if (!ours(schema, layout)) return (error = storeError(kInvalidDataFile)).code;
    if (layout.version != schema.version) return (error = storeError(kInvalidRecordDeclaration)).code;
    for (const auto& key : schema.keys) {
        auto it = layout.indexes.find(sql::indexName(table, key));
        if (it == layout.indexes.end() || it->second != sql::createIndex(d, schema, table, key)) {
            error = storeError(kKeyMustBeRebuilt);
            error.keyName = key.name;
            return error.code;
        }
    }
    error = storeError(kNoError);
    return kNoError;
}

int createStoredTable(Database& db, const TableSchema& schema, std::string_view table, ErrorState& error) {
    if (db.exec(sql::createTable(db.dialect(), schema, table), error) != kNoError) return error.code;
    if (createKeys(db, schema, table, error) != kNoError) return error.code;
    return recordVersion(db, schema, table, error);
}

int convertStoredTable(Database& db, const TableSchema& schema, std::string_view table,
                       const StoredLayout& layout, ErrorState& error) {
    if (!layout.exists) return (error = storeError(kFileNotFound)).code;
    if (!ours(schema, layout)) return (error = storeError(kInvalidDataFile)).code;
    if (layout.version > schema.version) return (error = storeError(kInvalidRecordDeclaration)).code;
    std::string targets = quote(sql::kPosition) + ", " + quote(sql::kVersion);
    std::string sources = quote(sql::kPosition) + ", " + quote(sql::kVersion);
    for (const auto& field : schema.fields) {
        if (!hasColumn(layout, field.column)) continue;
        targets += ", " + quote(field.column);
        sources += ", " + carried(db.dialect(), field);
    }
    const std::string conversion = quote(kConversionTable);
    for (const std::string& step : {
             "DROP TABLE IF EXISTS " + conversion,
             sql::createTable(db.dialect(), schema, kConversionTable),
             "INSERT INTO " + conversion + " (" + targets + ") SELECT " + sources + " FROM " + quote(table),
             "DROP TABLE " + quote(table),
             "ALTER TABLE " + conversion + " RENAME TO " + quote(table),
             db.dialect().positionsTaken(table),
         }) {
        if (!step.empty() && db.exec(step, error) != kNoError) return error.code;
    }
    if (createKeys(db, schema, table, error) != kNoError) return error.code;
    return recordVersion(db, schema, table, error);
}

int rebuildStoredKeys(Database& db, const TableSchema& schema, std::string_view table,
                      const StoredLayout& layout, ErrorState& error) {
    if (!layout.exists) return (error = storeError(kFileNotFound)).code;
    for (const auto& [name, statement] : layout.indexes) {
        if (db.exec(db.dialect().forgetKey(name), error) != kNoError) return error.code;
    }
    return createKeys(db, schema, table, error);
}

}  // namespace plorix::store
