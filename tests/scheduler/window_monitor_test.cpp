// The window monitor's step against fake windows and a real WindowLookup table.

#include "scheduler/window_monitor.h"

#include <gtest/gtest.h>

#include "monitor_rig.h"

namespace plorix::scheduler {
namespace {

using V = std::vector<std::string>;

class WindowMonitorTest : public test::MonitorRig<data::WindowLookup, WindowMonitor> {
protected:
    void steps(int n, int maxWindows = 0) {
        for (int i = 0; i < n; ++i) {
            clock.advance(125);
            monitor.step(maxWindows);
        }
    }
    // "title@time" by the moment each was first seen.
    V log() {
        V out;
        table.setStart(data::keys::WindowLookup::KEYDATE);
        while (table.next() == store::kNoError) {
            const auto& e = table.rec<data::WindowLookup>();
            out.push_back(e.TITLE.str() + "@" + std::to_string(e.TIME));
        }
        return out;
    }
    V titles() {
        V out;
        for (const auto& entry : log()) out.push_back(entry.substr(0, entry.rfind('@')));
        return out;
    }
};

TEST_F(WindowMonitorTest, NWindowsTakeNPlusOneStepsAndBlankTitlesAreNeverLogged) {
    desktop.windows.add("Editor");
    desktop.windows.add("   ");
    desktop.windows.add("Terminal");
    steps(1);
    EXPECT_EQ(desktop.windows.listings(), 1);
    EXPECT_EQ(monitor.enumeration(), (V{"Editor", "   ", "Terminal"}));
    EXPECT_TRUE(log().empty());
    steps(3);
    EXPECT_EQ(log(), (V{"Editor@350", "Terminal@600"}));
    EXPECT_EQ(desktop.windows.listings(), 1);
    steps(1);
    EXPECT_EQ(desktop.windows.listings(), 2);
}

TEST_F(WindowMonitorTest, ATitleKeepsItsFirstSightingAndCaseOrTailsPast70Count) {
    const std::string long70(70, 'w');
    desktop.windows.add("Editor");
    desktop.windows.add(long70 + " first tail");
    steps(3);
    desktop.windows.add("EDITOR");
    desktop.windows.add(long70 + " second tail");
    steps(5);
    // Steps at 225 (listing), 350, 475, then 600 (listing), 725 ... 1100.
    EXPECT_EQ(log(), (V{"Editor@350", long70 + "@475", "EDITOR@975"}));
}

TEST_F(WindowMonitorTest, BeyondTheLimitTheEarliestSeenGoes) {
    desktop.windows.add("one");
    desktop.windows.add("two");
    steps(3, 2);
    desktop.windows.add("three");
    steps(4, 2);
    EXPECT_EQ(titles(), (V{"two", "three"}));
}

}  // namespace
}  // namespace plorix::scheduler
