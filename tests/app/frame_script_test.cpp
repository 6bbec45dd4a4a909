// The script editor as the frame opens it, on the test desktop: a script
// written by keyboard and test-run types into our small Qt window through
// the frame's queue; "&Scripting" of the schedule windows opens the editor;
// the window picker takes the title of the window clicked, and the texts
// of its controls.

#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "frame_rig.h"
#include "platform/linux/atspi_controls.h"
#include "platform/linux/desktop_linux.h"
#include "program_child.h"
#include "script/command_line.h"
#include "support/run_process.h"
#include "ui/kit/record_table_model.h"
#include "ui/script/browse_script.h"
#include "ui/script/update_scripting.h"
#include "ui/script/window_picking.h"

namespace plorix::app::test {
namespace {

#define NEED_TEST_DESKTOP()                       \
    const char* display = std::getenv("DISPLAY"); \
    if (!display || !*display) GTEST_SKIP() << "needs the test desktop (scripts/with-desktop)"

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

QPushButton* named(QWidget& window, const QString& name) {
    for (QPushButton* b : window.findChildren<QPushButton*>())
        if (b->accessibleName() == name) return b;
    return nullptr;
}

std::string uniqueTitle(const char* prefix) { return prefix + std::to_string(::getpid()); }

// Runs `act` on the next modal window once it shows.
void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start(20);
}

// Adds one item through the form as a keyboard user does: the action's
// radio by Space, the fields typed, Enter for OK.
void addItemByKeyboard(ui::BrowseScript& list, const QString& action,
                       std::vector<std::pair<QString, QString>> fields) {
    bool filled = false;
    whenModal([&](QWidget* modal) {
        auto* form = qobject_cast<ui::UpdateScripting*>(modal);
        ASSERT_NE(form, nullptr);
        for (QRadioButton* radio : form->findChildren<QRadioButton*>())
            if (radio->accessibleName() == action) {
                form->families().setCurrentWidget(radio->parentWidget());
                radio->setFocus();
                QTest::keyClick(radio, Qt::Key_Space);
            }
        QLineEdit* last = nullptr;
        for (const auto& [name, text] : fields)
            for (QLineEdit* line : form->findChildren<QLineEdit*>())
                if (line->accessibleName() == name && line->isVisibleTo(form)) {
                    line->setFocus();
                    QTest::keyClicks(line, text);
                    last = line;
                }
        filled = form->action() == action && last;
        QTest::keyClick(last ? static_cast<QWidget*>(last) : form, Qt::Key_Return);
    });
    QTest::keyClick(&list.view(), Qt::Key_Insert);
    EXPECT_TRUE(filled) << action.toStdString();
}

TEST_F(FrameTest, AScriptWrittenByKeyboardAndTestRunTypesIntoTheTestWindow) {
    NEED_TEST_DESKTOP();
    platform::LinuxDesktop desktop(script::splitCommandLine);
    addEntries({reminderEntry("Type into the test window", {makeDate(5, 6, 2024), makeTime(18, 0)})});
    MainFrame& f = frame();
    f.open();
    const std::string title = uniqueTitle("plorix-script-run-");
    const std::string typed = (dir / "typed.txt").string();
    const QString command = QString::fromStdString("/bin/sh -c \"exec '" + std::string(PLORIX_TESTAPP) +
                                                   "' --title " + title + " > '" + typed + "'\"");

    auto* list = new ui::BrowseScript(f.scriptServices(), 1001, &f);
    list->show();
    addItemByKeyboard(*list, "Start Program", {{"Command", command}});
    addItemByKeyboard(*list, "Wait", {{"Wait For Window", QString::fromStdString(title)}});
    addItemByKeyboard(*list, "Send Keystrokes", {{"Keystrokes", "hello[ENTER]"}});
    ASSERT_EQ(list->itemCount(), 3);
    EXPECT_EQ(list->model().data(list->model().index(1, 1), Qt::DisplayRole).toString().toStdString(), title);

    named(*list, "Test Run")->click();
    EXPECT_TRUE(processUntil([&] { return list->isMinimized(); }, 3));  // the keys are not for the editor
    // The frame's timer steps the queue; the test moves its clock along.
    const bool arrived = processUntil(
        [&] {
            clock.advance(50);
            tick();
            return readFile(typed).find("text:hello") != std::string::npos;
        },
        30);
    EXPECT_TRUE(arrived) << readFile(typed);
    processUntil([&] {
        clock.advance(50);
        tick();
        return !f.engine().scriptRunning();
    });
    EXPECT_TRUE(processUntil([&] { return !list->isMinimized(); }, 5));  // back once the run is over
    for (const platform::WindowInfo& w : platform::desktop().windows->topLevelWindows())
        if (w.title == title) platform::desktop().windows->close(w.id);
    list->close();
}

TEST_F(FrameTest, ScriptingOfTheScheduleWindowsOpensTheEditorOfThatTask) {
    addEntries({reminderEntry("Scripted", {makeDate(5, 6, 2024), makeTime(18, 0)})});
    MainFrame& f = frame();
    ASSERT_TRUE(f.scheduleServices().scripting);
    QString opened;
    whenModal([&](QWidget* modal) {
        opened = modal->windowTitle();
        modal->close();
    });
    f.scheduleServices().scripting(&f, 1001);
    EXPECT_EQ(opened, "Script Items - Scripted");
}

TEST_F(FrameTest, TheWindowPickerTakesTheTitleOfTheWindowClicked) {
    NEED_TEST_DESKTOP();
    platform::LinuxDesktop desktop(script::splitCommandLine);
    const std::string title = uniqueTitle("plorix-pick-");
    ProgramChild app({PLORIX_TESTAPP, "--title", title});
    platform::WindowId id = platform::kNoWindow;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const platform::WindowInfo& w : platform::desktop().windows->topLevelWindows())
                if (w.title == title) id = w.id;
            return id != platform::kNoWindow;
        },
        15));
    platform::desktop().windows->activate(id);
    // The click comes once the picker holds the pointer.
    QTimer::singleShot(700, [id] {
        plorix::test::runProcess(
            {"/usr/bin/xdotool", "mousemove", "--window", std::to_string(id), "30", "30", "click", "1"});
    });
    const std::optional<QString> picked = ui::clickedWindowTitle(nullptr);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->toStdString(), title);
    // Another button takes nothing.
    QTimer::singleShot(700, [id] {
        plorix::test::runProcess(
            {"/usr/bin/xdotool", "mousemove", "--window", std::to_string(id), "30", "30", "click", "3"});
    });
    EXPECT_FALSE(ui::clickedWindowTitle(nullptr).has_value());
    // The child-text picker offers what the window shows (its button), once
    // the window has told the accessibility bus.
    if (platform::AtspiControls::available()) {
        EXPECT_TRUE(
            waitFor([&] { return ui::childTexts(QString::fromStdString(title)).contains("Cancel"); }, 10));
    }
    platform::desktop().windows->close(id);
}

}  // namespace
}  // namespace plorix::app::test
