#include "store/transaction.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "data/tables.h"
#include "store/database.h"
#include "store/store.h"
#include "store/backend_test.h"
#include "store/store_support.h"
#include "support/temp_dir.h"

namespace plorix::store {
namespace {

using data::Categories;
using data::Todo;

class TransactionTest : public data::test::BackendTest {
protected:
    void SetUp() override { ASSERT_EQ(data::test::openOrCreate(categories), kNoError); }

    int add(const char* name) {
        categories.rec<Categories>().CATEGORY = name;
        return categories.add();
    }
    std::vector<std::string> stored() {
        std::vector<std::string> names;
        categories.setStart(data::keys::Categories::KEYCATEGORY);
        while (categories.next() == kNoError) names.push_back(categories.rec<Categories>().CATEGORY.str());
        EXPECT_EQ(categories.errorCode(), kRecordNotAvailable);
        return names;
    }

    Table categories{Categories::schema()};
};
PLORIX_ON_BOTH_BACKENDS(TransactionTest);

TEST_P(TransactionTest, LeavingTheScopeWithoutCommitUndoesTheWrites) {
    {
        Transaction outer(categories);
        ASSERT_TRUE(outer.ok());
        ASSERT_EQ(add("HOME"), kNoError);
    }
    EXPECT_TRUE(stored().empty());
    {
        Transaction outer(categories);
        ASSERT_EQ(add("WORK"), kNoError);
        ASSERT_EQ(outer.commit(), kNoError);
    }
    EXPECT_EQ(stored(), std::vector<std::string>{"WORK"});
}

TEST_P(TransactionTest, AnInnerTransactionIsASavepointTheOuterOneDecides) {
    {
        Transaction outer(categories);
        ASSERT_EQ(add("A"), kNoError);
        {
            Transaction inner(categories);
            ASSERT_TRUE(inner.ok());
            ASSERT_EQ(add("B"), kNoError);
            // rolled back at the end of its scope: only B goes
        }
        {
            Transaction inner(categories);
            ASSERT_EQ(add("C"), kNoError);
            ASSERT_EQ(inner.commit(), kNoError);
        }
        ASSERT_EQ(outer.commit(), kNoError);
    }
    EXPECT_EQ(stored(), (std::vector<std::string>{"A", "C"}));

    {
        Transaction outer(categories);
        {
            Transaction inner(categories);
            ASSERT_EQ(add("D"), kNoError);
            ASSERT_EQ(inner.commit(), kNoError);
        }
        // committed inside, but the outer transaction never commits
    }
    EXPECT_EQ(stored(), (std::vector<std::string>{"A", "C"}));
}

// A write that fails in an inner transaction for a reason both backends
// share (the table was dropped behind the store's back) undoes that level
// alone: the levels around it write on and the outermost one commits.
TEST_P(TransactionTest, AFailedWriteInAnInnerTransactionUndoesThatLevelAloneAndTheOuterOnesGoOn) {
    Table todo{Todo::schema()};
    ASSERT_EQ(data::test::openOrCreate(todo), kNoError);
    rawExec("DROP TABLE \"ToDo\"");
    {
        Transaction outer(categories);
        ASSERT_EQ(add("A"), kNoError);
        {
            Transaction middle(categories);
            ASSERT_EQ(add("B"), kNoError);
            {
                Transaction inner(categories);
                ASSERT_TRUE(inner.ok());
                ASSERT_EQ(add("Undone"), kNoError);
                todo.rec<Todo>().TODO = "call back";
                ASSERT_EQ(todo.add(), kFileSystemError);
            }
            ASSERT_EQ(add("C"), kNoError);
            ASSERT_EQ(middle.commit(), kNoError);
        }
        ASSERT_EQ(add("D"), kNoError);
        ASSERT_EQ(outer.commit(), kNoError) << outer.error().describe();
    }
    EXPECT_EQ(stored(), (std::vector<std::string>{"A", "B", "C", "D"}));
}

// Another connection is another thread's as much as another station's.
TEST_P(TransactionTest, OthersCommitsMovesOnWithAnotherConnectionsCommitsAlone) {
    ASSERT_EQ(add("Mine"), kNoError);
    Database& db = *categories.database();
    ErrorState error;
    const auto first = db.othersCommits(error);
    ASSERT_TRUE(first) << error.describe();
    ASSERT_EQ(add("Mine too"), kNoError);
    EXPECT_EQ(db.othersCommits(error), first);
    const auto otherConnection = [](bool commit) {
        std::thread([commit] {
            Table table(Categories::schema());
            ASSERT_EQ(table.open(), kNoError);
            Transaction transaction(table);
            table.rec<Categories>().CATEGORY = "Theirs";
            ASSERT_EQ(table.add(), kNoError);
            if (commit) {
                ASSERT_EQ(transaction.commit(), kNoError);
            }
        }).join();
    };
    otherConnection(false);
    EXPECT_EQ(db.othersCommits(error), first);
    otherConnection(true);
    const auto second = db.othersCommits(error);
    ASSERT_TRUE(second) << error.describe();
    EXPECT_NE(second, first);
    EXPECT_EQ(db.othersCommits(error), second);
}

}  // namespace
}  // namespace plorix::store
