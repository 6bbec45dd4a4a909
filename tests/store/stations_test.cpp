// Several windows and several stations on one data file: change detection,
// transactions and a writer that dies half-way.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "store/database.h"
#include "store/backend_test.h"
#include "store/store_support.h"
#include "data/tables.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

using test::openOrCreate;
using test::runStation;

class StoreStationsTest : public test::BackendTest {
protected:
    void SetUp() override {
        ASSERT_EQ(openOrCreate(categories), store::kNoError);
        for (const char* name : {"Home", "Work"}) {
            categories.rec<Categories>().CATEGORY = name;
            ASSERT_EQ(categories.add(), store::kNoError);
        }
    }
    int load(store::Table& t, const char* name) {
        t.rec<Categories>().CATEGORY = name;
        return t.get(0);
    }
    std::int64_t count() { return categories.records(); }

    store::Table categories{Categories::schema()};
};
PLORIX_ON_BOTH_BACKENDS(StoreStationsTest);

// What only the file shows: its journal and its size.
class StoreFileStationsTest : public StoreStationsTest {};
PLORIX_ON_THE_FILE(StoreFileStationsTest);

TEST_P(StoreStationsTest, ARecordChangedByAnotherWindowIsNotOverwritten) {
    store::Table other(Categories::schema());
    ASSERT_EQ(other.open(), store::kNoError);
    ASSERT_EQ(load(categories, "Work"), store::kNoError);
    ASSERT_EQ(load(other, "Work"), store::kNoError);
    other.rec<Categories>().CATEGORY = "Office";
    ASSERT_EQ(other.put(), store::kNoError);

    categories.rec<Categories>().CATEGORY = "Job";
    EXPECT_EQ(categories.put(), store::kRecordChanged);
    EXPECT_EQ(categories.erase(), store::kRecordChanged);
    EXPECT_EQ(load(categories, "Job"), store::kRecordNotFound);
    // Read again, the change goes through.
    ASSERT_EQ(load(categories, "Office"), store::kNoError);
    categories.rec<Categories>().CATEGORY = "Job";
    EXPECT_EQ(categories.put(), store::kNoError);
    categories.rec<Categories>().CATEGORY = "Job2";
    EXPECT_EQ(categories.put(), store::kNoError);  // our own change does not count against us

    ASSERT_EQ(load(other, "Home"), store::kNoError);
    ASSERT_EQ(load(categories, "Home"), store::kNoError);
    ASSERT_EQ(other.erase(), store::kNoError);
    EXPECT_EQ(categories.put(), store::kRecordChanged);
}

TEST_P(StoreStationsTest, ARecordChangedByAnotherStationIsNotOverwritten) {
    ASSERT_EQ(load(categories, "Work"), store::kNoError);
    const int station = runStation([] {
        store::Table t(Categories::schema());
        if (t.open() != store::kNoError) return 1;
        t.rec<Categories>().CATEGORY = "Work";
        if (t.get(0) != store::kNoError) return 2;
        t.rec<Categories>().CATEGORY = "Work (theirs)";
        return t.put();
    });
    ASSERT_EQ(station, store::kNoError);
    categories.rec<Categories>().CATEGORY = "Work (ours)";
    EXPECT_EQ(categories.put(), store::kRecordChanged);
    EXPECT_EQ(load(categories, "Work (theirs)"), store::kNoError);
}

TEST_P(StoreStationsTest, ATransactionIsAllOrNothing) {
    store::Table todo(Todo::schema());
    ASSERT_EQ(openOrCreate(todo), store::kNoError);
    auto addTodo = [&](const char* text) {
        todo.rec<Todo>().TODO = text;
        return todo.add();
    };
    ASSERT_EQ(categories.begin(), store::kNoError);
    ASSERT_EQ(load(categories, "Work"), store::kNoError);
    ASSERT_EQ(categories.erase(), store::kNoError);
    ASSERT_EQ(addTodo("moved from Work"), store::kNoError);
    ASSERT_EQ(categories.rollback(), store::kNoError);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(todo.records(), 0);

    ASSERT_EQ(categories.begin(), store::kNoError);
    ASSERT_EQ(addTodo("kept"), store::kNoError);
    // A batch inside the transaction ends with it, not at its own flush.
    ASSERT_EQ(todo.stream(), store::kNoError);
    ASSERT_EQ(addTodo("batched"), store::kNoError);
    ASSERT_EQ(todo.flush(), store::kNoError);
    categories.rec<Categories>().CATEGORY = "home";
    EXPECT_EQ(categories.add(), store::kDuplicateKey);
    ASSERT_EQ(categories.rollback(), store::kNoError);
    EXPECT_EQ(todo.records(), 0);

    ASSERT_EQ(todo.stream(), store::kNoError);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(addTodo(("item " + std::to_string(i)).c_str()), store::kNoError);
    ASSERT_EQ(todo.flush(), store::kNoError);
    ASSERT_EQ(todo.rollback(), store::kNoError);  // nothing left to roll back
    EXPECT_EQ(todo.records(), 50);

    // A batch still open when its table closes is written.
    ASSERT_EQ(todo.stream(), store::kNoError);
    ASSERT_EQ(addTodo("last"), store::kNoError);
    todo.close();
    ASSERT_EQ(todo.open(), store::kNoError);
    EXPECT_EQ(todo.records(), 51);
}

TEST_P(StoreStationsTest, BeginWaitsTwoSecondsForAnotherStationsTransaction) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        store::Table t(Categories::schema());
        if (t.open() != store::kNoError || t.begin() != store::kNoError) _exit(1);
        char byte = 1;
        if (write(ready[1], &byte, 1) != 1) _exit(2);
        sleep(4);
        _exit(t.commit() == store::kNoError ? 0 : 3);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(categories.begin(), store::kFileLocked);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(waited, 1.8);
    EXPECT_LT(waited, 3.9);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    // The dead station's lock went with it.
    EXPECT_EQ(categories.begin(), store::kNoError);
    EXPECT_EQ(categories.commit(), store::kNoError);
}

TEST_P(StoreFileStationsTest, AWriterKilledInTheMiddleOfABatchLeavesAWholeFile) {
    categories.close();
    int progress[2];
    ASSERT_EQ(pipe(progress), 0);
    const pid_t child = fork();
    if (child == 0) {
        store::Table schedule(Schedule::schema());
        if (openOrCreate(schedule) != store::kNoError) _exit(1);
        // A small page cache, as on a station short of memory: the batch
        // spills pages into the file long before its end.
        store::ErrorState ignored;
        schedule.database()->exec("PRAGMA cache_size = 64", ignored);
        auto& r = schedule.rec<Schedule>();
        r.COMMAND = std::string(255, 'c');
        r.PATH = std::string(255, 'p');
        r.MESSAGE = std::string(1000, 'm');
        // A committed batch first, then the one that dies.
        for (int batch = 0; batch < 2; ++batch) {
            if (schedule.stream() != store::kNoError) _exit(2);
            const int size = batch == 0 ? 100 : 5000;
            for (int i = 0; i < size; ++i) {
                r.ID = batch * 100000 + i + 1;
                if (schedule.add() != store::kNoError) _exit(3);
                if (batch == 1 && i == 3000) {
                    char byte = 1;
                    if (write(progress[1], &byte, 1) != 1) _exit(4);
                    pause();
                }
            }
            if (schedule.flush() != store::kNoError) _exit(5);
        }
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(progress[0], &byte, 1), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "Px97.TPS-journal"));
    const auto sizeAtDeath = std::filesystem::file_size(dir / "Px97.TPS");
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(progress[0]);
    close(progress[1]);

    store::Table schedule(Schedule::schema());
    ASSERT_EQ(schedule.open(), store::kNoError);
    EXPECT_EQ(schedule.records(), 100);
    std::vector<std::string> problems;
    ASSERT_EQ(schedule.checkIntegrity(problems), store::kNoError);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_FALSE(std::filesystem::exists(dir / "Px97.TPS-journal"));
    // The dead batch had reached the file itself; its pages were taken back.
    EXPECT_GT(sizeAtDeath, std::filesystem::file_size(dir / "Px97.TPS"));
    schedule.setEnd(0);
    ASSERT_EQ(schedule.previous(), store::kNoError);
    EXPECT_EQ(schedule.rec<Schedule>().ID, 100);
}

}  // namespace
}  // namespace plorix::data
