#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "data/data_file.h"
#include "store/backend_test.h"
#include "store/store_support.h"
#include "data/tables.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

namespace fs = std::filesystem;
using test::openOrCreate;

std::vector<std::string> folderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

std::vector<const store::TableSchema*> dataFileSchemas() {
    std::vector<const store::TableSchema*> out;
    for (const store::TableSchema* s : allSchemas()) {
        if (store::splitStoredName(s->storedName, *s).file == kDataFileName) out.push_back(s);
    }
    return out;
}

// What opening does alike on both backends; a served file itself is never
// written.
class StoreOpenBackendTest : public test::BackendTest {};
PLORIX_ON_BOTH_BACKENDS(StoreOpenBackendTest);

TEST_P(StoreOpenBackendTest, TheTwelveTablesLiveInOneEncryptedFile) {
    std::vector<std::unique_ptr<store::Table>> tables;
    for (const store::TableSchema* s : dataFileSchemas()) {
        tables.push_back(std::make_unique<store::Table>(*s));
        ASSERT_EQ(openOrCreate(*tables.back()), store::kNoError)
            << s->label << " " << tables.back()->error().describe();
    }
    ASSERT_EQ(tables.size(), 12u);
    EXPECT_EQ(folderNames(dir.path()),
              onServer() ? std::vector<std::string>{} : std::vector<std::string>{"Px97.TPS"});
    EXPECT_EQ(tables[0]->open(), store::kFileAlreadyOpen);

    store::Table& categories = *tables[0];
    categories.rec<Categories>().CATEGORY = "Confidential";
    ASSERT_EQ(categories.add(), store::kNoError);
    store::Table& schedule = *tables[8];
    ASSERT_EQ(schedule.schema().label, "Schedule");
    schedule.rec<Schedule>().DESCRIPTION = "QuarterlyPayroll";
    schedule.rec<Schedule>().MESSAGE = "MemoTextInTheRow";
    schedule.rec<Schedule>().ALARMFILE = std::string(255, 'a');
    ASSERT_EQ(schedule.add(), store::kNoError);
    tables.clear();

    if (!onServer()) {
        const std::string bytes = dir.read("Px97.TPS");
        ASSERT_FALSE(bytes.empty());
        for (const char* plain :
             {"Confidential", "QuarterlyPayroll", "MemoTextInTheRow", "CREATE TABLE", "SQLite format"}) {
            EXPECT_EQ(bytes.find(plain), std::string::npos) << plain;
        }
    }

    store::Table again(Schedule::schema());
    ASSERT_EQ(again.open(), store::kNoError);
    again.setStart(again.schema().keyIndex("KEYTASKNAME"));
    ASSERT_EQ(again.next(), store::kNoError);
    EXPECT_EQ(again.rec<Schedule>().MESSAGE, "MemoTextInTheRow");
    EXPECT_EQ(again.rec<Schedule>().ALARMFILE, std::string(254, 'a'));
}

TEST(StoreOpenTest, AnotherKeyOrAForeignFileIsInvalidAndLeftUntouched) {
    plorix::test::TempDir dir;
    {
        store::Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), store::kNoError);
    }
    const std::string before = dir.read("Px97.TPS");
    store::Table wrongKey(Categories::schema());
    wrongKey.setPassword("not the owner");
    EXPECT_EQ(wrongKey.open(), store::kInvalidDataFile);
    EXPECT_EQ(wrongKey.create(), store::kInvalidDataFile);
    EXPECT_EQ(store::lastError().code, store::kInvalidDataFile);
    EXPECT_EQ(dir.read("Px97.TPS"), before);

    const std::string foreign = "These are the minutes of the meeting, not a data file.\n";
    dir.write("Px97.TPS", foreign);
    store::Table todo(Todo::schema());
    EXPECT_EQ(todo.open(), store::kInvalidDataFile);
    EXPECT_EQ(todo.create(), store::kInvalidDataFile);
    EXPECT_EQ(todo.upgrade(), store::kInvalidDataFile);
    EXPECT_EQ(dir.read("Px97.TPS"), foreign);
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"Px97.TPS"});
}

TEST_P(StoreOpenBackendTest, AMissingFileOrTableIsNotFoundUntilCreated) {
    store::Table todo(Todo::schema());
    EXPECT_EQ(todo.open(), store::kFileNotFound);
    EXPECT_TRUE(folderNames(dir.path()).empty());
    store::Table categories(Categories::schema());
    ASSERT_EQ(categories.create(), store::kNoError);
    EXPECT_EQ(folderNames(dir.path()).size(), onServer() ? 0u : 1u);
    EXPECT_EQ(todo.open(), store::kFileNotFound);  // the file exists, the table not yet
    ASSERT_EQ(todo.create(), store::kNoError);
    ASSERT_EQ(todo.open(), store::kNoError);
    todo.rec<Todo>().TODO = "call back";
    ASSERT_EQ(todo.add(), store::kNoError);
    // Creating again leaves the table and its records alone.
    EXPECT_EQ(todo.create(), store::kNoError);
    EXPECT_EQ(todo.records(), 1);
    todo.close();
    EXPECT_FALSE(todo.isOpen());
    EXPECT_EQ(todo.next(), store::kFileNotFound);
}

TEST(StoreOpenTest, TheDataFileIsFoundWhateverItsLetterCase) {
    plorix::test::TempDir dir;
    {
        store::Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), store::kNoError);
        categories.rec<Categories>().CATEGORY = "Home";
        ASSERT_EQ(categories.add(), store::kNoError);
    }
    fs::rename(dir / "Px97.TPS", dir / "pX97.tps");
    store::Table categories(Categories::schema());
    ASSERT_EQ(categories.open(), store::kNoError);
    EXPECT_EQ(categories.records(), 1);
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"pX97.tps"});
}

// A table is named as the file names it, whatever the letter case: one
// created as "categories" is the table "Categories" opens, reads, writes,
// upgrades and checks, and creating "Categories" makes no second one.
TEST_P(StoreOpenBackendTest, ATableStoredUnderAnotherLetterCaseIsTheOneOpened) {
    {
        store::Table lower(Categories::schema());
        lower.setName("px97\\!categories");
        ASSERT_EQ(openOrCreate(lower), store::kNoError);
        lower.rec<Categories>().CATEGORY = "Home";
        ASSERT_EQ(lower.add(), store::kNoError);
    }
    store::Table categories(Categories::schema());
    ASSERT_EQ(categories.create(), store::kNoError);
    ASSERT_EQ(categories.open(), store::kNoError) << categories.error().describe();
    categories.setStart(0);
    ASSERT_EQ(categories.next(), store::kNoError) << categories.error().describe();
    EXPECT_EQ(categories.rec<Categories>().CATEGORY, "Home");
    categories.rec<Categories>().CATEGORY = "Work";
    ASSERT_EQ(categories.add(), store::kNoError) << categories.error().describe();
    EXPECT_EQ(categories.records(), 2);
    categories.close();
    EXPECT_EQ(categories.upgrade(), store::kNoError) << categories.error().describe();
    EXPECT_EQ(categories.buildKeys(), store::kNoError) << categories.error().describe();
    std::vector<std::string> problems;
    ASSERT_EQ(categories.checkIntegrity(problems), store::kNoError);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(rawColumn(R"(SELECT "CATEGORY" FROM "categories" ORDER BY 1)"),
              (std::vector<std::string>{"Home", "Work"}));
}

TEST(StoreOpenTest, CreationWhereNoFileCanBeMadeFailsWithTheDriversError) {
    plorix::test::TempDir dir;
    dir.write("notafolder", "a plain file");
    store::Table schedule(Schedule::schema());
    schedule.setName("notafolder/px97\\!s");
    EXPECT_EQ(schedule.open(), store::kFileNotFound);
    EXPECT_EQ(schedule.create(), store::kFileSystemError);
    EXPECT_NE(schedule.error().driverCode, 0);
    EXPECT_FALSE(schedule.error().driverText.empty());
    EXPECT_EQ(schedule.error().describe(),
              schedule.error().driverText + " (" + std::to_string(schedule.error().driverCode) + ")");
    EXPECT_FALSE(schedule.isOpen());
}

TEST(StoreOpenTest, AReadOnlyFolderRefusesCreation) {
    plorix::test::TempDir dir;
    // Permissions do not bind the superuser; no one may create files in /proc.
    const bool superuser = geteuid() == 0;
    const fs::path folder = superuser ? fs::path("/proc") : dir / "locked";
    if (!superuser) {
        fs::create_directory(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    store::Table schedule(Schedule::schema());
    schedule.setName(folder.string() + "/px97\\!s");
    EXPECT_EQ(schedule.open(), store::kFileNotFound);
    EXPECT_EQ(schedule.create(), store::kFileSystemError);
    EXPECT_FALSE(fs::exists(folder / "px97.TPS"));
    EXPECT_FALSE(schedule.isOpen());
}

TEST_P(StoreOpenBackendTest, ReadOnlyAccessReadsButNeverWrites) {
    {
        store::Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), store::kNoError);
        categories.rec<Categories>().CATEGORY = "Home";
        ASSERT_EQ(categories.add(), store::kNoError);
    }
    const std::string before = onServer() ? std::string() : dir.read("Px97.TPS");
    store::Table reader(Categories::schema());
    ASSERT_EQ(reader.open(store::kReadOnlyDenyNone), store::kNoError);
    reader.setStart(0);
    ASSERT_EQ(reader.next(), store::kNoError);
    EXPECT_EQ(reader.rec<Categories>().CATEGORY, "Home");
    reader.rec<Categories>().CATEGORY = "Work";
    EXPECT_EQ(reader.put(), store::kAccessDenied);
    EXPECT_EQ(reader.add(), store::kAccessDenied);
    EXPECT_EQ(reader.erase(), store::kAccessDenied);
    reader.close();
    EXPECT_EQ(rawColumn(R"(SELECT "CATEGORY" FROM "Categories")"), std::vector<std::string>{"Home"});
    if (!onServer()) {
        EXPECT_EQ(dir.read("Px97.TPS"), before);
    }
}

TEST(StoreOpenTest, TagFilesArePlainSingleTableFiles) {
    plorix::test::TempDir dir;
    store::Table tags(TagFile_::schema());
    ASSERT_EQ(openOrCreate(tags), store::kNoError);
    tags.rec<TagFile_>().TBL = 3;
    tags.rec<TagFile_>().PTR = 42;
    tags.rec<TagFile_>().VAL = "picked";
    ASSERT_EQ(tags.add(), store::kNoError);
    tags.close();
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"TagFile_.TPS"});
    EXPECT_EQ(dir.read("TagFile_.TPS").rfind("SQLite format 3", 0), 0u);
    ASSERT_EQ(tags.open(), store::kNoError);
    tags.rec<TagFile_>().PTR = 42;
    tags.rec<TagFile_>().VAL = "";
    ASSERT_EQ(tags.get(tags.schema().keyIndex("PTRKEY")), store::kNoError);
    EXPECT_EQ(tags.rec<TagFile_>().VAL, "picked");
    EXPECT_EQ(tags.empty(), store::kNoError);
    EXPECT_EQ(tags.records(), 0);
}

}  // namespace
}  // namespace plorix::data
