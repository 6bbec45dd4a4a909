#include "app/headless.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <csignal>
#include <iostream>

#include "app/bus_service.h"
#include "app/guarded_application.h"
#include "app/notices.h"
#include "app/reminder_notices.h"
#include "app/scheduler_engine.h"
#include "app/tick_driver.h"
#include "data/fatal_error.h"
#include "data/process_tables.h"
#include "log/event_log.h"
#include "platform/desktop.h"
#include "platform/linux/desktop_linux.h"
#include "scheduler/frame_state.h"
#include "scheduler/reminder.h"
#include "script/command_line.h"
#include "settings/settings.h"
#include "store/served_files.h"

namespace plorix::app {

namespace {

// SIGINT and SIGTERM end the event loop through this pair, so the program
// closes its tables and logs its exit as when the frame closes.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[0], &byte, 1);
}

class Headless {
public:
    explicit Headless(BusService& bus)
        : bus_(bus),
          notices_(std::cout),
          prompter_(notices_),
          engine_(
              processClock(), prompter_,
              {.showReminder = [this](const auto& handOver, auto kind) { showReminder(handOver, kind); },
               .firing = [this](const data::Schedule& run) { bus_.taskFired(run.ID, run.DESCRIPTION.str()); },
               .scheduleChanged = [this] { bus_.tasksChanged(); }}),
          driver_(engine_, {},
                  [](const scheduler::TickReport& report) {
                      // Nobody is there to mend the file while a service runs on:
                      // the failure has been told, the program ends with it. A
                      // server out of reach is no damage: it was told once, and
                      // the next ticks try again, as the frame's do.
                      if (!report.failure.ok() && !store::connectionLost(report.failure))
                          QCoreApplication::exit(1);
                  }),
          services_{processClock(), prompter_, settings::settings(), *platform::desktop().sound,
                    [this](std::int32_t id, std::string_view command, std::string_view folder) {
                        engine_.startProgram(id, command, folder);
                    }},
          reminders_(services_) {}

    int run() {
        bus_.setHost({.runNow = [this](const data::Schedule& entry) { engine_.runNow(entry); },
                      .quit = [] { QCoreApplication::quit(); }});
        log::logEvent(scheduler::productTitle(), "Started");
        driver_.sleepWhenIdle(QDir::currentPath());
        driver_.start();
        const int status = QCoreApplication::exec();
        driver_.stop();
        log::logEvent("", "Exit Plorix");
        bus_.setHost({});
        return status;
    }

private:
    void showReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind) {
        if (kind == scheduler::ReminderKind::WithReplyPath) {
            scheduler::showMessageWithReplyPath(handOver, services_);
        } else {
            const scheduler::ReminderDisplay display = scheduler::showMessage(handOver, services_);
            // The plain box and the external program have shown it already.
            if (display == scheduler::ReminderDisplay::PlainBox ||
                display == scheduler::ReminderDisplay::External)
                return;
            // With Snooze and Close, as the reminder window offers them.
            if (reminders_.show(handOver)) return;
        }
        notices_.tell(handOver.title, handOver.text);
    }

    BusService& bus_;
    Notices notices_;
    NoticePrompter prompter_;
    SchedulerEngine engine_;
    TickDriver driver_;
    scheduler::ReminderServices services_;
    ReminderNotices reminders_;
};

}  // namespace

int runHeadless(int argc, char** argv, bool inactive, const std::string& folder) {
    GuardedApplication<QCoreApplication> app(
        argc, argv, [](const char* text) { std::cerr << "plorix: " << text << std::endl; });
    QCoreApplication::setApplicationName(QString::fromStdString(scheduler::productTitle()));
    BusService bus;
    if (const int handedOver = claimOrHandOver(bus, folder, true); handedOver >= 0) return handedOver;
    platform::LinuxDesktop desktop(script::splitCommandLine);
    settings::settings().inactivated = inactive;

    if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return 1;
    QSocketNotifier notifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    int status = 0;
    try {
        Headless headless(bus);
        status = headless.run();
    } catch (const data::FatalError& e) {
        std::cerr << "plorix: " << e.what() << std::endl;
        status = 1;
    }
    data::resetProcessTables();
    return status;
}

}  // namespace plorix::app
