// plorix-screenshots OUTDIR: opens the frame on a scratch data folder with
// a few tasks, then every window the frame can open (each menu command that
// is enabled), and saves a PNG of each window and of each tab it has. A
// task due a few seconds after the start adds the reminder window.
//
// New windows need no entry here: once a command is bound in the frame,
// its window is pictured.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>

#include "app/frame_commands.h"
#include "app/main_frame.h"
#include "data/process_tables.h"
#include "platform/linux/desktop_linux.h"
#include "runtime/clock.h"
#include "script/command_line.h"
#include "ui/qt_prompter.h"

namespace {

using namespace plorix;
namespace fs = std::filesystem;

QString outDir;

// Commands that arrange, stop or end rather than open a window.
bool opensAWindow(app::FrameCommand command) {
    using C = app::FrameCommand;
    switch (command) {
    case C::None: case C::Exit: case C::ExitPlorix: case C::Tile: case C::Cascade:
    case C::ArrangeIcons: case C::Restore: case C::StopScript: case C::PrintSetup:
        return false;
    default:
        return true;
    }
}

void process(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

std::string fileName(std::string_view text) {
    std::string name;
    for (char c : app::plainText(text)) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += static_cast<char>(std::tolower(c));
        else if (!name.empty() && name.back() != '_') name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name;
}

void save(QWidget& window, const std::string& name) {
    const QString path = outDir + "/" + QString::fromStdString(name) + ".png";
    if (window.grab().save(path)) std::cout << path.toStdString() << '\n';
    else std::cerr << "plorix-screenshots: could not save " << path.toStdString() << '\n';
}

// The window and each page of its first tab set.
void saveWithTabs(QWidget& window, const std::string& name) {
    save(window, name);
    auto* tabs = window.findChild<QTabWidget*>();
    if (!tabs) return;
    const int shown = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
        if (i == shown) continue;
        tabs->setCurrentIndex(i);
        process(100);
        save(window, name + "_" + fileName(tabs->tabText(i).toStdString()));
    }
    tabs->setCurrentIndex(shown);
}

std::set<QWidget*> visibleWindows() {
    std::set<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) out.insert(w);
    return out;
}

// Pictures and closes whatever the command opened (a modal dialog is
// pictured from inside its own event loop).
void pictureCommand(app::MainFrame& frame, app::FrameCommand command, const std::string& name) {
    const std::set<QWidget*> before = visibleWindows();
    bool pictured = false;
    auto pictureNew = [&] {
        for (QWidget* w : visibleWindows()) {
            if (before.count(w)) continue;
            saveWithTabs(*w, pictured ? name + "_2" : name);
            pictured = true;
            w->close();
        }
    };
    QTimer::singleShot(800, pictureNew);
    frame.perform(command);
    process(1000);
    if (!pictured) pictureNew();
}

void seedTasks(const QString& cli) {
    const auto run = [&](QStringList args) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(cli, QStringList{"-d", QDir::currentPath()} + args);
        if (!process.waitForFinished() || process.exitCode() != 0)
            std::cerr << "plorix-screenshots: plorix-cli " << args.join(' ').toStdString() << " failed\n";
    };
    const QDateTime soon = QDateTime::currentDateTime().addSecs(12);
    run({"add", "Schedule", "SCH:DESCRIPTION=Weekly report", "SCH:TASKTYPE=Display Message",
         "SCH:SCHEDULETYPE=Day of Week", "SCH:MONDAY=1", "SCH:FRIDAY=1",
         "SCH:DATE=" + soon.date().toString(Qt::ISODate), "SCH:TIME=" + soon.time().toString("HH:mm:ss"),
         "SCH:CATEGORY=WORK", "SCH:MESSAGE=Send the weekly report to the team."});
    run({"add", "Schedule", "SCH:DESCRIPTION=Back up the documents", "SCH:TASKTYPE=Run Program",
         "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=1", "SCH:EVERYTYPE=day(s)", "SCH:DATE=" + soon.date().addDays(1).toString(Qt::ISODate), "SCH:TIME=18:00",
         "SCH:COMMAND=rsync -a Documents backup/"});
    run({"add", "Todo", "TDO:TODO=Renew the domain", "TDO:PRIORITY=2"});
    run({"settings", "LogEvents", "1"});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: plorix-screenshots OUTDIR\n";
        return 2;
    }
    outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outDir);
    const QString cli = QString::fromStdString((fs::path(argv[0]).parent_path() / "plorix-cli").string());
    const fs::path folder = fs::temp_directory_path() / ("plorix-screenshots-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::current_path(folder);

    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    seedTasks(cli);
    platform::LinuxDesktop desktop(script::splitCommandLine);
    ui::QtPrompter prompter;
    setProcessPrompter(&prompter);
    int status = 0;
    {
        app::MainFrame frame(prompter);
        prompter.setParent(&frame);
        frame.open();
        process(1500);
        save(frame, "frame");
        // The reminder of the task due a few seconds after the start (it
        // may have opened already).
        const std::set<QWidget*> before;
        QElapsedTimer waited;
        waited.start();
        bool reminded = false;
        while (!reminded && waited.elapsed() < 25000) {
            process(200);
            for (QWidget* w : visibleWindows()) {
                if (before.count(w) || w == &frame || w->windowType() == Qt::ToolTip) continue;
                save(*w, "reminder");
                w->close();
                reminded = true;
            }
        }
        if (!reminded) {
            std::cerr << "plorix-screenshots: no reminder window appeared\n";
            status = 1;
        }
        std::set<app::FrameCommand> done;
        for (const app::MenuItem& item : app::menuItems()) {
            if (!opensAWindow(item.command) || done.count(item.command) || !frame.canPerform(item.command)) continue;
            done.insert(item.command);
            pictureCommand(frame, item.command, fileName(item.text));
        }
        frame.hide();
    }
    data::resetProcessTables();
    setProcessPrompter(nullptr);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
    return status;
}
