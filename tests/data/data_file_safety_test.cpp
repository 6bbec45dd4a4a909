// The data file as the open routine finds it after something went wrong:
// emptied, holding duplicates a key no longer allows, or keyed by an
// earlier build.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "data/fatal_error.h"
#include "data/open_routine.h"
#include "data/raw_data_file.h"
#include "data/tables.h"
#include "runtime/clock.h"
#include "store/file_key.h"
#include "support/served_run.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

namespace fs = std::filesystem;
using test::RawDataFile;

class DataFileSafety : public ::testing::Test {
protected:
    void TearDown() override {
        resetUseCounts();
        setProcessClock(nullptr);
    }
    bool opens(store::Table& table) {
        try {
            openTable(table, prompter);
        } catch (const FatalError&) {
            return false;
        }
        return table.isOpen();
    }
    plorix::test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(DataFileSafety, AnEmptyDataFileIsNewOnlyInAFolderWithNothingElseOfOurs) {
    PLORIX_FILE_RUN_ONLY("an empty file");
    dir.write("Px97.TPS", "");
    dir.write("px98.INI", "[Settings]\n");
    store::Table categories(Categories::schema());
    EXPECT_FALSE(opens(categories));
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_NE(prompter.shown().back().text.find("Invalid Data File (36)"), std::string::npos);
    EXPECT_EQ(fs::file_size(dir / "Px97.TPS"), 0u);

    fs::remove(dir / "px98.INI");
    EXPECT_TRUE(opens(categories));
    categories.rec<Categories>().CATEGORY = "Home";
    EXPECT_EQ(categories.add(), store::kNoError);
}

TEST_F(DataFileSafety, NewFilesAreTheOwnersAloneAndRawKeyedWhileOldPassphraseFilesStayAsTheyAre) {
    PLORIX_FILE_RUN_ONLY("the file's mode and key");
    store::Table categories(Categories::schema());
    ASSERT_TRUE(opens(categories));
    categories.close();
    struct stat st {};
    ASSERT_EQ(stat("Px97.TPS", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    auto keyedWith = [](const std::string& path, store::KeyForm form,
                        const char* sql = "SELECT count(*) FROM sqlite_master") {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        store::keyConnection(db, kOwnerPassword, form);
        const bool readable = sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close_v2(db);
        return readable;
    };
    EXPECT_TRUE(keyedWith("Px97.TPS", store::KeyForm::Raw));
    EXPECT_FALSE(keyedWith("Px97.TPS", store::KeyForm::Passphrase));

    // A file an earlier build keyed with the passphrase opens, takes writes
    // and keeps its key.
    fs::create_directory(dir / "old");
    ASSERT_TRUE(keyedWith("old/Px97.TPS", store::KeyForm::Passphrase, "PRAGMA user_version = 1"));
    store::Table old(Categories::schema());
    old.setName("old/Px97.TPS\\!Categories");
    ASSERT_TRUE(opens(old));
    old.rec<Categories>().CATEGORY = "Kept";
    EXPECT_EQ(old.add(), store::kNoError);
    old.close();
    EXPECT_TRUE(keyedWith("old/Px97.TPS", store::KeyForm::Passphrase));
    EXPECT_FALSE(keyedWith("old/Px97.TPS", store::KeyForm::Raw));
}

TEST_F(DataFileSafety, DuplicatesOfARebuiltKeyAreMovedAsideAndTheProgramStarts) {
    PLORIX_FILE_RUN_ONLY("duplicates written into the file");
    {
        store::Table categories(Categories::schema());
        ASSERT_TRUE(opens(categories));
        for (const char* name : {"Work", "Home"}) {
            categories.rec<Categories>().CATEGORY = name;
            ASSERT_EQ(categories.add(), store::kNoError);
        }
    }
    {
        RawDataFile raw("Px97.TPS");
        raw.exec(R"(DROP INDEX "Categories.CAT:KEYCATEGORY")");
        raw.exec(R"(INSERT INTO "Categories" ("CATEGORY") VALUES ('work'), ('Play'))");
    }
    ManualClock clock(Moment{makeDate(3, 4, 2026), 5 * kHundredthsPerHour + 6 * kHundredthsPerMinute + 701});
    setProcessClock(&clock);
    prompter.answerNext(kYes);  // rebuild the key
    store::Table categories(Categories::schema());
    ASSERT_TRUE(opens(categories)) << prompter.shown().back().text;
    EXPECT_EQ(categories.records(), 3);  // the first stored "Work", "Home", "Play"
    const fs::path folder = dir / "duplicates-20260304-050607";
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[1].title, "Duplicate Records Moved");
    EXPECT_NE(prompter.shown()[1].text.find(folder.string()), std::string::npos) << prompter.shown()[1].text;

    store::Table moved(Categories::schema());
    moved.setName((folder / "Px97.TPS").string() + "\\!Categories");
    ASSERT_EQ(moved.open(store::kReadOnlyDenyNone), store::kNoError);
    moved.setStart(0);
    ASSERT_EQ(moved.next(), store::kNoError);
    EXPECT_EQ(moved.rec<Categories>().CATEGORY, "work");
    EXPECT_EQ(moved.next(), store::kRecordNotAvailable);
    EXPECT_EQ(dir.read((folder / "Categories.csv").string()), "\"CAT:CATEGORY\"\r\n\"work\"\r\n");
}

}  // namespace
}  // namespace plorix::data
