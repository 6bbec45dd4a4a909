// A server that cannot be reached is not asked again on every operation:
// after a failed connect the process leaves it alone for a back-off period
// that doubles while it stays away, operations fail at once meanwhile, and
// it is found again once it is back. The change listener keeps the same
// back-off.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "data/tables.h"
#include "server/server_rig.h"
#include "server/server_tasks.h"
#include "store/postgres/change_listener.h"
#include "store/postgres/server_reach.h"

namespace plorix::test {
namespace {

using namespace std::chrono_literals;
using store::postgres::backoffLeft;
using store::postgres::connectsTried;

// A station's table, open for the whole test as the frame keeps its own.
class Categories {
public:
    Categories() {
        if (table_.open() != store::kNoError) {
            EXPECT_EQ(table_.create(), store::kNoError);
        }
        if (!table_.isOpen()) {
            EXPECT_EQ(table_.open(), store::kNoError);
        }
    }
    store::ErrorState add(const char* name) {
        table_.rec<data::Categories>().CATEGORY = name;
        if (table_.add() == store::kNoError) return {};
        return table_.error();
    }

private:
    store::Table table_{data::Categories::schema()};
};

void waitOutBackoff(const std::string& url) { std::this_thread::sleep_for(backoffLeft(url)); }

TEST(ServerBackoff, AServerThatRefusesIsTriedOncePerPeriodAndFoundAgainWhenBack) {
    PrivateCluster cluster;
    TempDir folder;
    const std::string url = cluster.url();
    const ServedFolder served(folder.path(), {url});
    Categories categories;
    ASSERT_TRUE(categories.add("Home").ok());
    EXPECT_EQ(backoffLeft(url), 0ms);

    cluster.stop();
    EXPECT_TRUE(store::connectionLost(categories.add("Work")));  // the session the server ended
    const long before = connectsTried(url);
    EXPECT_TRUE(store::connectionLost(categories.add("Work")));  // tries to connect
    EXPECT_GT(backoffLeft(url), 500ms);
    int failed = 0;
    for (int i = 0; i < 10 && backoffLeft(url) > 500ms; ++i) {
        const store::ErrorState error = categories.add("Work");
        EXPECT_TRUE(store::connectionLost(error)) << error.describe();
        ++failed;
    }
    // The first operation tried the server; the others failed at once.
    EXPECT_EQ(connectsTried(url), before + 1);
    EXPECT_GE(failed, 5);

    // The listener keeps the same back-off: it does not try either.
    store::postgres::ChangeListener listener(url, "plorix");
    EXPECT_EQ(listener.start(), store::postgres::ChangeListener::Step::Failed);
    EXPECT_FALSE(listener.error().empty());
    EXPECT_EQ(connectsTried(url), before + 1);

    // Tried again after the wait, still away: the next wait is longer.
    waitOutBackoff(url);
    EXPECT_TRUE(store::connectionLost(categories.add("Work")));
    EXPECT_EQ(connectsTried(url), before + 2);
    EXPECT_GT(backoffLeft(url), store::postgres::kFirstBackoff);

    cluster.start();
    waitOutBackoff(url);
    const store::ErrorState back = categories.add("Work");
    EXPECT_TRUE(back.ok()) << back.describe();
    EXPECT_EQ(backoffLeft(url), 0ms);
    const store::ErrorState next = categories.add("Garden");  // no wait after a success
    EXPECT_TRUE(next.ok()) << next.describe();
}

}  // namespace
}  // namespace plorix::test
