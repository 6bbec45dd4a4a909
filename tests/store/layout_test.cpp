// Stored layouts older or newer than the program's, and lost keys.

#include <gtest/gtest.h>

#include "data/raw_data_file.h"
#include "store/backend_test.h"
#include "store/store_support.h"
#include "data/tables.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

using test::openOrCreate;

class StoreLayoutTest : public test::BackendTest {
protected:
    void SetUp() override {
        store::Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), store::kNoError);
        for (const char* name : {"Home", "Work"}) {
            categories.rec<Categories>().CATEGORY = name;
            ASSERT_EQ(categories.add(), store::kNoError);
        }
    }
};
PLORIX_ON_BOTH_BACKENDS(StoreLayoutTest);

TEST_P(StoreLayoutTest, AnOlderLayoutIsConvertedInPlaceKeepingItsRecords) {
    {
        // The window log as the previous version of the program kept it:
        // wider titles, no time, a column since dropped.
        rawExec(R"(CREATE TABLE "WL" ("_pos" INTEGER PRIMARY KEY, "_ver" INTEGER NOT NULL DEFAULT 1,
                      "TITLE" TEXT NOT NULL DEFAULT '', "DATE" INTEGER NOT NULL DEFAULT 0,
                      "SEEN" INTEGER NOT NULL DEFAULT 0))");
        rawExec(R"(CREATE UNIQUE INDEX "WL.WL:KEYTITLE" ON "WL" ("TITLE"))");
        rawExec(R"(INSERT INTO "plorix_catalogue" VALUES ('WL', 'WindowLookup', 1))");
        rawExec(R"(INSERT INTO "WL" VALUES (5, 3, 'Editor', 80001, 9))");
        rawExec("INSERT INTO \"WL\" VALUES (9, 1, '" + std::string(100, 'x') + "', 80000, 1)");
    }
    // Only a layout the program declares as one of its earlier ones is converted.
    store::Table unknown(WindowLookup::schema());
    EXPECT_EQ(unknown.open(), store::kInvalidDataFile);
    EXPECT_EQ(unknown.upgrade(), store::kInvalidDataFile);
    store::TableSchema schema = WindowLookup::schema();
    schema.earlierLayouts.push_back({1, {"TITLE", "DATE", "SEEN"}});
    store::Table log(schema);
    EXPECT_EQ(log.open(), store::kInvalidRecordDeclaration);
    ASSERT_EQ(log.upgrade(), store::kNoError) << log.error().describe();
    ASSERT_EQ(log.open(), store::kNoError);
    EXPECT_EQ(log.records(), 2);
    auto& r = log.rec<WindowLookup>();
    ASSERT_EQ(log.reget(5), store::kNoError);  // positions survive
    EXPECT_EQ(r.TITLE, "Editor");
    EXPECT_EQ(r.DATE, 80001);
    EXPECT_EQ(r.TIME, 0);
    r.TIME = 100;
    EXPECT_EQ(log.put(), store::kNoError);
    ASSERT_EQ(log.reget(9), store::kNoError);
    EXPECT_EQ(r.TITLE, std::string(70, 'x'));

    log.setStart(log.schema().keyIndex("KEYDATE"));
    ASSERT_EQ(log.next(), store::kNoError);
    EXPECT_EQ(log.position(), 9);
    ASSERT_EQ(log.next(), store::kNoError);
    EXPECT_EQ(log.position(), 5);
    EXPECT_EQ(log.upgrade(), store::kNoError);  // nothing left to do

    EXPECT_EQ(rawColumn(R"(SELECT version FROM "plorix_catalogue" WHERE name = 'WL')"),
              std::vector<std::string>{"2"});
    store::Table categories(Categories::schema());
    ASSERT_EQ(categories.open(), store::kNoError);
    EXPECT_EQ(categories.records(), 2);
}

TEST_P(StoreLayoutTest, TablesThatAreNotOursAreRefusedAndLeftUntouched) {
    {
        // No catalogue entry: someone else's table of the same name.
        rawExec(R"(CREATE TABLE "Hol" ("HOLIDAYDATE" INTEGER, "HOLIDAY" TEXT))");
        rawExec(R"(INSERT INTO "Hol" VALUES (80000, 'New Year'))");
        // The transfer file's to-do table, as in a transfer file copied in
        // as the data file: catalogued, but as another table.
        rawExec(R"(CREATE TABLE "todo" ("_pos" INTEGER PRIMARY KEY, "_ver" INTEGER, "DONE" INTEGER))");
        rawExec(R"(INSERT INTO "plorix_catalogue" VALUES ('todo', 'SyncTodo', 1))");
        // Our own entry and version, but columns of no layout of ours.
        rawExec(R"(ALTER TABLE "Categories" ADD COLUMN "COLOUR" TEXT NOT NULL DEFAULT 'red')");
    }
    const std::string before = onServer() ? std::string() : dir.read("Px97.TPS");
    for (const store::TableSchema* schema : {&Holidays::schema(), &Todo::schema(), &Categories::schema()}) {
        store::Table table(*schema);
        EXPECT_EQ(table.open(), store::kInvalidDataFile) << schema->label;
        EXPECT_EQ(table.upgrade(), store::kInvalidDataFile) << schema->label;
        EXPECT_EQ(table.buildKeys(), store::kInvalidDataFile) << schema->label;
        EXPECT_EQ(table.create(), store::kNoError)
            << schema->label;  // creating leaves an existing table alone
        EXPECT_EQ(table.open(store::kReadOnlyDenyNone), store::kInvalidDataFile) << schema->label;
    }
    if (!onServer()) {
        EXPECT_EQ(dir.read("Px97.TPS"), before);
    }
    EXPECT_EQ(rawColumn(R"(SELECT "HOLIDAY" FROM "Hol")"), std::vector<std::string>{"New Year"});
}

TEST_P(StoreLayoutTest, ANewerLayoutIsRefusedAndLeftAlone) {
    {
        rawExec(R"(UPDATE "plorix_catalogue" SET version = 3 WHERE name = 'Categories')");
        rawExec(R"(ALTER TABLE "Categories" ADD COLUMN "COLOUR" TEXT NOT NULL DEFAULT 'red')");
    }
    store::Table categories(Categories::schema());
    EXPECT_EQ(categories.open(), store::kInvalidRecordDeclaration);
    EXPECT_EQ(categories.upgrade(), store::kInvalidRecordDeclaration);
    EXPECT_EQ(rawColumn(R"(SELECT "COLOUR" FROM "Categories")"), (std::vector<std::string>{"red", "red"}));
}

TEST_P(StoreLayoutTest, ALostOrAlteredKeyMustBeRebuilt) {
    {
        rawExec(R"(DROP INDEX "Categories.CAT:KEYCATEGORY")");
        rawExec(R"(INSERT INTO "Categories" ("CATEGORY") VALUES ('Leisure'))");
    }
    store::Table categories(Categories::schema());
    EXPECT_EQ(categories.open(), store::kKeyMustBeRebuilt);
    EXPECT_EQ(categories.error().keyName, "CAT:KEYCATEGORY");
    ASSERT_EQ(categories.buildKeys(), store::kNoError);
    ASSERT_EQ(categories.open(), store::kNoError);
    categories.rec<Categories>().CATEGORY = "LEISURE";
    EXPECT_EQ(categories.add(), store::kDuplicateKey);
    categories.close();

    {
        // The same key made case-sensitive behind the store's back.
        rawExec(R"(DROP INDEX "Categories.CAT:KEYCATEGORY")");
        rawExec(R"(CREATE UNIQUE INDEX "Categories.CAT:KEYCATEGORY" ON "Categories" ("CATEGORY"))");
    }
    EXPECT_EQ(categories.open(), store::kKeyMustBeRebuilt);
    std::vector<std::string> problems;
    ASSERT_EQ(categories.checkIntegrity(problems), store::kNoError);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("CAT:KEYCATEGORY"), std::string::npos) << problems[0];
    ASSERT_EQ(categories.upgrade(), store::kNoError);  // the upgrade step mends keys as well
    EXPECT_EQ(categories.open(), store::kNoError);
}

TEST_P(StoreLayoutTest, DuplicatesStopAUniqueKeyFromBeingRebuilt) {
    {
        rawExec(R"(DROP INDEX "Categories.CAT:KEYCATEGORY")");
        rawExec(R"(INSERT INTO "Categories" ("CATEGORY") VALUES ('work'))");
    }
    store::Table categories(Categories::schema());
    EXPECT_EQ(categories.buildKeys(), store::kDuplicateKey);
    EXPECT_EQ(categories.error().keyName, "CAT:KEYCATEGORY");
    EXPECT_EQ(categories.open(), store::kKeyMustBeRebuilt);
    EXPECT_EQ(rawColumn(R"(SELECT count(*) FROM "Categories")"), std::vector<std::string>{"3"});
}

TEST_P(StoreLayoutTest, DuplicatesSetAsideIntoALocalFileLetTheKeyBeRebuilt) {
    rawExec(R"(DROP INDEX "Categories.CAT:KEYCATEGORY")");
    rawExec(R"(INSERT INTO "Categories" ("CATEGORY") VALUES ('work'))");
    store::Table categories(Categories::schema());
    store::SetAside aside{(dir / "aside" / "Px97.TPS").string(), (dir / "aside" / "Categories.csv").string()};
    ASSERT_EQ(categories.buildKeys(&aside), store::kNoError) << categories.error().describe();
    EXPECT_EQ(aside.moved, 1);
    EXPECT_EQ(aside.keyName, "CAT:KEYCATEGORY");
    EXPECT_NE(dir.read("aside/Categories.csv").find("\"work\""), std::string::npos);
    ASSERT_EQ(categories.open(), store::kNoError);
    EXPECT_EQ(categories.records(), 2);
    categories.rec<Categories>().CATEGORY = "WORK";
    EXPECT_EQ(categories.add(), store::kDuplicateKey);
}

}  // namespace
}  // namespace plorix::data
