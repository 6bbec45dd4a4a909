// The task wizards as the frame opens them, on the test desktop: a message
// added with the message wizard fires and shows its window, then waits for
// the next day; a program added with the program wizard starts at its
// time; Reschedule copies an entry for once and skips the source's next run.

#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <vector>

#include "data/process_tables.h"
#include "frame_rig.h"
#include "messages/reminder_window.h"
#include "platform/linux/desktop_linux.h"
#include "script/command_line.h"
#include "ui/browses/browse_schedule.h"
#include "ui/forms/schedule_wizard.h"
#include "ui/kit/record_table_model.h"
#include "support/served_run.h"

namespace plorix::app::test {
namespace {

#define NEED_TEST_DESKTOP()                       \
    const char* display = std::getenv("DISPLAY"); \
    if (!display || !*display) GTEST_SKIP() << "needs the test desktop (scripts/with-desktop)"

Moment may6(int hours, int minutes) { return {makeDate(5, 6, 2024), makeTime(hours, minutes)}; }

std::vector<data::Schedule> storedEntries() {
    std::vector<data::Schedule> found;
    RecordingPrompter quiet;
    store::Table& schedule = data::processTable<data::Schedule>();
    const data::TableUse use(schedule, quiet);
    schedule.setStart(-1);
    while (schedule.next() == store::kNoError) found.push_back(schedule.rec<data::Schedule>());
    return found;
}

QPushButton* named(QWidget& window, const QString& name) {
    for (QPushButton* b : window.findChildren<QPushButton*>())
        if (b->accessibleName() == name && b->isVisible()) return b;
    return nullptr;
}

// Runs `act` on the wizard once it shows (then it must be closed by `act`).
void whenWizard(std::function<void(ui::ScheduleWizard&)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* wizard = qobject_cast<ui::ScheduleWizard*>(QApplication::activeModalWidget());
        if (!wizard || !wizard->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(*wizard);
    });
    timer->start(20);
}

// Walks to the last page with Next, as the user does.
void nextToTheEnd(ui::ScheduleWizard& wizard) {
    while (QPushButton* next = named(wizard, "Next")) next->click();
}

TEST_F(FrameTest, TheMessageWizardAddsADailyReminderThatFiresAndShowsItsWindow) {
    dir.write("px98.INI", "[Settings]\nStartUpSchedule=1\n");
    MainFrame& f = frame();
    f.open();
    std::vector<int> pages;
    whenWizard([&](ui::ScheduleWizard& wizard) {
        EXPECT_EQ(wizard.windowTitle(), "Add Message Wizard");
        EXPECT_EQ(named(wizard, "Back"), nullptr);  // none on the first page
        wizard.field("SCH:DESCRIPTION")->setText("Water the plants");
        wizard.field("SCH:MESSAGE")->setText("The ones on the balcony");
        nextToTheEnd(wizard);
        pages.push_back(wizard.page());
        named(wizard, "Back")->click();
        pages.push_back(wizard.page());
        nextToTheEnd(wizard);
        named(wizard, "Finish")->click();
    });
    f.perform(FrameCommand::AddMessageWizard);
    EXPECT_EQ(pages, (std::vector<int>{2, 1}));
    std::vector<data::Schedule> entries = storedEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].TASKTYPE.str(), "Display Message");
    EXPECT_EQ(entries[0].CATEGORY.str(), "General");
    EXPECT_EQ(entries[0].DISABLED, 0);
    EXPECT_EQ(entries[0].WARN, 1);

    clock.advance(100 * 60);
    tick();
    QWidget* reminder = awaitProgramWindow(f);
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(reminder->windowTitle(), "Message");
    entries = storedEntries();
    ASSERT_EQ(entries.size(), 2u);  // the entry and its run's history
    EXPECT_EQ(entries[0].COMPLETED, 0);
    EXPECT_EQ(entries[0].DATE, makeDate(5, 7, 2024));  // every day: tomorrow next
    reminder->close();
}

TEST_F(FrameTest, ACancelledWizardLeavesNoEntryBehind) {
    MainFrame& f = frame();
    for (FrameCommand command : {FrameCommand::AddProgramWizard, FrameCommand::AddTaskWizard}) {
        whenWizard([](ui::ScheduleWizard& wizard) {
            while (!wizard.field("SCH:TIME")->isVisibleTo(&wizard)) named(wizard, "Next")->click();
            // Next refuses a time it cannot read and stays on the page.
            const int when = wizard.page();
            wizard.field("SCH:TIME")->setText("25:99");
            named(wizard, "Next")->click();
            EXPECT_EQ(wizard.page(), when);
            wizard.reject();
        });
        f.perform(command);
        EXPECT_TRUE(storedEntries().empty());
    }
}

TEST_F(FrameTest, AnEntryBeingAddedIsNotFiredWhileItsWizardIsOpen) {
    dir.write("px98.INI", "[Settings]\nStartUpSchedule=1\n");
    MainFrame& f = frame();
    f.open();
    bool shownEarly = true;
    whenWizard([&](ui::ScheduleWizard& wizard) {
        // The reserved entry is due now, but not yet entered.
        clock.advance(100 * 60);
        tick();
        shownEarly = processUntil(
            [&] {
                for (QWidget* w : f.programWindows())
                    if (qobject_cast<messages::ReminderWindow*>(w)) return true;
                return false;
            },
            1);
        wizard.reject();
    });
    f.perform(FrameCommand::AddMessageWizard);
    EXPECT_FALSE(shownEarly);
    EXPECT_TRUE(storedEntries().empty());
}

TEST_F(FrameTest, TheProgramWizardAddsATaskThatStartsTheProgramAtItsTime) {
    NEED_TEST_DESKTOP();
    platform::LinuxDesktop desktop(script::splitCommandLine);
    MainFrame& f = frame();
    f.open();
    const std::string title = "plorix-wizard-" + std::to_string(::getpid());
    whenWizard([&](ui::ScheduleWizard& wizard) {
        wizard.field("SCH:COMMAND")
            ->setText(QString::fromStdString(PLORIX_TESTAPP) + " --title " + QString::fromStdString(title));
        named(wizard, "Next")->click();  // "&When"
        wizard.field("SCH:TIME")->setText("9:30AM");
        named(wizard, "Next")->click();
        wizard.field("SCH:DESCRIPTION")->setText("Start the test window");
        nextToTheEnd(wizard);
        named(wizard, "Finish")->click();
    });
    f.perform(FrameCommand::AddProgramWizard);
    const std::vector<data::Schedule> entries = storedEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].TIME, makeTime(9, 30));
    auto started = [&] {
        for (const platform::WindowInfo& w : platform::desktop().windows->topLevelWindows())
            if (w.title == title) return w.id;
        return platform::kNoWindow;
    };
    clock.set(may6(9, 29));
    tick();
    EXPECT_FALSE(processUntil([&] { return started() != platform::kNoWindow; }, 1)) << "started early";
    clock.set(may6(9, 30));
    tick();
    ASSERT_TRUE(processUntil([&] { return started() != platform::kNoWindow; }, 15));
    platform::desktop().windows->close(started());
}

TEST_F(FrameTest, RescheduleAddsAOneOffCopyAndSkipsTheSourcesNextRun) {
    data::Schedule weekly = reminderEntry("Team meeting", may6(10, 0), "Room 4");
    weekly.SCHEDULETYPE = "Day of Week";
    weekly.MONDAY = 1;
    addEntries({weekly});
    MainFrame& f = frame();
    f.perform(FrameCommand::ViewSchedule);
    ui::BrowseSchedule* browse = nullptr;
    ASSERT_TRUE(processUntil([&] { return (browse = f.findChild<ui::BrowseSchedule*>()) != nullptr; }));
    ASSERT_TRUE(processUntil([&] { return browse->model().rowCount() == 1; }));
    std::string shownType;
    whenWizard([&](ui::ScheduleWizard& wizard) {
        EXPECT_EQ(wizard.windowTitle(), "Reschedule Event Wizard");
        nextToTheEnd(wizard);
        named(wizard, "Back")->click();  // "&When"
        wizard.field("SCH:DATE")->setText("MAY 07,2024");
        wizard.field("SCH:SKIPNEXTTIME")->setText("1");
        nextToTheEnd(wizard);
        named(wizard, "Finish")->click();
    });
    named(*browse, "Reschedule")->click();
    const std::vector<data::Schedule> entries = storedEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].SKIPNEXTTIME, 1);  // the source
    EXPECT_EQ(entries[0].SCHEDULETYPE.str(), "Day of Week");
    EXPECT_EQ(entries[1].SCHEDULETYPE.str(), "Once");
    EXPECT_EQ(entries[1].SKIPNEXTTIME, 0);
    EXPECT_EQ(entries[1].DATE, makeDate(5, 7, 2024));
    EXPECT_EQ(entries[1].MESSAGE.str(), "Room 4");
    browse->close();
}

std::vector<data::Schedule> entriesIn(const std::filesystem::path& folder) {
    std::vector<data::Schedule> found;
    store::Table schedule(data::Schedule::schema());
    schedule.setName((folder / data::processTable<data::Schedule>().name()).string());
    if (schedule.open() != store::kNoError) return found;
    schedule.setStart(-1);
    while (schedule.next() == store::kNoError) found.push_back(schedule.rec<data::Schedule>());
    return found;
}

TEST_F(FrameTest, ReplyFromAReminderPutsTheMessageIntoTheOtherDataFolder) {
    PLORIX_FILE_RUN_ONLY("copies the data file to a second folder");
    dir.write("px98.INI", "[Settings]\nStartUpSchedule=1\n");
    const std::filesystem::path office = dir / "office";
    const std::filesystem::path empty = dir / "empty";
    std::filesystem::create_directory(empty);
    data::Schedule asked = reminderEntry("Lunch on Friday?", may6(9, 0), "Shall we?");
    asked.PATH = "Reply to: " + office.string();
    data::Schedule nowhere = reminderEntry("Nobody there", may6(9, 0));
    nowhere.PATH = "Reply to: " + empty.string();
    addEntries({asked, nowhere});
    // The other folder: a data file of its own, empty of tasks.
    std::filesystem::create_directory(office);
    std::filesystem::copy_file(dir / "Px97.TPS", office / "Px97.TPS");
    for (const data::Schedule& e : entriesIn(office)) ASSERT_NE(e.DESCRIPTION.str(), "Yes, at noon");
    const std::size_t before = entriesIn(office).size();

    MainFrame& f = frame();
    f.open();
    tick();
    QList<QWidget*> reminders;
    ASSERT_TRUE(processUntil([&] { return (reminders = f.programWindows()).size() == 2; }));
    auto replyOf = [&](const std::string& title) -> QPushButton* {
        for (QWidget* w : reminders)
            if (auto* r = qobject_cast<messages::ReminderWindow*>(w); r && r->reminder().title() == title)
                return r->button("&Reply");
        return nullptr;
    };
    ASSERT_NE(replyOf("Lunch on Friday?"), nullptr);
    ASSERT_TRUE(replyOf("Lunch on Friday?")->isEnabled());
    whenWizard([&](ui::ScheduleWizard& wizard) {
        EXPECT_EQ(wizard.windowTitle(), "Reply...");
        wizard.field("SCH:DESCRIPTION")->setText("Yes, at noon");
        nextToTheEnd(wizard);
        named(wizard, "Finish")->click();
    });
    replyOf("Lunch on Friday?")->click();
    const std::vector<data::Schedule> there = entriesIn(office);
    ASSERT_EQ(there.size(), before + 1);
    EXPECT_EQ(there.back().DESCRIPTION.str(), "Yes, at noon");
    EXPECT_EQ(there.back().SCHEDULETYPE.str(), "Once");
    EXPECT_EQ(there.back().PATH.str(), "Reply to: " + std::filesystem::current_path().string());
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
    EXPECT_EQ(storedEntries().size(), 2u);  // nothing added here

    // A folder without a data file: said so, nothing created, still open.
    replyOf("Nobody there")->click();
    EXPECT_TRUE(std::filesystem::is_empty(empty));
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_NE(prompter.shown().back().text.find("cannot be opened"), std::string::npos);
    EXPECT_TRUE(replyOf("Nobody there")->isVisible());
    for (QWidget* w : reminders) w->close();
}

}  // namespace
}  // namespace plorix::app::test
