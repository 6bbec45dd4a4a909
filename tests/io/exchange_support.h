#pragma once
// Helpers of the import and export tests: a data folder with records in it,
// and a way to make the store refuse a particular record.

#include <sqlcipher/sqlite3.h>

#include <string>
#include <vector>

#include "data/data_file.h"
#include "store/file_key.h"
#include "data/open_routine.h"
#include "data/tables.h"
#include "runtime/prompter.h"
#include "store/served_files.h"
#include "support/test_server.h"

namespace plorix::io::test {

// Every record of a table in a key's order (-1: record order), each as the
// text of one field.
inline std::vector<std::string> column(const store::TableSchema& schema, const std::string& field,
                                       int key = -1) {
    store::Table table(schema);
    SilentPrompter prompter;
    data::openTable(table, prompter);
    const auto& desc = schema.fields[static_cast<std::size_t>(schema.fieldIndex(field))];
    std::vector<std::string> out;
    table.setStart(key);
    while (table.next() == store::kNoError) out.push_back(store::fieldToText(desc, table.buffer()));
    // A scan that stopped short of the end would pass for fewer records.
    EXPECT_EQ(table.errorCode(), store::kRecordNotAvailable) << table.error().describe();
    return out;
}

// Makes every insert into `table` of a row whose `column` is `value` fail,
// as a full disk or a broken file would (in the served run, on the server).
inline void refuseInsert(const std::string& table, const std::string& column, const std::string& value) {
    if (const auto server = store::servedFrom(std::string(data::kDataFileName))) {
        plorix::test::queryServerColumn(*server,
                                        "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                        "$$BEGIN RAISE EXCEPTION 'refused'; END$$; "
                                        "CREATE TRIGGER refuse BEFORE INSERT ON \"" +
                                            table + "\" FOR EACH ROW WHEN (NEW.\"" + column + "\" = '" +
                                            value + "') EXECUTE FUNCTION refuse()");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(data::kDataFileName.data(), &db, SQLITE_OPEN_READWRITE, nullptr);
    store::keyConnection(db, data::kOwnerPassword);
    const std::string sql = "CREATE TRIGGER refuse BEFORE INSERT ON \"" + table + "\" WHEN NEW.\"" + column +
                            "\" = '" + value + "' BEGIN SELECT RAISE(ABORT, 'refused'); END;";
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string text = error ? error : "?";
        sqlite3_free(error);
        sqlite3_close_v2(db);
        throw std::runtime_error("trigger: " + text);
    }
    sqlite3_close_v2(db);
}

}  // namespace plorix::io::test
