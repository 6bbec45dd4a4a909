#pragma once
// The setting of the monitor tests: a data folder with the monitor's table,
// a fake desktop and a clock the test moves.

#include <gtest/gtest.h>

#include "data/open_routine.h"
#include "data/tables.h"
#include "platform/fake/fake_desktop.h"
#include "runtime/clock.h"
#include "support/temp_dir.h"

namespace plorix::scheduler::test {

template <typename Record, typename Monitor>
class MonitorRig : public ::testing::Test {
protected:
    void SetUp() override { data::openTable(table, prompter); }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
    platform::FakeDesktop desktop;
    ManualClock clock{Moment{80000, 100}};
    store::Table table{Record::schema()};
    Monitor monitor{table, clock};
};

}  // namespace plorix::scheduler::test
