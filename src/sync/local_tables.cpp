#include "sync/local_tables.h"

#include <filesystem>
#include <limits>

#include "data/open_routine.h"
#include "runtime/fixed_text.h"

namespace plorix::sync {

namespace {

// The table's stored name with its file taken in `folder`.
void placeIn(store::Table& table, const std::string& folder) {
    const store::StoredName where = store::splitStoredName(table.name(), table.schema());
    table.setName((std::filesystem::path(folder) / where.file).string() + "\\!" + where.table);
}

}  // namespace

LocalTables::LocalTables(Prompter& prompter, const std::string& folder) {
    if (!folder.empty()) {
        for (store::Table* table : {&schedule_, &scripting_, &todo_}) placeIn(*table, folder);
    }
    data::acquireTable(schedule_, prompter);
    data::acquireTable(scripting_, prompter);
    data::acquireTable(todo_, prompter);
}

LocalTables::~LocalTables() {
    data::releaseTable(todo_);
    data::releaseTable(scripting_);
    data::releaseTable(schedule_);
}

int forEachScriptItem(store::Table& items, std::int32_t taskId, const std::function<int()>& visit) {
    const store::TableSchema& schema = items.schema();
    const auto& id = schema.fields[static_cast<std::size_t>(schema.fieldIndex("ID"))];
    const auto& sequence = schema.fields[static_cast<std::size_t>(schema.fieldIndex("SEQUENCE"))];
    store::clearRecord(schema, items.buffer());
    store::setFieldInt(id, items.buffer(), taskId);
    store::setFieldInt(sequence, items.buffer(), std::numeric_limits<std::int32_t>::min());
    items.setAt(schema.keyIndex("KEYID"));
    for (;;) {
        const int code = items.next();
        if (code == store::kRecordNotAvailable) return store::kNoError;
        if (code != store::kNoError) return code;
        if (store::fieldInt(id, items.buffer()) != taskId) return store::kNoError;
        if (const int stop = visit()) return stop;
    }
}

int visitExactMatches(store::Table& table, int key, std::initializer_list<FieldValue> values,
                      const std::function<void()>& visit) {
    const store::TableSchema& schema = table.schema();
    const bool nocase = schema.keys[static_cast<std::size_t>(key)].nocase();
    bool allBlank = true;
    for (const FieldValue& v : values) allBlank = allBlank && clip(v.value).empty();
    const auto text = [&](const FieldValue& v) -> std::string_view {
        return store::fieldText(schema.fields[static_cast<std::size_t>(v.field)], table.buffer());
    };
    const auto exact = [&] {
        for (const FieldValue& v : values)
            if (!equalBlankPadded(text(v), v.value)) return false;
        return true;
    };
    store::clearRecord(schema, table.buffer());
    for (const FieldValue& v : values)
        store::setFieldText(schema.fields[static_cast<std::size_t>(v.field)], table.buffer(), v.value);
    if (allBlank) {
        table.setStart(-1);
    } else {
        table.setAt(key);
    }
    for (;;) {
        const int code = table.next();
        if (code == store::kRecordNotAvailable) return store::kNoError;
        if (code != store::kNoError) return code;
        if (!allBlank) {
            for (const FieldValue& v : values) {
                if (nocase ? !equalNoCase(text(v), v.value) : !equalBlankPadded(text(v), v.value))
                    return store::kNoError;
            }
        }
        if (exact()) visit();
    }
}

bool changedLater(Date aDate, Time aTime, Date bDate, Time bTime) {
    return Moment{aDate, aTime} > Moment{bDate, bTime};
}

}  // namespace plorix::sync
