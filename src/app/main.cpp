// plorix: the desktop program.

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/display_check.h"
#include "app/main_frame.h"
#include "data/fatal_error.h"
#include "data/process_tables.h"
#include "settings/settings.h"
#include "ui/qt_prompter.h"

namespace {

struct Options {
    std::string dataFolder;
    bool inactive = false;
};

bool parseArguments(int argc, char** argv, Options& options) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-d" && i + 1 < args.size()) {
            options.dataFolder = args[++i];
        } else if (plorix::settings::isInactiveSwitch(args[i])) {
            options.inactive = true;
        } else if (args[i] == "-h" || args[i] == "--help") {
            std::cout << "usage: plorix [-d DIR] [/I]\n"
                         "  -d DIR   use DIR as the data folder (default: the working directory)\n"
                         "  /I       start with the scheduler inactive\n";
            return false;
        }
        // Arguments Qt understands (-platform, -style ...) are left to it.
    }
    return true;
}

// Ends the program with the final message of a data-file failure, wherever
// in the event loop it happens.
class PlorixApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const plorix::data::FatalError& e) {
            showFinalMessage(e.what());
            std::exit(1);
        }
    }
    static void showFinalMessage(const char* text) {
        QMessageBox::critical(nullptr, QStringLiteral("Plorix 98"), QString::fromUtf8(text));
    }
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArguments(argc, argv, options)) return 0;
    if (!options.dataFolder.empty() && chdir(options.dataFolder.c_str()) != 0) {
        std::cerr << "plorix: cannot use data folder " << options.dataFolder << ": "
                  << std::strerror(errno) << '\n';
        return 2;
    }
    if (!plorix::app::displayReachable()) {
        const char* display = std::getenv("DISPLAY");
        std::cerr << "plorix: cannot open the X display "
                  << (display && *display ? std::string("'") + display + "'" : std::string("(DISPLAY is not set)"))
                  << "; plorix needs a graphical desktop\n";
        return 1;
    }
    PlorixApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plorix 98"));
    QApplication::setApplicationVersion(QStringLiteral("1.7a"));
    plorix::ui::QtPrompter prompter;
    plorix::setProcessPrompter(&prompter);
    plorix::settings::settings().inactivated = options.inactive;

    int status = 0;
    try {
        plorix::app::MainFrame frame(prompter);
        prompter.setParent(&frame);
        frame.show();
        status = QApplication::exec();
    } catch (const plorix::data::FatalError& e) {
        PlorixApplication::showFinalMessage(e.what());
        status = 1;
    }
    plorix::data::resetProcessTables();
    plorix::setProcessPrompter(nullptr);
    return status;
}
