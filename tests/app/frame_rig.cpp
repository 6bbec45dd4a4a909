#include "frame_rig.h"

#include <QElapsedTimer>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "log/event_log.h"
#include "settings/settings.h"

namespace plorix::app::test {

QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* created = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return created;
    }();
    return *app;
}

bool processUntil(const std::function<bool()>& done, double seconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > seconds * 1000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

QWidget* awaitProgramWindow(const MainFrame& frame) {
    QWidget* shown = nullptr;
    processUntil([&] {
        const QList<QWidget*> windows = frame.programWindows();
        shown = windows.isEmpty() ? nullptr : windows.front();
        return shown != nullptr;
    });
    return shown;
}

data::Schedule reminderEntry(const std::string& description, Moment when, const std::string& message) {
    data::Schedule entry;
    entry.SCHEDULETYPE = "Once";
    entry.TASKTYPE = "Display Message";
    entry.DESCRIPTION = description;
    entry.MESSAGE = message.empty() ? description : message;
    entry.DATE = when.date;
    entry.TIME = when.time;
    return entry;
}

void addEntries(std::initializer_list<data::Schedule> entries) {
    store::Table& table = data::processTable<data::Schedule>();
    SilentPrompter prompter;
    data::TableUse use(table, prompter);
    std::int32_t id = 1000;
    for (const data::Schedule& entry : entries) {
        table.rec<data::Schedule>() = entry;
        table.rec<data::Schedule>().ID = ++id;
        EXPECT_EQ(table.add(), store::kNoError) << entry.DESCRIPTION.str();
    }
}

FrameTest::FrameTest() : clock(Moment{makeDate(5, 6, 2024), makeTime(9, 0)}) {
    testApplication();
    settings::settings() = settings::Settings{};
    setProcessClock(&clock);
}

FrameTest::~FrameTest() {
    frame_.reset();
    data::resetProcessTables();
    data::resetUseCounts();
    settings::settings() = settings::Settings{};
    setProcessClock(nullptr);
}

MainFrame& FrameTest::frame() {
    if (!frame_) frame_ = std::make_unique<MainFrame>(prompter, clock);
    return *frame_;
}

}  // namespace plorix::app::test

// Fontconfig keeps a few blocks of its configuration until the process
// ends; the leak checker is told so rather than reporting them on every test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
