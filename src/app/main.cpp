// plorix: the desktop program.

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/bus_service.h"
#include "app/display_check.h"
#include "app/frame_bus.h"
#include "app/guarded_application.h"
#include "app/headless.h"
#include "app/main_frame.h"
#include "app/program_options.h"
#include "runtime/data_folder.h"
#include "data/process_tables.h"
#include "data/served_data.h"
#include "platform/linux/desktop_linux.h"
#include "scheduler/frame_state.h"
#include "script/command_line.h"
#include "settings/settings.h"
#include "ui/qt_prompter.h"

namespace {

void showFinalMessage(const char* text) {
    QMessageBox::critical(nullptr, QString::fromStdString(std::string(plorix::settings::kProductTitle)),
                          QString::fromUtf8(text));
}

// `problem`: why the data cannot be reached, shown instead of the frame.
int runFrame(int argc, char** argv, bool inactive, const std::string& folder, const std::string& problem) {
    using namespace plorix;
    app::GuardedApplication<QApplication> application(argc, argv, showFinalMessage);
    QApplication::setApplicationName(QString::fromStdString(std::string(settings::kProductTitle)));
    QApplication::setApplicationVersion(QString::fromStdString(std::string(settings::kVersion)));
    QApplication::setDesktopFileName(QStringLiteral("plorix"));
    if (!problem.empty()) {
        showFinalMessage(problem.c_str());
        return 1;
    }
    // The frame may be hidden in the tray with no other window open: only
    // closing the frame ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    app::BusService bus;
    if (const int handedOver = app::claimOrHandOver(bus, folder, false); handedOver >= 0) return handedOver;
    platform::LinuxDesktop desktop(script::splitCommandLine);
    ui::QtPrompter prompter;
    setProcessPrompter(&prompter);
    settings::settings().inactivated = inactive;

    int status = 0;
    try {
        app::MainFrame frame(prompter);
        prompter.setParent(&frame);
        frame.onClosed([] { QApplication::quit(); });
        bus.setHost(app::frameBusHost(frame));
        frame.onFiring([&bus](const data::Schedule& run) { bus.taskFired(run.ID, run.DESCRIPTION.str()); });
        frame.onScheduleChanged([&bus] { bus.tasksChanged(); });
        frame.open();
        status = QApplication::exec();
    } catch (const data::FatalError& e) {
        showFinalMessage(e.what());
        status = 1;
    }
    bus.setHost({});
    data::resetProcessTables();
    setProcessPrompter(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace plorix;
    const app::ProgramOptions options =
        app::parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << app::usageText();
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << "plorix: " << options.error << '\n' << app::usageText();
        return 2;
    }
    if (options.version) {
        std::cout << "plorix " << settings::kVersion << '\n';
        return 0;
    }
    const std::string folder = options.dataFolder.empty() ? defaultDataFolder() : options.dataFolder;
    if (const std::string why = enterDataFolder(folder, true); !why.empty()) {
        std::cerr << "plorix: " << why << '\n';
        return 2;
    }
    // The folder as the bus names it: where we now are, links resolved.
    const std::string here = std::filesystem::current_path().string();
    const std::string problem = data::serveDataFile(data::chosenDatabase(options.database));
    if (!problem.empty()) std::cerr << "plorix: " << problem << '\n';
    if (options.headless) return problem.empty() ? app::runHeadless(argc, argv, options.inactive, here) : 1;
    if (!app::displayReachable()) {
        const char* display = std::getenv("DISPLAY");
        std::cerr << "plorix: cannot open the X display "
                  << (display && *display ? std::string("'") + display + "'"
                                          : std::string("(DISPLAY is not set)"))
                  << "; plorix needs a graphical desktop (or use --headless)\n";
        return 1;
    }
    return runFrame(argc, argv, options.inactive, here, problem);
}
