#include "data/open_routine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "data/fatal_error.h"
#include "data/tables.h"
#include "data/raw_data_file.h"
#include "support/served_run.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace plorix::data {
namespace {

namespace fs = std::filesystem;
using test::RawDataFile;

std::vector<std::string> folderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

// The final message of a FatalError, or "" when none was thrown.
template <typename F>
std::string finalMessage(F&& f) {
    try {
        f();
    } catch (const FatalError& e) {
        return e.what();
    }
    return {};
}

class OpenRoutineTest : public ::testing::Test {
protected:
    void SetUp() override { setRecoverSeconds(1); }
    void TearDown() override {
        resetUseCounts();
        setRecoverSeconds(10);
    }
    // Creates the data file with the schedule table in it, then closes it.
    void createScheduleFile() {
        store::Table t(Schedule::schema());
        openTable(t, prompter);
        t.close();
    }

    test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(OpenRoutineTest, FirstUseCreatesTheDataFileWithoutAWord) {
    PLORIX_FILE_RUN_ONLY("the file made on first use");
    store::Table schedule(Schedule::schema());
    store::Table todo(Todo::schema());
    openTable(schedule, prompter);
    openTable(todo, prompter);
    EXPECT_TRUE(schedule.isOpen());
    EXPECT_TRUE(todo.isOpen());
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"Px97.TPS"});
}

TEST_F(OpenRoutineTest, AFileThatIsNotOursEndsWithDiskErrorAndIsLeftAlone) {
    PLORIX_FILE_RUN_ONLY("a file that is not ours");
    std::string foreign;
    for (int i = 0; i < 200; ++i) foreign += "Somebody else's notes, line " + std::to_string(i) + "\n";
    dir.write("px97.tps", foreign);

    store::Table schedule(Schedule::schema());
    EXPECT_EQ(finalMessage([&] { openTable(schedule, prompter); }), "Disk Error");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "File Access Error");
    EXPECT_EQ(prompter.shown()[0].text,
              "File (px97\\!s) could not be opened.  Error: Invalid Data File (36).");
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Warning);
    EXPECT_EQ(dir.read("px97.tps"), foreign);
    EXPECT_EQ(folderNames(dir.path()), std::vector<std::string>{"px97.tps"});
}

TEST_F(OpenRoutineTest, NoTableIsAddedToAFileHoldingOnlyAnotherKindOfTables) {
    // A transfer file's table under the data file's name: it opens under our
    // key, but it is not a data file to complete.
    store::Table transfer(SyncSchedule::schema());
    transfer.setName("PX97\\!s");
    ASSERT_EQ(transfer.create(), store::kNoError);
    const std::string before = dir.read("PX97.TPS");

    store::Table categories(Categories::schema());
    EXPECT_EQ(finalMessage([&] { openTable(categories, prompter); }), "Disk Error");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_NE(prompter.shown()[0].text.find("Invalid Data File (36)"), std::string::npos);
    EXPECT_EQ(dir.read("PX97.TPS"), before);
}

TEST_F(OpenRoutineTest, AFolderThatCannotBeWrittenEndsWithFileCreationError) {
    PLORIX_FILE_RUN_ONLY("the file cannot be made");
    // The checks run where the folder's permissions bind (see runUnprivileged);
    // each failed check gives its own exit status.
    const int failed = plorix::test::runUnprivileged(
        [&] {
            store::Table schedule(Schedule::schema());
            if (finalMessage([&] { openTable(schedule, prompter); }) != "File Creation Error!") return 1;
            if (prompter.shown().size() != 1u) return 2;
            if (prompter.shown()[0].title != "File Creation Error") return 3;
            const std::string& text = prompter.shown()[0].text;
            if (text.rfind("Error: (", 0) != 0) return 4;
            if (text.find(") creating px97\\!s.  Press OK to end this application.") == std::string::npos)
                return 5;
            return 0;
        },
        dir.path());
    EXPECT_EQ(failed, 0);
    EXPECT_TRUE(folderNames(dir.path()).empty());
}

TEST_F(OpenRoutineTest, NoCreateReportsTheMissingFile) {
    store::Table schedule(Schedule::schema());
    EXPECT_EQ(finalMessage([&] { openTable(schedule, prompter, store::kReadWriteDenyNone, true, true); }),
              "Disk Error");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "File (px97\\!s) could not be opened.  Error: File Not Found (2).");
    EXPECT_TRUE(folderNames(dir.path()).empty());
}

TEST_F(OpenRoutineTest, AFileLockedBeyondTheWaitEndsWithDiskError) {
    PLORIX_FILE_RUN_ONLY("a lock on the file");
    createScheduleFile();
    RawDataFile other((dir / "Px97.TPS").string());
    other.exec("BEGIN EXCLUSIVE");

    store::Table schedule(Schedule::schema());
    EXPECT_EQ(finalMessage([&] { openTable(schedule, prompter); }), "Disk Error");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "File (px97\\!s) could not be opened.  Error: File Is Locked (32).");
    other.exec("ROLLBACK");
}

TEST_F(OpenRoutineTest, ALockReleasedDuringTheRecoveryWaitOpens) {
    PLORIX_FILE_RUN_ONLY("a lock on the file");
    createScheduleFile();
    setRecoverSeconds(6);
    auto other = std::make_unique<RawDataFile>((dir / "Px97.TPS").string());
    other->exec("BEGIN EXCLUSIVE");
    // Held past the first open's own wait, given up during the recovery wait.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
        other->exec("ROLLBACK");
    });
    store::Table schedule(Schedule::schema());
    EXPECT_NO_THROW(openTable(schedule, prompter));
    releaser.join();
    EXPECT_TRUE(schedule.isOpen());
    EXPECT_TRUE(prompter.shown().empty());
}

class BrokenKeyTest : public OpenRoutineTest {
protected:
    void SetUp() override {
        PLORIX_FILE_RUN_ONLY("the file's key");
        OpenRoutineTest::SetUp();
        createScheduleFile();
        RawDataFile raw((dir / "Px97.TPS").string());
        raw.exec("DROP INDEX \"s.SCH:KEYDATE\"");
    }
    std::vector<std::string> indexes() {
        RawDataFile raw((dir / "Px97.TPS").string());
        return raw.column("SELECT name FROM sqlite_master WHERE name = 's.SCH:KEYDATE'");
    }
};

TEST_F(BrokenKeyTest, DecliningTheRebuildEndsWithInvalidKey) {
    prompter.answerNext(kNo);
    store::Table schedule(Schedule::schema());
    EXPECT_EQ(finalMessage([&] { openTable(schedule, prompter); }), "Invalid Key!");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Invalid Key");
    EXPECT_EQ(prompter.shown()[0].text, "px97\\!s key file is invalid.  Do you want to rebuild the key?");
    EXPECT_TRUE(indexes().empty());
}

TEST_F(BrokenKeyTest, AcceptingTheRebuildRestoresTheKeyAndOpens) {
    prompter.answerNext(kYes);
    store::Table schedule(Schedule::schema());
    EXPECT_NO_THROW(openTable(schedule, prompter));
    EXPECT_TRUE(schedule.isOpen());
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(indexes().size(), 1u);
}

class LayoutTest : public OpenRoutineTest {
protected:
    void storedVersion(int delta) {
        RawDataFile raw((dir / "Px97.TPS").string());
        raw.exec("UPDATE plorix_catalogue SET version = version + " + std::to_string(delta) +
                 " WHERE name = 's'");
    }
};

TEST_F(LayoutTest, AnOlderLayoutIsUpgradedInPlaceAndKeepsItsRecords) {
    PLORIX_FILE_RUN_ONLY("an older layout written into the file");
    {
        store::Table schedule(Schedule::schema());
        openTable(schedule, prompter);
        schedule.rec<Schedule>().ID = 7;
        schedule.rec<Schedule>().DESCRIPTION = "Weekly backup";
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    storedVersion(-1);

    store::Table schedule(Schedule::schema());
    EXPECT_NO_THROW(openTable(schedule, prompter));
    EXPECT_TRUE(prompter.shown().empty());
    schedule.rec<Schedule>().ID = 7;
    ASSERT_EQ(schedule.get(keys::Schedule::KEYID), store::kNoError);
    EXPECT_EQ(schedule.rec<Schedule>().DESCRIPTION, "Weekly backup");
    RawDataFile raw((dir / "Px97.TPS").string());
    EXPECT_EQ(raw.column("SELECT version FROM plorix_catalogue WHERE name = 's'"),
              std::vector<std::string>{"6"});
}

TEST_F(LayoutTest, ALayoutThatCannotBeConvertedEndsWithTheUpgradeMessage) {
    PLORIX_FILE_RUN_ONLY("an older layout written into the file");
    createScheduleFile();
    storedVersion(+1);
    store::Table schedule(Schedule::schema());
    EXPECT_EQ(finalMessage([&] { openTable(schedule, prompter); }),
              "The databases must be upgraded before using this version.  Consult your "
              "documentation for instructions on this.");
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(OpenRoutineTest, UseCountsKeepATableOpenUntilItsLastUserLeaves) {
    store::Table schedule(Schedule::schema());
    {
        TableUse first(schedule, prompter);
        EXPECT_TRUE(schedule.isOpen());
        {
            TableUse second(schedule, prompter);
            EXPECT_EQ(useCount(schedule), 2);
        }
        EXPECT_TRUE(schedule.isOpen());
        TableUse moved = std::move(first);
        EXPECT_EQ(useCount(schedule), 1);
        EXPECT_TRUE(schedule.isOpen());
    }
    EXPECT_EQ(useCount(schedule), 0);
    EXPECT_FALSE(schedule.isOpen());

    // A table closed behind the counts' back is opened again by its next user.
    acquireTable(schedule, prompter);
    schedule.close();
    acquireTable(schedule, prompter);
    EXPECT_TRUE(schedule.isOpen());
    EXPECT_EQ(useCount(schedule), 1);
    releaseTable(schedule);
    EXPECT_FALSE(schedule.isOpen());
}

}  // namespace
}  // namespace plorix::data
