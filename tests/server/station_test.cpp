// A station on a server: a lost connection is told once and the run it held
// up follows when the server is back; other stations' commits are heard of.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "data/tables.h"
#include "platform/fake/fake_desktop.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "scheduler/frame_tick.h"
#include "settings/settings.h"
#include "server/server_rig.h"
#include "server/server_tasks.h"
#include "store/postgres/change_listener.h"
#include "store/postgres/server_reach.h"
#include "support/test_server.h"

namespace plorix::test {
namespace {

using scheduler::test::at;

TEST(ServerStation, ALostConnectionIsToldOnceAndTheRunFollowsWhenItIsBack) {
    PrivateCluster cluster;
    TempDir folder;
    const ServedFolder served(folder.path(), {cluster.url()});
    storeEntry(programEveryMinute(at(2024, 5, 6, 9, 0)));

    ManualClock clock(at(2024, 5, 6, 8, 59));
    RecordingPrompter prompter;
    settings::Settings settings;
    platform::FakeSound sound;
    data::TableUse schedule(data::processTable<data::Schedule>(), prompter);
    data::TableUse scripting(data::processTable<data::Scripting>(), prompter);
    int started = 0;
    scheduler::FireContext context{clock, prompter, settings, schedule.table(), scripting.table(), sound, {}};
    context.hooks.startProgram = [&started](std::int32_t, std::string_view, std::string_view) { ++started; };
    scheduler::FrameTick tick(context);
    tick.state().active = true;
    EXPECT_FALSE(tick.tick().fired);

    cluster.stop();
    clock.set(at(2024, 5, 6, 9, 0));
    for (int i = 0; i < 3; ++i) {
        const scheduler::TickReport report = tick.tick();
        EXPECT_FALSE(report.failure.ok());
        EXPECT_FALSE(report.fired && report.fired->outcome == scheduler::FireOutcome::Performed);
    }
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(started, 0);

    cluster.start();
    std::this_thread::sleep_for(store::postgres::backoffLeft(cluster.url()));
    const scheduler::TickReport back = tick.tick();
    EXPECT_TRUE(back.failure.ok()) << back.failure.describe();
    ASSERT_TRUE(back.fired);
    EXPECT_EQ(back.fired->outcome, scheduler::FireOutcome::Performed);
    EXPECT_FALSE(tick.tick().fired);  // the next run is a minute away
    EXPECT_EQ(started, 1);
    EXPECT_EQ(prompter.shown().size(), 1u);
}

// Waits up to `ms` for the listener's socket to be ready for `events`.
bool ready(const store::postgres::ChangeListener& listener, int ms, short events = POLLIN) {
    pollfd fd{listener.socket(), events, 0};
    return poll(&fd, 1, ms) == 1;
}

bool readable(const store::postgres::ChangeListener& listener, int ms) { return ready(listener, ms); }

// Moves the listener's connect on as its socket gets ready, as the frame's
// event loop does.
bool listen(store::postgres::ChangeListener& listener) {
    using Step = store::postgres::ChangeListener::Step;
    for (Step step = listener.start(); step == Step::Read || step == Step::Write;) {
        ready(listener, listener.timeLeftMs(), step == Step::Read ? POLLIN : POLLOUT);
        step = listener.advance();
    }
    return listener.listening();
}

int addCategory(const char* name) {
    store::Table categories(data::Categories::schema());
    if (categories.open() != store::kNoError && categories.create() != store::kNoError) return -1;
    if (!categories.isOpen() && categories.open() != store::kNoError) return -1;
    categories.rec<data::Categories>().CATEGORY = name;
    return categories.add();
}

TEST(ServerStation, OtherStationsCommitsAreHeardOfAndOurOwnAreNot) {
    TempDir folder;
    const store::ServerAddress server = freshSchema("ServerStation_Listener");
    const ServedFolder served(folder.path(), server);
    ASSERT_EQ(addCategory("Home"), store::kNoError);
    store::postgres::ChangeListener listener(server.url, server.schema);
    ASSERT_TRUE(listen(listener)) << listener.error();

    ASSERT_EQ(addCategory("Work"), store::kNoError);
    const bool ours = readable(listener, 500) && listener.takeChanges();
    EXPECT_FALSE(ours);

    const pid_t station = fork();
    if (station == 0) _exit(addCategory("Garden") == store::kNoError ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(station, &status, 0), station);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    bool heard = false;
    for (int i = 0; i < 10 && !heard; ++i) heard = readable(listener, 500) && listener.takeChanges();
    EXPECT_TRUE(heard);
    EXPECT_TRUE(listener.listening());
}

}  // namespace
}  // namespace plorix::test
