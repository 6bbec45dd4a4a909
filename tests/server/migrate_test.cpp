// plorix-cli migrate: a data file with every table filled goes to the
// server and back unchanged, as list prints it; a target with records is
// refused untouched.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "data/data_file.h"
#include "data/tables.h"
#include "server/server_rig.h"
#include "server/server_tasks.h"
#include "support/test_server.h"
#include "store/store.h"

namespace plorix::test {
namespace {

namespace fs = std::filesystem;

bool inUniqueKey(const store::TableSchema& schema, int field) {
    for (const auto& key : schema.keys)
        if (key.flags & store::kUnique)
            for (const int component : key.components)
                if (component == field) return true;
    return false;
}

// Four records in every table of the data file in `folder`: fields of a
// unique key differ from record to record, the others repeat every second
// record, so non-unique keys hold duplicates whose order must survive.
void fillEveryTable(const fs::path& folder) {
    for (const auto* schema : dataFileSchemas()) {
        store::Table table(*schema);
        table.setName((folder / data::kDataFileName).string() + "\\!" +
                      store::splitStoredName(schema->storedName, *schema).table);
        ASSERT_TRUE(table.open() == store::kNoError ||
                    (table.create() == store::kNoError && table.open() == store::kNoError))
            << schema->label;
        for (int record = 0; record < 4; ++record) {
            store::clearRecord(*schema, table.buffer());
            for (int f = 0; f < static_cast<int>(schema->fields.size()); ++f) {
                const auto& field = schema->fields[static_cast<std::size_t>(f)];
                const int value = inUniqueKey(*schema, f) ? record + 1 : record % 2 + 1;
                if (store::isText(field.kind))
                    store::setFieldText(field, table.buffer(), std::to_string(value) + " é,\"q\"");
                else if (field.kind == store::FieldKind::Date || field.kind == store::FieldKind::Time)
                    store::setFieldInt(field, table.buffer(), 80000 + value);
                else
                    store::setFieldInt(field, table.buffer(), value);
            }
            ASSERT_EQ(table.add(), store::kNoError) << schema->label << " " << table.error().describe();
        }
    }
}

class Migrate : public ::testing::Test {
protected:
    // Every table as list prints it, in record order and in the order of its
    // first non-unique key, and the forecast of the next runs.
    std::map<std::string, std::string> listings(const std::vector<std::string>& server = {}) {
        std::map<std::string, std::string> out;
        for (const auto* schema : dataFileSchemas()) {
            std::vector<std::string> args = server;
            args.insert(args.end(), {"list", schema->label, "--json"});
            ProcessResult r = cli(folder.path().string(), args);
            EXPECT_EQ(r.status, 0) << r.err;
            out[schema->label] = r.out;
            for (const auto& key : schema->keys) {
                if (key.flags & store::kUnique) continue;
                args.insert(args.end(), {"--key", key.name});
                out[schema->label + " by " + key.name] = cli(folder.path().string(), args).out;
                break;
            }
        }
        // And what is read through the scheduler rather than listed.
        std::vector<std::string> forecast = server;
        forecast.insert(forecast.end(), {"forecast", "--from", "2026-12-07T00:00", "--count", "5"});
        ProcessResult r = cli(folder.path().string(), forecast);
        EXPECT_EQ(r.status, 0) << r.err;
        out["forecast"] = r.out;
        return out;
    }
    TempDir folder{false};
    std::string url = ownDatabase();
};

TEST_F(Migrate, EveryTableGoesToTheServerAndBackUnchanged) {
    fillEveryTable(folder.path());
    const auto before = listings();
    ASSERT_GT(before.size(), 12u);  // every table, and some by a key with duplicates

    const ProcessResult to = cli(folder.path().string(), {"migrate", "--to", url});
    ASSERT_EQ(to.status, 0) << to.err;
    EXPECT_EQ(lines(to.err).size(), 13u) << to.err;  // a line per table and the end
    EXPECT_NE(to.err.find("Schedule: 4 records, checksum "), std::string::npos) << to.err;

    fs::rename(folder / std::string(data::kDataFileName), folder / "local.TPS");
    EXPECT_EQ(listings({"--database", url}), before);

    const ProcessResult from = cli(folder.path().string(), {"migrate", "--from", url});
    ASSERT_EQ(from.status, 0) << from.err;
    EXPECT_EQ(listings(), before);
}

TEST_F(Migrate, ATargetHoldingRecordsIsRefusedUntouched) {
    fillEveryTable(folder.path());
    ASSERT_EQ(cli(folder.path().string(), {"migrate", "--to", url}).status, 0);
    const std::string onServer = cli(folder.path().string(), {"--database", url, "list", "Schedule"}).out;

    // Once more to the same schema, then back into the folder's full file.
    for (const char* direction : {"--to", "--from"}) {
        const ProcessResult again = cli(folder.path().string(), {"migrate", direction, url});
        EXPECT_EQ(again.status, 2) << direction;
        EXPECT_EQ(lines(again.err).size(), 1u) << again.err;
        EXPECT_NE(again.err.find("already holds records"), std::string::npos) << again.err;
        EXPECT_EQ(again.err.find("copied"), std::string::npos) << again.err;
    }
    EXPECT_EQ(cli(folder.path().string(), {"--database", url, "list", "Schedule"}).out, onServer);
    EXPECT_EQ(queryServer({url}, "SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'plorix%'"), "1");
}

}  // namespace
}  // namespace plorix::test
