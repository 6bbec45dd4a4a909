// The back-off of connects to a server, without one: who may connect after
// a broken connection, and connects that fail together.

#include <gtest/gtest.h>

#include "store/postgres/server_reach.h"

namespace plorix::store::postgres {
namespace {

using namespace std::chrono_literals;

TEST(ServerReach, AfterABrokenConnectionOneConnectIsTriedAndTheOthersFailAtOnce) {
    const std::string url = "postgresql://reach-broken.invalid/plorix";
    connectionBroke(url, "server closed the connection unexpectedly");
    ConnectAttempt first(url);
    EXPECT_TRUE(first.admitted());
    ConnectAttempt second(url);
    EXPECT_FALSE(second.admitted());
    EXPECT_EQ(second.heldBack(), "server closed the connection unexpectedly");
    EXPECT_EQ(backoffLeft(url), 0ms);  // no wait, only one at a time

    first.succeeded();
    ConnectAttempt third(url);
    ConnectAttempt fourth(url);
    EXPECT_TRUE(third.admitted());
    EXPECT_TRUE(fourth.admitted());
    third.succeeded();
    fourth.succeeded();
    EXPECT_EQ(connectsTried(url), 3);
}

TEST(ServerReach, ConnectsThatFailTogetherCountAsOneFailure) {
    const std::string url = "postgresql://reach-together.invalid/plorix";
    {
        ConnectAttempt a(url), b(url), c(url);
        ASSERT_TRUE(a.admitted() && b.admitted() && c.admitted());
        a.failed("timeout expired");
        b.failed("timeout expired");
    }  // c is abandoned: a failure too
    EXPECT_GT(backoffLeft(url), 0ms);
    EXPECT_LE(backoffLeft(url), kFirstBackoff);
    ConnectAttempt held(url);
    EXPECT_FALSE(held.admitted());
    EXPECT_EQ(held.heldBack(), "timeout expired");
}

}  // namespace
}  // namespace plorix::store::postgres
