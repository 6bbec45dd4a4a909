// View Schedule and the entry form, driven as a user drives them: a weekly
// task added by keyboard lands in the file with the right fields; a change
// shows in the list; a save that fails half-way leaves the file as it was;
// a delete takes the script items along; "Show Active Only" holds in every
// tab; the list follows the frame's tick and midnight.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "data/raw_data_file.h"
#include "data/tables/scripting.h"
#include "kit_rig.h"
#include "ui/browses/browse_schedule.h"
#include "ui/forms/update_schedule.h"
#include "ui/kit/record_table_model.h"
#include "support/served_run.h"

namespace plorix::ui {
namespace {

using data::Schedule;
using test::named;

constexpr int kDescriptionColumn = 4;

class ScheduleWindowsTest : public test::WindowTest {
protected:
    std::unique_ptr<store::Table> schedule = table(Schedule::schema(), prompter);

    Schedule stored(std::int32_t id) {
        schedule->rec<Schedule>().ID = id;
        EXPECT_EQ(schedule->get(data::keys::Schedule::KEYID), store::kNoError);
        return schedule->rec<Schedule>();
    }
    void add(Schedule entry) {
        schedule->rec<Schedule>() = entry;
        ASSERT_EQ(schedule->add(), store::kNoError);
    }
    static Schedule entry(std::int32_t id, const char* description, Date date) {
        Schedule e;
        e.ID = id;
        e.DESCRIPTION = description;
        e.TASKTYPE = "Display Message";
        e.SCHEDULETYPE = "Once";
        e.DATE = date;
        e.TIME = makeTime(17, 0);
        return e;
    }
    // Opens the entry form with `key` on the list and lets `fill` act in it.
    void inForm(BrowseSchedule& browse, Qt::Key key, const std::function<void(UpdateSchedule&)>& fill) {
        WindowTest::inForm<UpdateSchedule>(browse.view(), key, fill);
    }
    // Typed, then left, as the form reads a field when the focus leaves it.
    static void typeInto(QWidget* field, const QString& text) {
        WindowTest::typeInto(field, text);
        if (field) QTest::keyClick(field, Qt::Key_Tab);
    }
    static void showTab(UpdateSchedule& form, const QString& title) {
        for (int i = 0; i < form.tabs().count(); ++i)
            if (form.tabs().tabText(i) == title) form.tabs().setCurrentIndex(i);
    }
    const Date monday = makeDate(5, 10, 2027);
};

// Gives task `id` script items 1 to `count`.
void addScriptItems(store::Table& items, std::int32_t id, int count) {
    for (int sequence = 1; sequence <= count; ++sequence) {
        store::clearRecord(items.schema(), items.buffer());
        items.rec<data::Scripting>().ID = id;
        items.rec<data::Scripting>().SEQUENCE = sequence;
        ASSERT_EQ(items.add(), store::kNoError);
    }
}

TEST_F(ScheduleWindowsTest, AWeeklyTaskAddedByKeyboardIsStoredAndChangedFromTheList) {
    auto* browse = new BrowseSchedule(services, nullptr);
    browse->show();
    browse->setTab(BrowseSchedule::DateTab);
    inForm(*browse, Qt::Key_Insert, [&](UpdateSchedule& form) {
        EXPECT_EQ(form.windowTitle(), "Adding a Schedule Task");
        typeInto(named(&form, "Description"), "Water the plants");
        showTab(form, "&When");
        EXPECT_EQ(form.binder().editor("SCH:SCHEDULETYPE")->text(), "Day of Week");
        QTest::mouseClick(named<QCheckBox>(&form, "Saturday"), Qt::LeftButton);
        QTest::mouseClick(named<QCheckBox>(&form, "Sunday"), Qt::LeftButton);
        typeInto(named(&form, "Time"), "5:30PM");
        // The preview follows what was entered before anything is saved.
        EXPECT_EQ(form.previewTexts().size(), 5);
        EXPECT_TRUE(form.previewTexts().front().startsWith("MAY 10,2027  5:30PM"))
            << form.previewTexts().front().toStdString();
        EXPECT_TRUE(form.previewTexts().back().startsWith("MAY 14,2027"))
            << form.previewTexts().back().toStdString();
        named<QPushButton>(&form, "OK")->click();
    });
    const Schedule saved = stored(1);
    EXPECT_EQ(saved.DESCRIPTION, "Water the plants");
    EXPECT_EQ(saved.SCHEDULETYPE, "Day of Week");
    EXPECT_EQ(saved.TASKTYPE, "Both");
    EXPECT_EQ(saved.COMMAND, "N/A");  // a program task without a command only scripts
    EXPECT_EQ(saved.DATE, monday);
    EXPECT_EQ(saved.TIME, makeTime(17, 30));
    EXPECT_EQ(saved.SUNDAY + saved.SATURDAY, 0);
    EXPECT_EQ(saved.MONDAY + saved.TUESDAY + saved.WEDNESDAY + saved.THURSDAY + saved.FRIDAY, 5);
    EXPECT_EQ(saved.WARN, 1);
    EXPECT_EQ(saved.ORIGINALID, 1);
    EXPECT_EQ(saved.LASTCHANGEDATE, monday);
    ASSERT_EQ(browse->model().rowCount(), 1);
    EXPECT_EQ(browse->model().text(0, kDescriptionColumn), "Water the plants");

    inForm(*browse, Qt::Key_Return, [&](UpdateSchedule& form) {
        EXPECT_EQ(form.windowTitle(), "Changing a Schedule Task");
        typeInto(named(&form, "Description"), "Water the orchids");
        named<QPushButton>(&form, "OK")->click();
    });
    EXPECT_EQ(browse->model().text(0, kDescriptionColumn), "Water the orchids");
    EXPECT_EQ(schedule->records(), 1);

    // Cancel on an add gives the reserved number back.
    inForm(*browse, Qt::Key_Insert,
           [&](UpdateSchedule& form) { named<QPushButton>(&form, "Cancel")->click(); });
    EXPECT_EQ(schedule->records(), 1);
    browse->close();
}

TEST_F(ScheduleWindowsTest, ASaveThatFailsHalfWayLeavesTheFileAsItWas) {
    PLORIX_FILE_RUN_ONLY("a SQLite trigger in the file");
    // Weekdays only, dated on a Saturday: saving moves the run to Monday by a copy.
    Schedule weekly = entry(1, "Stand-up", makeDate(5, 15, 2027));
    weekly.SCHEDULETYPE = "Day of Week";
    weekly.MONDAY = weekly.SATURDAY = 1;
    weekly.EXCEPTWEEKENDS = 1;
    weekly.SHIFTTYPE = "Next Day";
    add(weekly);
    // The copy cannot be written, as on a full disk.
    plorix::test::RawDataFile("Px97.TPS")
        .exec(
            "CREATE TRIGGER full BEFORE INSERT ON s WHEN NEW.SCHEDULETYPE = 'Once' "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    bool stayedOpen = false;
    whenModal([&](QWidget* modal) {
        auto& form = *qobject_cast<UpdateSchedule*>(modal);
        form.binder().editor("SCH:DESCRIPTION")->setText("Stand-up moved");
        named<QPushButton>(&form, "OK")->click();
        stayedOpen = form.isVisible();
        named<QPushButton>(&form, "Cancel")->click();
    });
    EXPECT_FALSE(updateSchedule(nullptr, services, ScheduleRequest::Change, &weekly));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.titles().front(), "Auto Increment Error");
    EXPECT_EQ(schedule->records(), 1);
    const Schedule after = stored(1);
    EXPECT_EQ(after.DESCRIPTION, "Stand-up");
    EXPECT_EQ(after.SKIPNEXTTIME, 0);
    EXPECT_EQ(after.EXCEPTIONLINK, 0);
}

TEST_F(ScheduleWindowsTest, DeletingATaskTakesItsScriptItemsAlong) {
    add(entry(7, "Backup", monday));
    auto items = table(data::Scripting::schema(), prompter);
    addScriptItems(*items, 7, 3);
    auto* browse = new BrowseSchedule(services, nullptr);
    browse->show();
    ASSERT_EQ(browse->model().rowCount(), 1);
    prompter.answerNext(kOk);
    QTest::keyClick(&browse->view(), Qt::Key_Delete);
    EXPECT_EQ(prompter.titles().front(), "Confirm Delete");
    EXPECT_EQ(schedule->records(), 0);
    EXPECT_EQ(items->records(), 0);
    EXPECT_EQ(browse->model().rowCount(), 0);
    browse->close();
}

TEST_F(ScheduleWindowsTest, ACopyTakesTheScriptAlongAndCancelTakesItBack) {
    Schedule original = entry(7, "Backup", monday);
    original.ORIGINALID = 7;
    original.EXCEPTIONLINK = 6;  // the pending one-off run of an exception, not the copy's
    add(original);
    auto items = table(data::Scripting::schema(), prompter);
    addScriptItems(*items, 7, 2);
    auto* browse = new BrowseSchedule(services, nullptr);
    browse->show();
    auto copy = [&](const char* button) {
        whenModal([button](QWidget* form) { named<QPushButton>(form, button)->click(); });
        named<QPushButton>(browse, "Copy")->click();
    };
    copy("Cancel");
    EXPECT_EQ(schedule->records(), 1);
    EXPECT_EQ(items->records(), 2);  // the items copied for the form went again
    copy("OK");
    ASSERT_EQ(schedule->records(), 2);
    EXPECT_EQ(stored(8).DESCRIPTION, "Backup");
    EXPECT_EQ(stored(8).ORIGINALID, 8);
    EXPECT_EQ(stored(8).EXCEPTIONLINK, 0);
    EXPECT_EQ(items->records(), 4);
    browse->close();
}

TEST_F(ScheduleWindowsTest, ActiveOnlyHoldsInEveryTabAndTheListFollowsTickAndMidnight) {
    Schedule active = entry(1, "Active", monday);
    Schedule disabled = entry(2, "Disabled", monday);
    disabled.DISABLED = disabled.SKIPNEXTTIME = 1;
    Schedule done = entry(3, "Done", monday);
    done.COMPLETED = done.SKIPNEXTTIME = 1;
    for (Schedule* e : {&active, &disabled, &done}) {
        e->CATEGORY = "Home";
        add(*e);
    }
    scheduler::BrowseRegistry registry;
    auto* browse = new BrowseSchedule(services, &registry);
    browse->show();
    ASSERT_EQ(browse->model().rowCount(), 3);
    auto status = [&](int row) {
        return browse->model().data(browse->model().index(row, 0), Qt::ToolTipRole).toString();
    };
    EXPECT_EQ(status(0), "Not done");
    EXPECT_EQ(status(1), "Skip next time");  // disabled, but skip-next-time comes first
    EXPECT_EQ(status(2), "Done");
    EXPECT_EQ(browse->model().data(browse->model().index(1, 1), Qt::ForegroundRole).value<QColor>(),
              QColor(128, 128, 128));

    browse->setActiveOnly(true);
    browse->setCategory("HOME");
    for (int tab : {BrowseSchedule::DayTab, BrowseSchedule::DateTab, BrowseSchedule::CategoryTab}) {
        browse->setTab(tab);
        ASSERT_EQ(browse->model().rowCount(), 1) << "tab " << tab;
        EXPECT_EQ(browse->model().text(0, kDescriptionColumn), "Active");
    }

    // The frame's tick changed the task: the list shows it at once.
    auto station = table(Schedule::schema(), prompter);
    station->rec<Schedule>().ID = 1;
    ASSERT_EQ(station->get(data::keys::Schedule::KEYID), store::kNoError);
    station->rec<Schedule>().DESCRIPTION = "Active, renamed";
    ASSERT_EQ(station->put(), store::kNoError);
    registry.notifyAll();
    EXPECT_EQ(browse->model().text(0, kDescriptionColumn), "Active, renamed");

    // Past midnight the day view moves on with the day it showed.
    browse->setTab(BrowseSchedule::DayTab);
    clock.set({monday + 1, makeTime(0, 0, 30)});
    EXPECT_TRUE(plorix::test::waitUntil([&] { return browse->selectedDay() == monday + 1; }, 3000));
    EXPECT_EQ(browse->model().rowCount(), 0);
    browse->close();
    plorix::test::runEvents();
    EXPECT_EQ(registry.size(), 0u);
}

}  // namespace
}  // namespace plorix::ui
