// The wizards' page walk: Next and Back pass over the pages the task type
// has no work for, the same way in both directions.

#include <gtest/gtest.h>

#include "ui/forms/schedule_pages.h"

namespace plorix::ui {
namespace {

// The page titles visited by Next from the first page, then Back to it.
std::vector<std::string_view> walk(ScheduleWindow window, std::string_view taskType) {
    const auto& pages = scheduleWindow(window).pages;
    std::vector<std::string_view> seen;
    int page = 0;
    for (int next; (next = stepPage(pages, page, 1, taskType)) != page; page = next)
        seen.push_back(pages[next].title);
    for (int back; (back = stepPage(pages, page, -1, taskType)) != page; page = back)
        seen.push_back(pages[back].title);
    return seen;
}

TEST(SchedulePages, NextAndBackSkipThePagesTheTaskTypeDoesNotUse) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(walk(ScheduleWindow::TaskWizard, "Display Message"),
              (V{"&Category", "&Message", "&When", "&Advanced", "&When", "&Message", "&Category", "&Task"}));
    EXPECT_EQ(walk(ScheduleWindow::TaskWizard, "Run Program"),
              (V{"&Category", "&Command", "&When", "&Advanced", "&When", "&Command", "&Category", "&Task"}));
    // A task of no type runs its script only: it has no command to enter.
    EXPECT_EQ(walk(ScheduleWindow::TaskWizard, "None"),
              (V{"&Category", "&Message", "&When", "&Advanced", "&When", "&Message", "&Category", "&Task"}));
    EXPECT_EQ(walk(ScheduleWindow::RescheduleWizard, "Run Program"),
              (V{"&Command", "&When", "&Advanced", "&When", "&Command", "&Task"}));
    // The message wizard's first page holds the category too: never skipped.
    EXPECT_EQ(walk(ScheduleWindow::MessageWizard, "Display Message"),
              (V{"&When", "&Advanced", "&When", "&Message"}));
}

}  // namespace
}  // namespace plorix::ui
