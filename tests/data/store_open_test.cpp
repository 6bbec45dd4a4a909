#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "data/store_support.h"
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

std::vector<const TableSchema*> dataFileSchemas() {
    std::vector<const TableSchema*> out;
    for (const TableSchema* s : allSchemas()) {
        if (splitStoredName(s->storedName, *s).file == kDataFileName) out.push_back(s);
    }
    return out;
}

TEST(StoreOpenTest, TheTwelveTablesLiveInOneEncryptedFile) {
    plorix::test::TempDir dir;
    std::vector<std::unique_ptr<Table>> tables;
    for (const TableSchema* s : dataFileSchemas()) {
        tables.push_back(std::make_unique<Table>(*s));
        ASSERT_EQ(openOrCreate(*tables.back()), kNoError) << s->label << " " << tables.back()->error().describe();
    }
    ASSERT_EQ(tables.size(), 12u);
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"Px97.TPS"});
    EXPECT_EQ(tables[0]->open(), kFileAlreadyOpen);

    Table& categories = *tables[0];
    categories.rec<Categories>().CATEGORY = "Confidential";
    ASSERT_EQ(categories.add(), kNoError);
    Table& schedule = *tables[8];
    ASSERT_EQ(schedule.schema().label, "Schedule");
    schedule.rec<Schedule>().DESCRIPTION = "QuarterlyPayroll";
    schedule.rec<Schedule>().MESSAGE = "MemoTextInTheRow";
    schedule.rec<Schedule>().ALARMFILE = std::string(255, 'a');
    ASSERT_EQ(schedule.add(), kNoError);
    tables.clear();

    const std::string bytes = dir.read("Px97.TPS");
    ASSERT_FALSE(bytes.empty());
    for (const char* plain : {"Confidential", "QuarterlyPayroll", "MemoTextInTheRow", "CREATE TABLE", "SQLite format"}) {
        EXPECT_EQ(bytes.find(plain), std::string::npos) << plain;
    }

    Table again(Schedule::schema());
    ASSERT_EQ(again.open(), kNoError);
    again.setStart(again.schema().keyIndex("KEYTASKNAME"));
    ASSERT_EQ(again.next(), kNoError);
    EXPECT_EQ(again.rec<Schedule>().MESSAGE, "MemoTextInTheRow");
    EXPECT_EQ(again.rec<Schedule>().ALARMFILE, std::string(254, 'a'));
}

TEST(StoreOpenTest, AnotherKeyOrAForeignFileIsInvalidAndLeftUntouched) {
    plorix::test::TempDir dir;
    {
        Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), kNoError);
    }
    const std::string before = dir.read("Px97.TPS");
    Table wrongKey(Categories::schema());
    wrongKey.setPassword("not the owner");
    EXPECT_EQ(wrongKey.open(), kInvalidDataFile);
    EXPECT_EQ(wrongKey.create(), kInvalidDataFile);
    EXPECT_EQ(lastError().code, kInvalidDataFile);
    EXPECT_EQ(dir.read("Px97.TPS"), before);

    const std::string foreign = "These are the minutes of the meeting, not a data file.\n";
    dir.write("Px97.TPS", foreign);
    Table todo(Todo::schema());
    EXPECT_EQ(todo.open(), kInvalidDataFile);
    EXPECT_EQ(todo.create(), kInvalidDataFile);
    EXPECT_EQ(todo.upgrade(), kInvalidDataFile);
    EXPECT_EQ(dir.read("Px97.TPS"), foreign);
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"Px97.TPS"});
}

TEST(StoreOpenTest, AMissingFileOrTableIsNotFoundUntilCreated) {
    plorix::test::TempDir dir;
    Table todo(Todo::schema());
    EXPECT_EQ(todo.open(), kFileNotFound);
    EXPECT_TRUE(folderNames(dir.path()).empty());
    Table categories(Categories::schema());
    ASSERT_EQ(categories.create(), kNoError);
    EXPECT_EQ(todo.open(), kFileNotFound);  // the file exists, the table not yet
    ASSERT_EQ(todo.create(), kNoError);
    ASSERT_EQ(todo.open(), kNoError);
    todo.rec<Todo>().TODO = "call back";
    ASSERT_EQ(todo.add(), kNoError);
    // Creating again leaves the table and its records alone.
    EXPECT_EQ(todo.create(), kNoError);
    EXPECT_EQ(todo.records(), 1);
    todo.close();
    EXPECT_FALSE(todo.isOpen());
    EXPECT_EQ(todo.next(), kFileNotFound);
}

TEST(StoreOpenTest, TheDataFileIsFoundWhateverItsLetterCase) {
    plorix::test::TempDir dir;
    {
        Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), kNoError);
        categories.rec<Categories>().CATEGORY = "Home";
        ASSERT_EQ(categories.add(), kNoError);
    }
    fs::rename(dir / "Px97.TPS", dir / "pX97.tps");
    Table categories(Categories::schema());
    ASSERT_EQ(categories.open(), kNoError);
    EXPECT_EQ(categories.records(), 1);
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"pX97.tps"});
}

TEST(StoreOpenTest, CreationWhereNoFileCanBeMadeFailsWithTheDriversError) {
    plorix::test::TempDir dir;
    dir.write("notafolder", "a plain file");
    Table schedule(Schedule::schema());
    schedule.setName("notafolder/px97\\!s");
    EXPECT_EQ(schedule.open(), kFileNotFound);
    EXPECT_EQ(schedule.create(), kFileSystemError);
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
    Table schedule(Schedule::schema());
    schedule.setName(folder.string() + "/px97\\!s");
    EXPECT_EQ(schedule.open(), kFileNotFound);
    EXPECT_EQ(schedule.create(), kFileSystemError);
    EXPECT_FALSE(fs::exists(folder / "px97.TPS"));
    EXPECT_FALSE(schedule.isOpen());
}

TEST(StoreOpenTest, ReadOnlyAccessReadsButNeverWrites) {
    plorix::test::TempDir dir;
    {
        Table categories(Categories::schema());
        ASSERT_EQ(openOrCreate(categories), kNoError);
        categories.rec<Categories>().CATEGORY = "Home";
        ASSERT_EQ(categories.add(), kNoError);
    }
    const std::string before = dir.read("Px97.TPS");
    Table reader(Categories::schema());
    ASSERT_EQ(reader.open(kReadOnlyDenyNone), kNoError);
    reader.setStart(0);
    ASSERT_EQ(reader.next(), kNoError);
    EXPECT_EQ(reader.rec<Categories>().CATEGORY, "Home");
    reader.rec<Categories>().CATEGORY = "Work";
    EXPECT_EQ(reader.put(), kAccessDenied);
    EXPECT_EQ(reader.add(), kAccessDenied);
    EXPECT_EQ(reader.erase(), kAccessDenied);
    reader.close();
    EXPECT_EQ(dir.read("Px97.TPS"), before);
}

TEST(StoreOpenTest, TagFilesArePlainSingleTableFiles) {
    plorix::test::TempDir dir;
    Table tags(TagFile_::schema());
    ASSERT_EQ(openOrCreate(tags), kNoError);
    tags.rec<TagFile_>().TBL = 3;
    tags.rec<TagFile_>().PTR = 42;
    tags.rec<TagFile_>().VAL = "picked";
    ASSERT_EQ(tags.add(), kNoError);
    tags.close();
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"TagFile_.TPS"});
    EXPECT_EQ(dir.read("TagFile_.TPS").rfind("SQLite format 3", 0), 0u);
    ASSERT_EQ(tags.open(), kNoError);
    tags.rec<TagFile_>().PTR = 42;
    tags.rec<TagFile_>().VAL = "";
    ASSERT_EQ(tags.get(tags.schema().keyIndex("PTRKEY")), kNoError);
    EXPECT_EQ(tags.rec<TagFile_>().VAL, "picked");
    EXPECT_EQ(tags.empty(), kNoError);
    EXPECT_EQ(tags.records(), 0);
}

}  // namespace
}  // namespace plorix::data
