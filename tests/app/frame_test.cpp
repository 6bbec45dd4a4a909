// The frame in this process, on a clock the test moves: what each tick
// shows, the menus and toolbar, the tray and its pop-up menu, closing, the
// help window.

#include <QAbstractButton>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

#include "app/help_window.h"
#include "frame_rig.h"
#include "log/event_log.h"
#include "runtime/fixed_text.h"
#include "runtime/ini_file.h"
#include "script/script_queue.h"
#include "settings/settings.h"

namespace plorix::app::test {
namespace {

Moment may6(int hours, int minutes) { return {makeDate(5, 6, 2024), makeTime(hours, minutes)}; }

// A script item that waits far into the future, so the queue stays busy.
void queueWaitingScript(MainFrame& frame) {
    script::QueueItem item;
    item.ACTION = "Wait";
    item.SECONDSTOWAIT = 3600;
    item.due = frame.engine().clock().steadyHundredths() + 360000;
    ASSERT_TRUE(frame.engine().queue().append({item}));
}

// The texts of a menu's actions, "-" for separators, joined by '|'.
QString menuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts.join('|');
}

// The action at a path of menu texts ("&File", "&Import", "&Schedule").
QAction* menuAction(QMenuBar& bar, const QStringList& path) {
    QList<QAction*> actions = bar.actions();
    QAction* found = nullptr;
    for (const QString& text : path) {
        const auto it =
            std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == text; });
        if (it == actions.end()) return nullptr;
        found = *it;
        if (found->menu()) actions = found->menu()->actions();
    }
    return found;
}

QToolButton* stopButton(MainFrame& frame) {
    for (QToolButton* button : frame.toolbar().findChildren<QToolButton*>()) {
        if (button->accessibleName() == QStringLiteral("Stop Running Script")) return button;
    }
    return nullptr;
}

#define NEED_TRAY()                                                                  \
    do {                                                                             \
        if (!FrameTray::available()) GTEST_SKIP() << "no tray host on this desktop"; \
    } while (0)

TEST_F(FrameTest, EachTickSetsTitleStatusZonesAndTheNextPeriod) {
    addEntries({reminderEntry("Lunch", may6(12, 0))});
    MainFrame& f = frame();
    f.open();
    EXPECT_EQ(f.windowTitle(), "Plorix 98 1.7a");
    // The clock zones are there before the first tick.
    EXPECT_EQ(f.statusZone(3), "Monday, MAY 06,2024");
    EXPECT_EQ(f.statusZone(4), "9:00AM");
    EXPECT_EQ(f.timer().interval(), 1000);

    clock.advance(125);
    tick();
    EXPECT_EQ(f.statusZone(2), "Next: Lunch");
    EXPECT_EQ(f.statusZone(4), "9:00AM");
    EXPECT_EQ(f.scriptMark(), "");
    EXPECT_EQ(f.timer().interval(), 1250);

    clock.advance(6000);
    tick();
    EXPECT_EQ(f.statusZone(4), "9:01AM");

    f.engine().state().active = false;
    tick();
    EXPECT_EQ(f.windowTitle(), "Plorix 98 1.7a (Inactive)");
    EXPECT_EQ(f.statusZone(2), "Inactive");
    EXPECT_EQ(f.timer().interval(), 2500);
}

TEST_F(FrameTest, StartedInactiveShowsItInTheTitle) {
    settings::settings().inactivated = true;
    frame().open();
    tick();
    EXPECT_EQ(frame().windowTitle(), "Plorix 98 1.7a (Inactive)");
}

TEST_F(FrameTest, RunningScriptShowsTheMarkUntilTheStopImageEmptiesTheQueue) {
    MainFrame& f = frame();
    f.open();
    queueWaitingScript(f);
    tick();
    EXPECT_EQ(f.scriptMark(), "*");
    EXPECT_EQ(f.timer().interval(), 500);

    QToolButton* stop = stopButton(f);
    ASSERT_NE(stop, nullptr);
    stop->click();
    EXPECT_TRUE(f.engine().queue().empty());
    tick();
    EXPECT_EQ(f.scriptMark(), "");
    EXPECT_EQ(f.timer().interval(), 1250);
}

TEST_F(FrameTest, TrayMenuOffersStopRunningScriptOnlyWhileAScriptRuns) {
    MainFrame& f = frame();
    f.open();
    EXPECT_EQ(menuTexts(f.tray().menu()),
              "Add &Message|Add &Program|&View To Do|&Options|-|&Restore|-|&About|E&xit Plorix");
    queueWaitingScript(f);
    QMenu& menu = f.tray().menu();
    EXPECT_EQ(menuTexts(menu),
              "Add &Message|Add &Program|&View To Do|&Options|-|&Restore|-|&About|&Stop Running Script|E&xit "
              "Plorix");
    for (QAction* action : menu.actions()) {
        if (action->text() == "Add &Message" || action->text() == "Add &Program") {
            EXPECT_TRUE(action->isEnabled());
        }
        if (action->text() == "&Restore") {
            EXPECT_TRUE(action->isEnabled());
        }
        if (action->text() == "&Stop Running Script") action->trigger();
    }
    EXPECT_TRUE(f.engine().queue().empty());
    tick();
    EXPECT_EQ(f.scriptMark(), "");
}

TEST_F(FrameTest, MenuBarHoldsEveryMenuWithSubMenusInPlace) {
    QMenuBar& bar = *frame().menuBar();
    QStringList tops;
    for (QAction* action : bar.actions()) tops << action->text();
    EXPECT_EQ(tops.join('|'), "&File|&Browse|&Reports|&Window|&Help");
    EXPECT_EQ(menuTexts(*menuAction(bar, {"&File"})->menu()),
              "&Setup|Print Setup ...|-|&Import|&Export|S&ynchronization|View &Log|-|E&xit");
    EXPECT_EQ(menuTexts(*menuAction(bar, {"&Reports", "&Schedule"})->menu()),
              "&Brief Schedule|&All in Date Order|All in &Category Order|&Specific Category");
    EXPECT_EQ(menuTexts(*menuAction(bar, {"&Browse", "&Wizards"})->menu()),
              "Add &Message|Add &Program|Generic &Add");

    // What the program can open is enabled.
    for (const QStringList& path : {QStringList{"&File", "&Setup"},
                                    {"&File", "View &Log"},
                                    {"&File", "E&xit"},
                                    {"&Window", "&Cascade"},
                                    {"&Help", "&Search for Help On..."},
                                    {"&Help", "&About"},
                                    {"&File", "&Import", "&To Do"},
                                    {"&File", "S&ynchronization"},
                                    {"&File", "&Import", "Ca&lendar (.ics)"},
                                    {"&File", "&Export", "Ca&lendar (.ics)"},
                                    {"&Reports", "&To Do List", "&Category"},
                                    {"&Browse", "&View Schedule"},
                                    {"&Browse", "&To Do List"},
                                    {"&Browse", "&Contacts"},
                                    {"&Browse", "&Email Messages"},
                                    {"&Browse", "Contact Categories"},
                                    {"&Browse", "Schedule Cate&gories"},
                                    {"&Browse", "&Wizards", "Add &Message"},
                                    {"&Browse", "&Wizards", "Add &Program"},
                                    {"&Browse", "&Wizards", "Generic &Add"}}) {
        ASSERT_NE(menuAction(bar, path), nullptr) << path.join('>').toStdString();
        EXPECT_TRUE(menuAction(bar, path)->isEnabled()) << path.join('>').toStdString();
    }
    // A window bound again takes over its menu item and toolbar button.
    int opened = 0;
    frame().bind(FrameCommand::ToDoList, [&] { ++opened; });
    for (QAction* action : frame().toolbar().actions()) {
        if (action->text() == "To Do List") action->trigger();
    }
    EXPECT_EQ(opened, 1);
}

TEST_F(FrameTest, StartUpWindowsOpenInTheirOrderWhenTheSettingsAskForThem) {
    // StartUpSchedule is stored inverted: 0 opens the schedule.
    dir.write("px98.INI", "[Settings]\nStartUpToDo=1\nStartUpContacts=1\nStartUpSchedule=0\n");
    std::vector<std::string> opened;
    for (auto [command, name] : {std::pair{FrameCommand::ViewSchedule, "schedule"},
                                 {FrameCommand::ToDoList, "to do"},
                                 {FrameCommand::ClipboardSaver, "clipboard"},
                                 {FrameCommand::Contacts, "contacts"}}) {
        frame().bind(command, [&opened, name] { opened.push_back(name); });
    }
    frame().open();
    EXPECT_EQ(opened, (std::vector<std::string>{"contacts", "to do", "schedule"}));
}

TEST_F(FrameTest, MinimisedFrameGoesToTheTrayNamesTheNextTaskAndComesBack) {
    NEED_TRAY();
    addEntries({reminderEntry("Water the plants", may6(17, 30))});
    MainFrame& f = frame();
    f.open();
    ASSERT_TRUE(processUntil([&] { return f.isVisible(); }));
    f.showMinimized();
    ASSERT_TRUE(processUntil([&] { return f.inTray() && !f.isVisible(); }))
        << "the frame did not go to the tray";
    EXPECT_TRUE(f.tray().shown());
    EXPECT_EQ(f.tray().tip(), "Plorix 98 1.7a");

    tick();
    EXPECT_EQ(f.windowTitle(), "Plorix 98 1.7a - Water the plants MAY 06,2024 5:30PM");
    EXPECT_EQ(f.tray().tip(), f.windowTitle());

    // A running script turns the icon one phase per tick.
    queueWaitingScript(f);
    std::vector<std::string> icons;
    for (int i = 0; i < 5; ++i) {
        tick();
        icons.push_back(f.tray().iconName());
    }
    EXPECT_EQ(icons,
              (std::vector<std::string>{"trayb_ico", "trayc_ico", "trayd_ico", "tray_ico", "trayb_ico"}));
    f.engine().stopScript();
    tick();
    EXPECT_EQ(f.tray().iconName(), "tray_ico");

    f.perform(FrameCommand::Restore);
    EXPECT_FALSE(f.inTray());
    EXPECT_FALSE(f.tray().shown());
    ASSERT_TRUE(processUntil([&] { return f.isVisible() && !f.isMinimized(); }));
    tick();
    EXPECT_EQ(f.windowTitle(), "Plorix 98 1.7a");
}

TEST_F(FrameTest, NoTrayKeepsTheMinimisedFrameOutOfTheTray) {
    dir.write("px98.INI", "[Settings]\nNoTray=1\n");
    MainFrame& f = frame();
    f.open();
    ASSERT_TRUE(processUntil([&] { return f.isVisible(); }));
    f.showMinimized();
    processUntil([&] { return f.isMinimized(); }, 3);
    EXPECT_FALSE(f.inTray());
    EXPECT_FALSE(f.tray().shown());
}

TEST_F(FrameTest, StartUpMinimizedGoesStraightToTheTray) {
    NEED_TRAY();
    dir.write("px98.INI", "[Settings]\nStartUpMinimized=1\n");
    std::vector<std::string> labels;
    log::eventLog().setHook([&](const log::LogEntry& entry) { labels.push_back(clip(entry.label)); });
    bool closed = false;
    frame().onClosed([&] { closed = true; });
    frame().open();
    EXPECT_TRUE(frame().inTray());
    EXPECT_FALSE(frame().isVisible());
    // "E&xit Plorix" ends the program from the tray.
    for (const TrayChoice& choice : trayChoices(false)) {
        if (choice.text == "E&xit Plorix") frame().choose(choice);
    }
    log::eventLog().setHook({});
    EXPECT_TRUE(closed);
    EXPECT_FALSE(frame().tray().shown());
    EXPECT_EQ(labels, (std::vector<std::string>{"Started", "Exit Plorix"}));
}

TEST_F(FrameTest, ClosingSavesThePositionUnderMainAndLogsTheExit) {
    MainFrame& f = frame();
    bool closed = false;
    f.onClosed([&] { closed = true; });
    f.open();
    f.setGeometry(123, 145, 700, 420);
    ASSERT_TRUE(processUntil([&] { return f.isVisible(); }));
    std::vector<std::string> labels;
    log::eventLog().setHook([&](const log::LogEntry& entry) { labels.push_back(clip(entry.label)); });
    f.close();
    log::eventLog().setHook({});
    EXPECT_TRUE(closed);
    EXPECT_EQ(labels, std::vector<std::string>{"Exit Plorix"});
    const IniFile ini((dir / "POSITION.INI").string());
    EXPECT_EQ(ini.getInt("Main", "Width"), f.geometry().width());
    EXPECT_EQ(ini.getInt("Main", "Height"), f.geometry().height());
    EXPECT_EQ(ini.getInt("Main", "XPosit"), f.geometry().x());
    EXPECT_EQ(ini.getString("Main", "Maximize"), "No");
}

TEST_F(FrameTest, ADueTaskOpensItsReminderWindowBesideTheFrame) {
    // Without the schedule browse that opens at start-up (stored inverted).
    dir.write("px98.INI", "[Settings]\nStartUpSchedule=1\n");
    addEntries({reminderEntry("Stand-up", may6(9, 0), "Meeting in room 4")});
    MainFrame& f = frame();
    f.open();
    tick();
    // The reminder opens once the tick is over, as a window of the frame's.
    QWidget* reminder = awaitProgramWindow(f);
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(reminder->windowTitle(), "Message");
    f.perform(FrameCommand::HelpContents);
    // Tiling leaves room for the window manager's frames once they are known.
    ASSERT_TRUE(processUntil([&] {
        const QList<QWidget*> windows = f.programWindows();
        return windows.size() == 2 && std::all_of(windows.begin(), windows.end(), [](QWidget* w) {
                   return w->frameGeometry() != w->geometry();
               });
    }));
    f.perform(FrameCommand::Tile);
    processUntil([] { return false; }, 0.5);
    const QRect a = f.programWindows()[0]->frameGeometry();
    const QRect b = f.programWindows()[1]->frameGeometry();
    EXPECT_FALSE(a.intersects(b)) << a.x() << "," << a.y() << " " << a.width() << "x" << a.height() << " / "
                                  << b.x() << "," << b.y() << " " << b.width() << "x" << b.height();
}

TEST(Help, SearchFindsThePagesHoldingEveryWord) {
    testApplication();
    ASSERT_GE(helpPages().size(), 6u);
    EXPECT_EQ(helpPages().front().file, "index.html");
    auto files = [](const QString& query) {
        QStringList found;
        for (const HelpPage* page : searchHelp(query)) found << page->file;
        return found.join(',');
    };
    EXPECT_EQ(files("CTRLSHIFTTAB"), "keystrokes.html");
    EXPECT_EQ(files("housekeeping TRAY"), "settings.html");
    EXPECT_EQ(files("snooze keystrokes"), "");
    EXPECT_EQ(files("   "), "");
    // Every page has a title of its own and every link leads to a page.
    for (const HelpPage& page : helpPages()) EXPECT_NE(page.title, page.file) << page.file.toStdString();
}

TEST_F(FrameTest, HelpMenuOpensContentsSearchAndHowToUseHelp) {
    MainFrame& f = frame();
    f.perform(FrameCommand::HelpContents);
    EXPECT_EQ(f.help().currentPage(), "index.html");
    EXPECT_TRUE(f.help().isVisible());
    f.perform(FrameCommand::HowToUseHelp);
    EXPECT_EQ(f.help().currentPage(), "using_help.html");
    f.perform(FrameCommand::HelpSearch);
    f.help().searchField().setText("keystrokes tray");
    ASSERT_GE(f.help().results().count(), 1);
    f.help().results().setCurrentRow(0);
    EXPECT_FALSE(f.help().browser().textCursor().selectedText().isEmpty());
}

}  // namespace
}  // namespace plorix::app::test
