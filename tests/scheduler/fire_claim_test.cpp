// Two stations sharing one data file never perform the same run twice: each
// is a process of its own, on the same file, as two desks would be; and on
// a server serving the file, as two machines would be.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <set>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/scripting.h"
#include "platform/fake/fake_desktop.h"
#include "scheduler/moment.h"
#include "scheduler/frame_tick.h"
#include "schedule_builder.h"
#include "store/backend_test.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

constexpr int kPerformed = 10;
constexpr int kLost = 11;

// One station: the tables, a clock and a count of programs started.
struct Station {
    explicit Station(Moment start) : clock(start) {
        context.hooks.startProgram = [this](std::int32_t, std::string_view, std::string_view) { ++started; };
    }
    ManualClock clock;
    SilentPrompter prompter;
    settings::Settings settings;
    platform::FakeSound sound;
    data::TableUse scheduleUse{data::processTable<Schedule>(), prompter};
    data::TableUse scriptingUse{data::processTable<data::Scripting>(), prompter};
    FireContext context{clock, prompter, settings, scheduleUse.table(), scriptingUse.table(), sound, {}};
    int started = 0;
};

void addEntry(const Schedule& entry) {
    SilentPrompter prompter;
    data::TableUse use(data::processTable<Schedule>(), prompter);
    use->rec<Schedule>() = entry;
    ASSERT_EQ(use->add(), store::kNoError);
}

std::vector<Schedule> allEntries() {
    SilentPrompter prompter;
    data::TableUse use(data::processTable<Schedule>(), prompter);
    std::vector<Schedule> entries;
    use->setStart(-1);
    while (use->next() == store::kNoError) entries.push_back(use->rec<Schedule>());
    return entries;
}

// Runs `station` in a child process; its exit status is what it returns.
pid_t spawnStation(const std::function<int()>& station) {
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 99;
        try {
            status = station();
        } catch (...) {}
        data::resetProcessTables();
        _exit(status);
    }
    return pid;
}

int exitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Schedule programEveryMinute(Moment first) {
    Schedule entry = custom(1, "minute(s)", first.date, first.time);
    entry.ID = 1;
    entry.TASKTYPE = "Run Program";
    entry.COMMAND = "sync.sh";
    entry.DESCRIPTION = "Sync";
    return entry;
}

class ClaimingARun : public data::test::BackendTest {
protected:
    ~ClaimingARun() override {
        data::resetProcessTables();
        data::resetUseCounts();
    }
};
PLORIX_ON_BOTH_BACKENDS(ClaimingARun);

TEST_P(ClaimingARun, BothStationsReadTheDueRunOnlyOnePerformsIt) {
    const Moment due = at(2024, 5, 6, 9, 0);
    addEntry(programEveryMinute(due));
    data::resetProcessTables();  // no connection may cross the fork

    std::array<int, 2> ready{}, go{};
    ASSERT_EQ(pipe(ready.data()), 0);
    ASSERT_EQ(pipe(go.data()), 0);
    auto station = [&] {
        Station desk(addHundredths(due, 100));
        if (readFirst(desk.context.schedule, data::keys::Schedule::KEYDATEENABLED) != store::kNoError)
            return 1;
        // Both have read the entry before either writes.
        char byte = 'r';
        if (write(ready[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) return 2;
        const FireResult result = fire(desk.context, 0);
        if (result.outcome == FireOutcome::Performed && desk.started == 1) return kPerformed;
        if (result.outcome == FireOutcome::Lost && desk.started == 0) return kLost;
        return 3;
    };
    const pid_t first = spawnStation(station);
    const pid_t second = spawnStation(station);
    char bytes[2];
    ASSERT_EQ(read(ready[0], bytes, 1), 1);
    ASSERT_EQ(read(ready[0], bytes + 1, 1), 1);
    ASSERT_EQ(write(go[1], "gg", 2), 2);
    const std::multiset<int> outcomes{exitStatus(first), exitStatus(second)};
    for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
    EXPECT_EQ(outcomes, (std::multiset<int>{kPerformed, kLost}));

    int history = 0;
    for (const Schedule& entry : allEntries()) {
        if (entry.ID == 1) {
            EXPECT_EQ(entry.TIME, hm(9, 1));
        }
        if (entry.DISABLED) ++history;
    }
    EXPECT_EQ(history, 1);
}

TEST_P(ClaimingARun, StationsTickingSideBySideShareOutTheRuns) {
    const Moment start = at(2024, 5, 6, 9, 0);
    const Moment end = at(2024, 5, 6, 9, 30);
    addEntry(programEveryMinute(start));
    data::resetProcessTables();

    auto station = [&] {
        Station desk(start);
        FrameTick tick(desk.context);
        while (compareMoments(desk.clock.current(), end) <= 0) {
            tick.tick();
            desk.clock.advance(tick.state().timerPeriod);
        }
        return desk.started;
    };
    const pid_t first = spawnStation(station);
    const pid_t second = spawnStation(station);
    const int performed = exitStatus(first) + exitStatus(second);
    EXPECT_EQ(performed, 31);

    std::set<Moment> runs;
    int history = 0;
    for (const Schedule& entry : allEntries()) {
        if (!entry.DISABLED) continue;
        ++history;
        runs.insert({entry.DATE, entry.TIME});
    }
    EXPECT_EQ(history, 31);
    EXPECT_EQ(runs.size(), 31u);  // each minute once
}

}  // namespace
}  // namespace plorix::scheduler
