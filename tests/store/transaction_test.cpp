#include "store/transaction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/tables.h"
#include "store/store.h"
#include "store/backend_test.h"
#include "store/store_support.h"
#include "support/temp_dir.h"

namespace plorix::store {
namespace {

using data::Categories;

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

}  // namespace
}  // namespace plorix::store
