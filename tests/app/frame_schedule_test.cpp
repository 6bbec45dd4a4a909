// The schedule windows as the frame opens them: "View Schedule" at start-up
// and from the toolbar, refreshed by the frame's tick; "Schedule
// Categories" from the menu, whose "&Schedule" shows one category's tasks.

#include <QPushButton>
#include <QTableView>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/categories.h"
#include "frame_rig.h"
#include "ui/browses/browse_categories.h"
#include "ui/browses/browse_schedule.h"
#include "ui/browses/browse_schedule_category.h"
#include "ui/kit/record_table_model.h"

namespace plorix::app::test {
namespace {

Moment may6(int hours, int minutes) { return {makeDate(5, 6, 2024), makeTime(hours, minutes)}; }

template <typename Window>
Window* openWindow(MainFrame& frame) {
    Window* found = nullptr;
    processUntil([&] { return (found = frame.findChild<Window*>()) != nullptr; }, 2);
    return found;
}

TEST_F(FrameTest, ViewScheduleOpensAtStartUpAndFollowsTheTick) {
    data::Schedule due = reminderEntry("Stand-up", may6(9, 0));
    due.CATEGORY = "Work";
    addEntries({due, reminderEntry("Lunch", may6(12, 30))});
    MainFrame& f = frame();
    f.open();
    auto* browse = openWindow<ui::BrowseSchedule>(f);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), "View Schedule");
    ASSERT_EQ(browse->model().rowCount(), 2);
    EXPECT_EQ(ui::BrowseSchedule::statusOf(*static_cast<const data::Schedule*>(browse->model().record(0))),
              "Not done");
    // The toolbar's button brings the open one forward rather than a second.
    f.perform(FrameCommand::ViewSchedule);
    EXPECT_EQ(f.findChildren<ui::BrowseSchedule*>().size(), 1);

    tick();  // the stand-up fires: the list shows it done without being asked
    ASSERT_TRUE(processUntil(
        [&] {
            const auto* first = static_cast<const data::Schedule*>(browse->model().record(0));
            return first && ui::BrowseSchedule::statusOf(*first) == "Done";
        },
        3));
}

TEST_F(FrameTest, ScheduleCategoriesShowsTheTasksOfOneCategory) {
    dir.write("px98.INI", "[Settings]\nStartUpSchedule=1\n");
    data::Schedule work = reminderEntry("Report", may6(17, 0));
    work.CATEGORY = "Work";
    addEntries({work, reminderEntry("Lunch", may6(12, 30))});
    {
        store::Table& categories = data::processTable<data::Categories>();
        data::TableUse use(categories, prompter);
        categories.rec<data::Categories>().CATEGORY = "Work";
        ASSERT_EQ(categories.add(), store::kNoError);
    }
    MainFrame& f = frame();
    f.open();
    EXPECT_EQ(f.findChild<ui::BrowseSchedule*>(), nullptr);
    f.perform(FrameCommand::ScheduleCategories);
    auto* categories = openWindow<ui::BrowseCategories>(f);
    ASSERT_NE(categories, nullptr);
    EXPECT_EQ(categories->windowTitle(), "Categories");
    ASSERT_EQ(categories->model().rowCount(), 1);
    categories->view().selectRow(0);
    for (QPushButton* b : categories->findChildren<QPushButton*>())
        if (b->accessibleName() == "Schedule") b->click();
    auto* browse = openWindow<ui::BrowseScheduleCategory>(f);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), "Browse Schedule by Category");
    ASSERT_EQ(browse->model().rowCount(), 1);
    EXPECT_EQ(browse->model().text(0, 0), "Report");
}

}  // namespace
}  // namespace plorix::app::test
