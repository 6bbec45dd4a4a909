// The to-do list as the frame opens it: at start-up, titled with the user
// in multi-user mode, and showing at once what a reminder's "Add to To Do
// List" puts on it.

#include <QPushButton>

#include "frame_rig.h"
#include "ui/browses/view_todo.h"
#include "ui/kit/record_table_model.h"

namespace plorix::app::test {
namespace {

TEST_F(FrameTest, AReminderAddedToTheToDoListShowsInTheOpenList) {
    // The schedule stays shut (its setting is stored inverted).
    dir.write("px98.INI", "[Settings]\nStartUpToDo=1\nStartUpSchedule=1\nMultiUser=1\nUserID=Ann\n");
    addEntries({reminderEntry("Stand-up", {makeDate(5, 6, 2024), makeTime(9, 0)}, "Meeting in room 4")});
    MainFrame& f = frame();
    f.open();
    auto* list = f.findChild<ui::ViewTodo*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), "To Do List - Ann");
    EXPECT_EQ(list->model().rowCount(), 0);
    // The tray's choice brings the open list forward rather than a second.
    f.perform(FrameCommand::ToDoList);
    EXPECT_EQ(f.findChildren<ui::ViewTodo*>().size(), 1);

    tick();
    QPushButton* add = nullptr;
    ASSERT_TRUE(processUntil([&] {
        for (QPushButton* b : f.findChildren<QPushButton*>())
            if (b->text() == "&Add to To Do List") add = b;
        return add != nullptr;
    }));
    add->click();
    ASSERT_EQ(list->model().rowCount(), 1);
    EXPECT_EQ(list->model().text(0, 2), "Stand-up");
}

}  // namespace
}  // namespace plorix::app::test
