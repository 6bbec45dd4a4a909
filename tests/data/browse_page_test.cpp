// A browse page over a real data file: paging both ways, the last page kept
// full, a fixed range, a filter, locating on a key that ignores letter case,
// and stepping past rows of equal key in the order they were added.

#include "data/browse_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/store_support.h"
#include "data/tables/schedule.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

class BrowsePageTest : public ::testing::Test {
protected:
    BrowsePageTest() {
        EXPECT_EQ(test::openOrCreate(schedule), store::kNoError);
        page.setPageSize(4);
    }

    void add(int id, const std::string& category, const std::string& description, int day = 1,
             bool disabled = false) {
        auto& entry = schedule.rec<Schedule>();
        store::clearRecord(schedule.schema(), schedule.buffer());
        entry.ID = id;
        entry.CATEGORY = category;
        entry.DESCRIPTION = description;
        entry.DATE = makeDate(5, day, 2027);
        entry.DISABLED = disabled ? 1 : 0;
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    void open(int key) {
        ASSERT_EQ(page.open(), store::kNoError);
        page.setKey(key);
    }
    // The identifiers on the page, in order.
    std::vector<int> ids() const {
        std::vector<int> shown;
        for (const PageRow& row : page.rows())
            shown.push_back(static_cast<const Schedule*>(row.record.get())->ID);
        return shown;
    }

    plorix::test::TempDir dir;
    store::Table schedule{Schedule::schema()};
    BrowsePage page{Schedule::schema(), Schedule::schema().storedName};
};

using Ids = std::vector<int>;

TEST_F(BrowsePageTest, PagesForwardAndBackKeepingTheLastPageFull) {
    for (int day = 1; day <= 10; ++day) add(day, "Work", "Task", day);
    open(keys::Schedule::KEYDATE);
    ASSERT_EQ(page.first(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{1, 2, 3, 4}));
    EXPECT_TRUE(page.atStart());
    EXPECT_FALSE(page.atEnd());
    ASSERT_EQ(page.pageDown(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{5, 6, 7, 8}));
    ASSERT_EQ(page.pageDown(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{7, 8, 9, 10}));  // never a short last page
    EXPECT_TRUE(page.atEnd());
    ASSERT_EQ(page.scroll(-1), store::kNoError);
    EXPECT_EQ(ids(), (Ids{6, 7, 8, 9}));
    EXPECT_FALSE(page.atEnd());
    ASSERT_EQ(page.last(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{7, 8, 9, 10}));
    EXPECT_FALSE(page.atStart());
    ASSERT_EQ(page.pageUp(), store::kNoError);
    ASSERT_EQ(page.pageUp(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{1, 2, 3, 4}));
    EXPECT_TRUE(page.atStart());
}

TEST_F(BrowsePageTest, LocatesIgnoringCaseWithinARangeAndAFilter) {
    add(1, "home", "Bins");
    add(2, "Work", "alpha");
    add(3, "WORK", "Beta", 1, true);
    add(4, "work", "gamma");
    add(5, "Work", "Delta");
    add(6, "Zoo", "Feed");
    open(keys::Schedule::KEYCATEGORY);
    ASSERT_EQ(page.locate("WO"), store::kNoError);
    EXPECT_EQ(ids(), (Ids{2, 3, 5, 4}));  // alpha, Beta, Delta, gamma: case ignored
    EXPECT_FALSE(page.atStart());
    EXPECT_TRUE(page.canLocate());

    // The category view: one category whatever its case, active ones only.
    Schedule work;
    work.CATEGORY = "wOrK";
    page.setRange(&work, 1);
    page.setFilter([](const void* r) { return static_cast<const Schedule*>(r)->DISABLED == 0; });
    ASSERT_EQ(page.first(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{2, 5, 4}));
    EXPECT_TRUE(page.atStart());
    EXPECT_TRUE(page.atEnd());
    ASSERT_EQ(page.locate("zz"), store::kNoError);  // past the end: the last page
    EXPECT_EQ(ids(), (Ids{2, 5, 4}));
    ASSERT_EQ(page.locate("d"), store::kNoError);  // the description within the category
    EXPECT_EQ(ids(), (Ids{2, 5, 4}));              // short range: the page is topped up
    ASSERT_EQ(page.last(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{2, 5, 4}));

    Schedule none;
    none.CATEGORY = "Nothing";
    page.setRange(&none, 1);
    ASSERT_EQ(page.first(), store::kNoError);
    EXPECT_TRUE(page.rows().empty());
}

TEST_F(BrowsePageTest, StepsPastEqualKeysInTheOrderTheyWereAdded) {
    for (int id = 1; id <= 9; ++id) add(id, "Same", "Same");
    open(keys::Schedule::KEYCATEGORY);
    ASSERT_EQ(page.first(), store::kNoError);
    ASSERT_EQ(page.pageDown(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{5, 6, 7, 8}));
    ASSERT_EQ(page.scroll(1), store::kNoError);
    EXPECT_EQ(ids(), (Ids{6, 7, 8, 9}));
    ASSERT_EQ(page.scroll(-2), store::kNoError);
    EXPECT_EQ(ids(), (Ids{4, 5, 6, 7}));

    // A row deleted under the page still leaves its place to step from.
    schedule.rec<Schedule>().ID = 7;
    ASSERT_EQ(schedule.get(keys::Schedule::KEYID), store::kNoError);
    ASSERT_EQ(schedule.erase(), store::kNoError);
    ASSERT_EQ(page.scroll(1), store::kNoError);
    EXPECT_EQ(ids(), (Ids{5, 6, 7, 8}));
    ASSERT_EQ(page.refresh(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{5, 6, 8, 9}));
}

TEST_F(BrowsePageTest, ARefreshAfterTheRowsMovedBeforeThePageShowsTheLastPage) {
    for (int day = 1; day <= 6; ++day) add(day, "Work", "Task", day);
    open(keys::Schedule::KEYDATE);
    ASSERT_EQ(page.last(), store::kNoError);
    EXPECT_EQ(ids(), (Ids{3, 4, 5, 6}));
    // Every row from the page's top on moves to the first of the month.
    for (int id = 3; id <= 6; ++id) {
        schedule.rec<Schedule>().ID = id;
        ASSERT_EQ(schedule.get(keys::Schedule::KEYID), store::kNoError);
        schedule.rec<Schedule>().DATE = makeDate(5, 1, 2027);
        ASSERT_EQ(schedule.put(), store::kNoError);
    }
    ASSERT_EQ(page.refresh(), store::kNoError);
    EXPECT_EQ(ids().size(), 4u);
}

TEST_F(BrowsePageTest, AnUnreadableTableIsAnErrorNotAnEmptyPage) {
    BrowsePage missing(Schedule::schema(), "nothere\\!s");
    EXPECT_NE(missing.open(), store::kNoError);
    missing.setKey(0);
    EXPECT_NE(missing.first(), store::kNoError);
}

}  // namespace
}  // namespace plorix::data
