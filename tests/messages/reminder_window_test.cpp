// The reminder windows: which window the settings open, what it shows,
// its buttons, the repeated alarm from its own timer, Snooze, To Do, Reply,
// the "Message" log line and the remembered position.

#include "messages/reminder_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <filesystem>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/schedule.h"
#include "data/tables/todo.h"
#include "settings/window_positions.h"
#include "log/event_log.h"
#include "messages/show_reminder.h"
#include "platform/fake/fake_desktop.h"
#include "runtime/fixed_text.h"
#include "runtime/ini_file.h"
#include "support/temp_dir.h"
#include "ui/qt_test_app.h"

namespace plorix::messages {
namespace {

using scheduler::ReminderKind;

class ReminderWindowTest : public ::testing::Test {
protected:
    ReminderWindowTest() {
        setProcessPrompter(&prompter);
        setProcessClock(&clock);
        log::eventLog().setHook([this](const log::LogEntry& entry) {
            logLines.push_back(clip(entry.label) + ": " + clip(entry.text));
        });
        services.startProgram = [this](std::int32_t id, std::string_view command, std::string_view) {
            programs.push_back(std::to_string(id) + " " + std::string(command));
        };
    }
    ~ReminderWindowTest() override {
        for (QWidget* w : QApplication::topLevelWidgets()) delete w;
        log::eventLog().setHook({});
        data::resetProcessTables();
        data::resetUseCounts();
        setProcessClock(nullptr);
        setProcessPrompter(nullptr);
    }

    ReminderWindow* show(ReminderKind kind = ReminderKind::Message, std::string sound = "bell.wav") {
        return showReminder({"Dentist", "Call to confirm\nBring the card", std::move(sound), reply}, kind,
                            context);
    }
    template <typename Record>
    std::vector<Record> records() {
        store::Table& table = data::processTable<Record>();
        const data::TableUse use(table, prompter);
        std::vector<Record> out;
        table.setStart(-1);
        while (table.next() == store::kNoError) out.push_back(table.rec<Record>());
        return out;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
    ManualClock clock{{makeDate(3, 14, 2025), makeTime(23, 55)}};
    settings::Settings settings;
    platform::FakeSound sound;
    scheduler::ReminderServices services{clock, prompter, settings, sound, {}};
    ReminderContext context{&services, nullptr, {}};
    std::string reply;
    std::vector<std::string> logLines;
    std::vector<std::string> programs;
};

TEST_F(ReminderWindowTest, OrdinaryReminderShowsTheTaskAndIsCountedWhileOpen) {
    QPointer<ReminderWindow> window = show();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->kind(), ReminderWindowKind::ShowMessage);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Message");
    EXPECT_EQ(window->findChild<QLineEdit*>("Title")->text(), "Dentist");
    EXPECT_EQ(window->findChild<QPlainTextEdit*>("Text")->toPlainText(), "Call to confirm\nBring the card");
    EXPECT_NE(window->button("Cl&ose"), nullptr);
    EXPECT_NE(window->button("&Snooze"), nullptr);
    EXPECT_NE(window->button("&Add to To Do List"), nullptr);
    EXPECT_EQ(window->button("&Reply"), nullptr);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(scheduler::openReminderWindows(), 1);
    EXPECT_EQ(logLines, std::vector<std::string>{"Message: Dentist bell.wav"});

    // To Do keeps the window open, every time.
    window->button("&Add to To Do List")->click();
    window->button("&Add to To Do List")->click();
    EXPECT_EQ(records<data::Todo>().size(), 2u);
    EXPECT_EQ(prompter.titles(), (std::vector<std::string>{"Saved", "Saved"}));
    EXPECT_TRUE(window && window->isVisible());

    window->setGeometry(120, 130, 450, 280);
    window->button("Cl&ose")->click();
    test::runEvents();
    EXPECT_FALSE(window);
    EXPECT_EQ(scheduler::openReminderWindows(), 0);

    // The next ordinary reminder opens where this one was; one more beside
    // it steps aside instead of covering it.
    window = show();
    EXPECT_EQ(window->geometry(), QRect(120, 130, 450, 280));
    ReminderWindow* second = show();
    EXPECT_EQ(second->geometry(), window->geometry().translated(24, 24));
    EXPECT_EQ(second->size(), window->size());
}

TEST_F(ReminderWindowTest, SnoozeAddsTheSnoozeEntryAndCloses) {
    QPointer<ReminderWindow> window = show();
    window->button("&Snooze")->click();
    test::runEvents();
    EXPECT_FALSE(window);
    EXPECT_EQ(scheduler::openReminderWindows(), 0);

    const auto entries = records<data::Schedule>();
    ASSERT_EQ(entries.size(), 1u);
    const data::Schedule& e = entries[0];
    EXPECT_EQ(e.CATEGORY.str(), "Snooze");
    EXPECT_EQ(e.DESCRIPTION.str(), "Dentist");
    EXPECT_EQ(e.TASKTYPE.str(), "Display Message");
    EXPECT_EQ(e.SCHEDULETYPE.str(), "Once");
    // 23:55 + ten minutes is 00:05 the next day.
    EXPECT_EQ(e.DATE, makeDate(3, 15, 2025));
    EXPECT_EQ(e.TIME, makeTime(0, 5));
    EXPECT_EQ(e.SKIPIFMISSED, 1);
}

TEST_F(ReminderWindowTest, SettingsSendTheMessageElsewhere) {
    settings.UseModalMessage = true;
    QPointer<ReminderWindow> modal = show();
    ASSERT_TRUE(modal);
    EXPECT_EQ(modal->kind(), ReminderWindowKind::ShowModalMessage);
    EXPECT_EQ(modal->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(modal->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(scheduler::openReminderWindows(), 0);
    // Logged once, although the modal window is opened by way of the ordinary one.
    EXPECT_EQ(logLines.size(), 1u);
    modal->close();
    test::runEvents();
    EXPECT_FALSE(IniFile(std::string(settings::kPositionIni)).find("ShowMessage", "XPosit"));

    settings.UseExternalMessage = true;
    EXPECT_EQ(show(), nullptr);
    EXPECT_EQ(programs, std::vector<std::string>{"0 PXMsg.EXE \"Call to confirm\nBring the card\""});

    settings.UseWinMessage = true;
    EXPECT_EQ(show(), nullptr);
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"Dentist"});
    EXPECT_EQ(logLines.size(), 3u);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                !QApplication::topLevelWidgets().front()->isVisible());
}

TEST_F(ReminderWindowTest, ReplyHandsTheReplyFolderToTheQuickEntry) {
    std::filesystem::create_directory(dir / "office");
    reply = (dir / "office").string();
    QPointer<ReminderWindow> window = show(ReminderKind::WithReplyPath);
    EXPECT_EQ(window->kind(), ReminderWindowKind::ShowMessageWithReplyPath);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_NE(window->button("&To Do"), nullptr);
    EXPECT_EQ(window->button("&Add to To Do List"), nullptr);
    EXPECT_FALSE(window->button("&Reply")->isEnabled());  // nothing to enter the reply with
    EXPECT_EQ(logLines, std::vector<std::string>{"Message: Dentist bell.wav"});

    std::string handed;
    context.fastAdd = [&](QWidget*, const std::string& folder) {
        handed = folder;
        return std::filesystem::exists(folder);
    };
    window = show(ReminderKind::WithReplyPath);
    window->button("&Reply")->click();
    EXPECT_EQ(handed, (dir / "office").string());
    EXPECT_EQ(std::filesystem::current_path(), dir.path());  // the program's folder stays current
    EXPECT_TRUE(window);                                     // a reply leaves the reminder open
    EXPECT_TRUE(prompter.titles().empty());

    reply = (dir / "gone").string();
    window = show(ReminderKind::WithReplyPath);
    window->button("&Reply")->click();
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"Message"});
    EXPECT_TRUE(window);
}

TEST_F(ReminderWindowTest, WindowTimerRepeatsTheAlarm) {
    settings.RepeatAlarmInterval = 5;
    ReminderWindow* ringing = show();
    ReminderWindow* silent = show(ReminderKind::Message, "");
    test::runEvents(1100);
    EXPECT_TRUE(sound.played.empty());
    clock.advance(600);
    ASSERT_TRUE(test::waitUntil([&] { return !sound.played.empty(); }));
    EXPECT_EQ(sound.played, std::vector<std::string>{"bell.wav"});
    EXPECT_EQ(ringing->reminder().nextAlarm(), addHundredths(clock.current(), 500));
    EXPECT_EQ(silent->reminder().soundFile(), "");
}

TEST_F(ReminderWindowTest, PostedReminderOpensOnceTheEventLoopRuns) {
    postReminder({"Dentist", "Call to confirm", "", ""}, ReminderKind::Message, context);
    EXPECT_EQ(scheduler::openReminderWindows(), 0);
    EXPECT_TRUE(logLines.empty());
    test::runEvents();
    EXPECT_EQ(scheduler::openReminderWindows(), 1);
    EXPECT_EQ(logLines.size(), 1u);
}

}  // namespace
}  // namespace plorix::messages
