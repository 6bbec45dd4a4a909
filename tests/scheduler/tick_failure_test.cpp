// A tick that meets a damaged data file or another station's lock: the
// damage is told once and nothing fires; the lock costs the window only a
// moment and the run follows on a later tick.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "data/data_file.h"
#include "fire_rig.h"
#include "scheduler/frame_tick.h"
#include "store/damaged_file.h"
#include "store/file_key.h"
#include "support/served_run.h"

namespace plorix::scheduler {
namespace {

using namespace test;

class TickFailure : public FireRig {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) add(dailyMessage("Due " + std::to_string(i), ymd(2024, 5, 6), hm(8, 0)));
    }
    // Closes the file, lets `change` work on it from outside, opens it again.
    template <typename Change>
    void fromOutside(Change change) {
        scriptingUse.reset();
        scheduleUse.reset();
        change(std::string(data::kDataFileName));
        scheduleUse.emplace(schedule(), prompter);
        scriptingUse.emplace(scripting(), prompter);
    }
    std::size_t shown(std::string_view title) {
        std::size_t n = 0;
        for (const auto& box : prompter.shown()) n += box.title == title;
        return n;
    }
    FrameTick frame{context};
};

TEST_F(TickFailure, ADamagedScheduleIsToldOnceAndFiresNothing) {
    PLORIX_FILE_RUN_ONLY("damages the file's pages");
    fromOutside([](const std::string& file) { data::test::damage(file, "s"); });
    for (int i = 0; i < 3; ++i) {
        const TickReport report = frame.tick();
        EXPECT_EQ(report.failure.code, store::kInvalidDataFile);
        EXPECT_EQ(report.failedTable, "px97\\!s");
        EXPECT_FALSE(report.fired);
    }
    EXPECT_EQ(shown("Record Retrieval Error"), 1u);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_NE(prompter.shown().back().text.find("Invalid Data File (36)"), std::string::npos)
        << prompter.shown().back().text;
    EXPECT_TRUE(reminders.empty());
}

TEST_F(TickFailure, AnotherStationsLockCostsTheTickAMomentAndTheRunFollowsLater) {
    PLORIX_FILE_RUN_ONLY("a SQLite lock on the file");
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t station = fork();
    if (station == 0) {
        // Another station in the middle of writing: readers must wait.
        sqlite3* db = nullptr;
        sqlite3_open_v2(data::kDataFileName.data(), &db, SQLITE_OPEN_READWRITE, nullptr);
        store::keyConnection(db, data::kOwnerPassword);
        const bool locked = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        char byte = locked ? 1 : 0;
        [[maybe_unused]] ssize_t n = ::write(ready[1], &byte, 1);
        n = ::read(release[0], &byte, 1);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
        _exit(0);
    }
    char locked = 0;
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    ASSERT_EQ(locked, 1);

    frame.state().statusNext = "Next: what the last tick read";
    const auto start = std::chrono::steady_clock::now();
    const TickReport held = frame.tick();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(held.busy);
    EXPECT_TRUE(held.failure.ok()) << held.failure.describe();
    EXPECT_FALSE(held.fired && held.fired->outcome == FireOutcome::Performed);
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(frame.state().statusNext, "Next: what the last tick read");  // not blanked meanwhile

    const char go = 1;
    ASSERT_EQ(::write(release[1], &go, 1), 1);
    waitpid(station, nullptr, 0);
    const TickReport after = frame.tick();
    ASSERT_TRUE(after.fired);
    EXPECT_EQ(after.fired->outcome, FireOutcome::Performed);
    EXPECT_FALSE(after.busy);
    EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
}  // namespace plorix::scheduler
