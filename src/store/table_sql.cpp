#include "store/table_sql.h"

namespace plorix::store::sql {

namespace {

std::string join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

// `identifier` in double quotes, inner quotes doubled, appended to `out`.
void appendQuoted(std::string& out, std::string_view identifier) {
    for (char c : identifier) {
        if (c == '"') out += '"';
        out += c;
    }
}

std::string param(const Dialect& d, std::size_t n) { return d.parameterMark + std::to_string(n); }

const FieldDesc& component(const TableSchema& schema, const KeyDesc& key, std::size_t i) {
    return schema.fields[static_cast<std::size_t>(key.components[i])];
}

bool folded(const KeyDesc& key, const FieldDesc& field) { return key.nocase() && isText(field.kind); }

// The component as the key compares it; `owner` qualifies the column.
std::string keyColumn(const Dialect& d, const TableSchema& schema, const KeyDesc& key, std::size_t i,
                      std::string_view owner = {}) {
    const FieldDesc& field = component(schema, key, i);
    const std::string column = std::string(owner) + quote(field.column);
    return folded(key, field) ? d.nocaseColumn(column) : column;
}

// The value ?parameter as the key's component `i` compares it.
std::string keyValue(const Dialect& d, const TableSchema& schema, const KeyDesc& key, std::size_t i,
                     std::size_t parameter) {
    std::string value = param(d, parameter);
    return folded(key, component(schema, key, i)) ? d.nocaseValue(std::move(value)) : value;
}

std::string selectList(const TableSchema& schema) {
    std::vector<std::string> columns;
    for (const auto& name : columnNames(schema)) columns.push_back(quote(name));
    return join(columns, ", ");
}

// The partial-index condition of an opt key, or "" for other keys.
std::string keyCondition(const TableSchema& schema, const KeyDesc* key, std::string_view owner = {}) {
    if (!key || !key->opt()) return {};
    std::vector<std::string> blanks;
    for (std::size_t i = 0; i < key->components.size(); ++i) {
        const FieldDesc& field = component(schema, *key, i);
        blanks.push_back(std::string(owner) + quote(field.column) + (isText(field.kind) ? " = ''" : " = 0"));
    }
    return "NOT (" + join(blanks, " AND ") + ")";
}

std::string orderBy(const Dialect& d, const TableSchema& schema, const KeyDesc* key, Direction direction) {
    const char* order = direction == Direction::Forward ? "" : " DESC";
    std::vector<std::string> terms;
    if (key) {
        for (std::size_t i = 0; i < key->components.size(); ++i) {
            terms.push_back(keyColumn(d, schema, *key, i) + order);
        }
    }
    terms.push_back(quote(kPosition) + order);
    return " ORDER BY " + join(terms, ", ");
}

std::string where(std::vector<std::string> terms) {
    std::erase(terms, std::string());
    return terms.empty() ? std::string() : " WHERE " + join(terms, " AND ");
}

// Components 0..count-1 equal to ?first.. (?1.. unless told).
std::string equalities(const Dialect& d, const TableSchema& schema, const KeyDesc& key, std::size_t count,
                       std::string_view owner = {}, const std::vector<std::size_t>* parameters = nullptr) {
    std::vector<std::string> terms;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t n = parameters ? (*parameters)[i] : i + 1;
        terms.push_back(keyColumn(d, schema, key, i, owner) + " = " + keyValue(d, schema, key, i, n));
    }
    return join(terms, " AND ");
}

// For a backend whose updates skip duplicates: no other record holds the
// new values (the field parameters) of a unique key.
std::string noDuplicates(const Dialect& d, const TableSchema& schema, std::string_view table,
                         std::size_t position) {
    std::vector<std::string> terms;
    for (const auto& key : schema.keys) {
        if (!key.unique()) continue;
        std::vector<std::size_t> fields;
        for (const int index : key.components) fields.push_back(static_cast<std::size_t>(index) + 1);
        terms.push_back("NOT EXISTS (SELECT 1 FROM " + quote(table) + " o" +
                        where({keyCondition(schema, &key, "o."),
                               equalities(d, schema, key, key.components.size(), "o.", &fields),
                               "o." + quote(kPosition) + " <> " + param(d, position)}) +
                        ")");
    }
    return join(terms, " AND ");
}

}  // namespace

std::string quote(std::string_view identifier) {
    std::string out = "\"";
    for (char c : identifier) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string quoteLiteral(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

std::vector<std::string> columnNames(const TableSchema& schema) {
    std::vector<std::string> names{std::string(kPosition), std::string(kVersion)};
    for (const auto& field : schema.fields) names.push_back(field.column);
    return names;
}

bool isDeclaredLayout(const TableSchema& schema, const std::vector<std::string>& columns) {
    if (columns.size() != schema.fields.size() + 2 || columns[0] != kPosition || columns[1] != kVersion)
        return false;
    for (std::size_t i = 0; i < schema.fields.size(); ++i)
        if (columns[i + 2] != schema.fields[i].column) return false;
    return true;
}

std::string createTable(const Dialect& d, const TableSchema& schema, std::string_view table) {
    const std::string integer(d.integerType), text(d.textType);
    std::vector<std::string> columns{quote(kPosition) + std::string(d.positionColumn),
                                     quote(kVersion) + " " + integer + " NOT NULL DEFAULT 1"};
    for (const auto& field : schema.fields) {
        columns.push_back(
            quote(field.column) + " " +
            (isText(field.kind) ? text + " NOT NULL DEFAULT ''" : integer + " NOT NULL DEFAULT 0"));
    }
    return "CREATE TABLE " + quote(table) + " (" + join(columns, ", ") + ")";
}

std::string indexName(std::string_view table, const KeyDesc& key) {
    return std::string(table) + "." + key.name;
}

std::string createIndex(const Dialect& d, const TableSchema& schema, std::string_view table,
                        const KeyDesc& key) {
    // Built in one string: every open compares each stored key with this.
    std::string out;
    out.reserve(64 + 2 * table.size() + key.name.size() + 48 * key.components.size());
    out += key.unique() ? "CREATE UNIQUE INDEX \"" : "CREATE INDEX \"";
    appendQuoted(out, table);
    out += '.';
    appendQuoted(out, key.name);
    out += "\" ON \"";
    appendQuoted(out, table);
    out += "\" (";
    for (std::size_t i = 0; i < key.components.size(); ++i) {
        const FieldDesc& field = component(schema, key, i);
        if (i) out += ", ";
        if (folded(key, field)) {
            out += d.nocaseIndexColumn(quote(field.column));
            continue;
        }
        out += '"';
        appendQuoted(out, field.column);
        out += '"';
    }
    out += ')';
    if (key.opt()) {
        // The partial-index condition, as keyCondition words it.
        out += " WHERE NOT (";
        for (std::size_t i = 0; i < key.components.size(); ++i) {
            const FieldDesc& field = component(schema, key, i);
            if (i) out += " AND ";
            out += '"';
            appendQuoted(out, field.column);
            out += isText(field.kind) ? "\" = ''" : "\" = 0";
        }
        out += ')';
    }
    return out;
}

std::string insertRecord(const Dialect& d, const TableSchema& schema, std::string_view table) {
    std::vector<std::string> columns, values;
    for (std::size_t i = 0; i < schema.fields.size(); ++i) {
        columns.push_back(quote(schema.fields[i].column));
        values.push_back(param(d, i + 1));
    }
    columns.push_back(quote(kVersion));
    values.push_back("1");
    return "INSERT INTO " + quote(table) + " (" + join(columns, ", ") + ") VALUES (" + join(values, ", ") +
           ")" + std::string(d.insertTail);
}

std::string updateRecord(const Dialect& d, const TableSchema& schema, std::string_view table) {
    std::vector<std::string> sets;
    for (std::size_t i = 0; i < schema.fields.size(); ++i) {
        sets.push_back(quote(schema.fields[i].column) + " = " + param(d, i + 1));
    }
    sets.push_back(quote(kVersion) + " = " + quote(kVersion) + " + 1");
    const std::size_t m = schema.fields.size();
    std::string guard = d.updateSkipsDuplicates ? noDuplicates(d, schema, table, m + 1) : std::string();
    return "UPDATE " + quote(table) + " SET " + join(sets, ", ") + " WHERE " + quote(kPosition) + " = " +
           param(d, m + 1) + " AND " + quote(kVersion) + " = " + param(d, m + 2) +
           (guard.empty() ? std::string() : " AND " + guard);
}

std::string deleteRecord(const Dialect& d, std::string_view table) {
    return "DELETE FROM " + quote(table) + " WHERE " + quote(kPosition) + " = " + param(d, 1) + " AND " +
           quote(kVersion) + " = " + param(d, 2);
}

std::string deleteAll(std::string_view table) { return "DELETE FROM " + quote(table); }

std::string countRecords(std::string_view table) { return "SELECT count(*) FROM " + quote(table); }

std::string selectByPosition(const Dialect& d, const TableSchema& schema, std::string_view table) {
    return "SELECT " + selectList(schema) + " FROM " + quote(table) + " WHERE " + quote(kPosition) + " = " +
           param(d, 1);
}

std::string selectEqual(const Dialect& d, const TableSchema& schema, std::string_view table,
                        const KeyDesc& key) {
    return "SELECT " + selectList(schema) + " FROM " + quote(table) +
           where({keyCondition(schema, &key), equalities(d, schema, key, key.components.size())}) +
           // One record at most in a unique key; ordering it would only cost a sort.
           (key.unique() ? std::string() : orderBy(d, schema, &key, Direction::Forward)) + " LIMIT 1";
}

std::string probeDuplicate(const Dialect& d, const TableSchema& schema, std::string_view table,
                           const KeyDesc& key) {
    const std::size_t n = key.components.size();
    return "SELECT " + quote(kPosition) + " FROM " + quote(table) +
           where({keyCondition(schema, &key), equalities(d, schema, key, n),
                  quote(kPosition) + " <> " + param(d, n + 1)}) +
           " LIMIT 1";
}

std::string laterDuplicates(const Dialect& d, const TableSchema& schema, std::string_view table,
                            const KeyDesc& key) {
    std::vector<std::string> columns;
    for (std::size_t i = 0; i < key.components.size(); ++i) columns.push_back(keyColumn(d, schema, key, i));
    const std::string condition = where({keyCondition(schema, &key)});
    const std::string first = "SELECT min(" + quote(kPosition) + ") FROM " + quote(table) + condition +
                              " GROUP BY " + join(columns, ", ");
    return "SELECT " + quote(kPosition) + " FROM " + quote(table) +
           where({keyCondition(schema, &key), quote(kPosition) + " NOT IN (" + first + ")"}) + " ORDER BY " +
           quote(kPosition);
}

std::string selectFromEnd(const Dialect& d, const TableSchema& schema, std::string_view table,
                          const KeyDesc* key, Direction direction) {
    return "SELECT " + selectList(schema) + " FROM " + quote(table) + where({keyCondition(schema, key)}) +
           orderBy(d, schema, key, direction) + " LIMIT " + param(d, 1);
}

int beyondLevels(const KeyDesc* key) { return key ? static_cast<int>(key->components.size()) + 1 : 1; }

std::string selectBeyond(const Dialect& d, const TableSchema& schema, std::string_view table,
                         const KeyDesc* key, Direction direction, int level) {
    const std::size_t n = key ? key->components.size() : 0;
    const std::size_t at = static_cast<std::size_t>(level);
    const char* beyond = direction == Direction::Forward ? " > " : " < ";
    const std::string range =
        at == n ? quote(kPosition) + beyond + param(d, n + 1)
                : keyColumn(d, schema, *key, at) + beyond + keyValue(d, schema, *key, at, at + 1);
    return "SELECT " + selectList(schema) + " FROM " + quote(table) +
           where({keyCondition(schema, key), key ? equalities(d, schema, *key, at) : "", range}) +
           orderBy(d, schema, key, direction) + " LIMIT " + param(d, n + 2);
}

}  // namespace plorix::store::sql
