// The frame's watch over the server never holds its event loop, not even
// while the server does not answer a connect at all.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTimer>

#include "app/frame_rig.h"
#include "app/server_watch.h"

namespace plorix::app::test {
namespace {

// A local port that takes no connection: its queue holds one, made here,
// and the system drops every SYN after it, as a host gone from the network.
class SilentPort {
public:
    SilentPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 0) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            connect(filler_, reinterpret_cast<sockaddr*>(&address), length) != 0)
            ADD_FAILURE() << "no silent port";
        port_ = ntohs(address.sin_port);
    }
    ~SilentPort() {
        close(filler_);
        close(listener_);
    }
    std::string url() const { return "postgresql://plorix@127.0.0.1:" + std::to_string(port_) + "/plorix"; }

private:
    int listener_ = socket(AF_INET, SOCK_STREAM, 0);
    int filler_ = socket(AF_INET, SOCK_STREAM, 0);
    int port_ = 0;
};

TEST(ServerWatch, AServerThatDoesNotAnswerLeavesTheEventLoopRunning) {
    testApplication();
    const SilentPort port;
    int changes = 0;
    ServerWatch watch({port.url()}, [&changes] { ++changes; });
    // Made at once, with the connect under way rather than settled.
    EXPECT_TRUE(watch.connecting());
    int timers = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&timers] { ++timers; });
    timer.start(10);
    EXPECT_TRUE(processUntil([&timers] { return timers >= 20; }, 4));
    EXPECT_TRUE(watch.connecting());
    EXPECT_FALSE(watch.listening());
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace plorix::app::test
