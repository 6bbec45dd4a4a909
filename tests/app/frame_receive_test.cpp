// A long receive through File › Synchronization while the frame's own
// timer goes on ticking: a task that falls due meanwhile fires once, no
// box tells of the busy file, and every received task arrives.

#include <QPointer>

#include "data/tables.h"
#include "frame_rig.h"
#include "support/transfer_maker.h"
#include "ui/exchange/synchronize_window.h"

namespace plorix::app::test {
namespace {

constexpr int kReceived = 20000;

int messageWindows(MainFrame& frame) {
    int count = 0;
    for (const QWidget* window : frame.programWindows())
        if (window->windowTitle() == "Message") ++count;
    return count;
}

TEST_F(FrameTest, ATaskDueDuringALongReceiveFiresOnceAndEveryTaskArrives) {
    dir.write("px98.INI", "[Settings]\nStartUpSchedule=1\n");
    const std::string file = (dir / "Laptop.syn").string();
    plorix::test::writeTransferFile(file, kReceived);
    addEntries({reminderEntry("Stand-up", {makeDate(5, 6, 2024), makeTime(9, 1)}, "Meeting in room 4")});
    MainFrame& f = frame();
    f.open();
    tick();
    ASSERT_TRUE(f.perform(FrameCommand::Synchronize));
    QPointer<ui::Synchronize> window;
    for (QObject* child : f.children())
        if (auto* found = dynamic_cast<ui::Synchronize*>(child)) window = found;
    ASSERT_FALSE(window.isNull());
    ASSERT_TRUE(window->receiveFrom(file));
    clock.advance(6000);  // 9:01: the stand-up is due while the merge runs

    // The frame's timer keeps ticking (the clock zone shows the new minute)
    // while the worker merges; the window closes once the run has ended.
    bool tickedDuringReceive = false;
    ASSERT_TRUE(processUntil(
        [&] {
            if (window.isNull()) return true;
            if (window->running() && f.statusZone(4) == "9:01AM") tickedDuringReceive = true;
            return false;
        },
        600));
    EXPECT_TRUE(tickedDuringReceive);
    ASSERT_TRUE(processUntil([&] { return messageWindows(f) > 0; }));
    for (int i = 0; i < 3; ++i) {
        clock.advance(125);
        tick();
    }
    processUntil([] { return false; }, 0.5);
    EXPECT_EQ(messageWindows(f), 1);

    // The busy file was nobody's business but the tick's.
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Synchronize"});
    EXPECT_EQ(prompter.shown()[0].text, "Received " + std::to_string(kReceived) +
                                            " tasks (0 replaced, 0 left for a newer local copy), 0 script "
                                            "items and 0 to-do items.");
    store::Table schedule(data::Schedule::schema());
    ASSERT_EQ(schedule.open(), store::kNoError);
    int received = 0;
    int standUps = 0;
    schedule.setStart(-1);
    while (schedule.next() == store::kNoError) {
        const auto& task = schedule.rec<data::Schedule>();
        if (task.DESCRIPTION.str() == "Stand-up") {
            ++standUps;
            EXPECT_TRUE(task.COMPLETED);  // a once-only task: it became its own history
        } else if (task.CATEGORY.str() == "Laptop") {
            ++received;
        }
    }
    EXPECT_EQ(received, kReceived);
    EXPECT_EQ(standUps, 1);
}

}  // namespace
}  // namespace plorix::app::test
