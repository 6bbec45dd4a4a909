// Finding tasks: the task picker, the search window with its match types,
// the "Selected" tab the tags feed, and the category's own task list.

#include <QPushButton>
#include <QTableView>

#include "kit_rig.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/record_table_model.h"
#include "ui/pickers/select_schedule.h"

namespace plorix::ui {
namespace {

using data::Schedule;

class ScheduleSearchTest : public test::WindowTest {
protected:
    std::unique_ptr<store::Table> schedule = table(Schedule::schema(), prompter);

    void add(std::int32_t id, const char* category, const char* description, Date date) {
        Schedule& e = schedule->rec<Schedule>();
        store::clearRecord(Schedule::schema(), &e);
        e.ID = id;
        e.CATEGORY = category;
        e.DESCRIPTION = description;
        e.TASKTYPE = "Display Message";
        e.SCHEDULETYPE = "Once";
        e.DATE = date;
        e.TIME = makeTime(17, 0);
        ASSERT_EQ(schedule->add(), store::kNoError);
    }
    const Date monday = makeDate(5, 10, 2027);
};

TEST_F(ScheduleSearchTest, TheTaskPickerListsByCategoryAndDateAndReturnsTheChosenId) {
    add(1, "Work", "Report", monday + 1);
    add(2, "Home", "Plants", monday + 2);
    add(3, "Home", "Bins", monday);
    std::vector<QString> listed;
    whenModal([&](QWidget* modal) {
        auto* picker = dynamic_cast<SelectSchedule*>(modal);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), "Select Task");
        for (int row = 0; row < picker->browse().model().rowCount(); ++row)
            listed.push_back(picker->browse().model().text(row, 2));
        QTest::keyClick(&picker->browse().view(), Qt::Key_Down);
        QTest::keyClick(&picker->browse().view(), Qt::Key_Return);
    });
    EXPECT_EQ(selectSchedule(prompter), std::optional<std::int32_t>(2));
    EXPECT_EQ(listed, (std::vector<QString>{"Bins", "Plants", "Report"}));

    whenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(selectSchedule(prompter), std::nullopt);
}

}  // namespace
}  // namespace plorix::ui
