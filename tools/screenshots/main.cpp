// plorix-screenshots OUTDIR: opens the frame on a scratch data folder with
// a few tasks, then every window the frame can open (each menu command that
// is enabled), and saves a PNG of each window and of each tab it has. A
// task due a few seconds after the start adds the reminder window.
//
// New windows need no entry here: once a command is bound in the frame,
// its window is pictured.

#include <QApplication>
#include <QPdfWriter>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>
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
#include "reports/report_run.h"
#include "runtime/clock.h"
#include "script/command_line.h"
#include "ui/browses/browse_categories.h"
#include "ui/browses/browse_clipboard.h"
#include "ui/browses/browse_holidays.h"
#include "ui/browses/browse_schedule.h"
#include "ui/browses/browse_window_lookup.h"
#include "ui/browses/view_todo.h"
#include "ui/qt_prompter.h"

namespace {

using namespace plorix;
namespace fs = std::filesystem;

QString outDir;

// Commands that arrange, stop or end rather than open a window.
bool opensAWindow(app::FrameCommand command) {
    using C = app::FrameCommand;
    switch (command) {
    case C::None:
    case C::Exit:
    case C::ExitPlorix:
    case C::Tile:
    case C::Cascade:
    case C::ArrangeIcons:
    case C::Restore:
    case C::StopScript:
    case C::PrintSetup: return false;
    default: return true;
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
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += static_cast<char>(std::tolower(c));
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name;
}

void save(QWidget& window, const std::string& name) {
    const QString path = outDir + "/" + QString::fromStdString(name) + ".png";
    if (window.grab().save(path))
        std::cout << path.toStdString() << '\n';
    else
        std::cerr << "plorix-screenshots: could not save " << path.toStdString() << '\n';
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

// The first page of every report, through a PDF file as the preview saves
// it, turned into a PNG by pdftoppm.
void pictureReports(Prompter& prompter) {
    using reports::ReportId;
    for (const ReportId id : {ReportId::BriefSchedule, ReportId::ScheduleByDate, ReportId::ScheduleByCategory,
                              ReportId::OneCategory, ReportId::CategoryList, ReportId::Contacts,
                              ReportId::TodoByPriority, ReportId::TodoByCategory}) {
        reports::ReportRequest request =
            id == ReportId::OneCategory ? reports::oneCategoryRequest("WORK") : reports::requestFor(id);
        const auto pages = reports::reportPages(request, prompter);
        const std::string name = "report_" + std::to_string(static_cast<int>(id));
        const QString pdf = outDir + "/" + QString::fromStdString(name) + ".pdf";
        {
            QPdfWriter writer(pdf);
            if (!reports::printPages(writer, pages, {0})) {
                std::cerr << "plorix-screenshots: " << name << " has no page\n";
                continue;
            }
        }
        QProcess::execute("pdftoppm", {"-png", "-r", "80", "-f", "1", "-l", "1", "-singlefile", pdf,
                                       outDir + "/" + QString::fromStdString(name)});
        QFile::remove(pdf);
        std::cout << (outDir + "/" + QString::fromStdString(name)).toStdString() << ".png\n";
    }
}

// Pictures the modal dialog `open` brings up, acting in it first with
// `inside` (which may picture dialogs of its own), then closes it.
void pictureModal(const std::string& name, const std::function<void()>& open,
                  const std::function<void(QWidget&)>& inside = {}) {
    QTimer::singleShot(800, [name, inside] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            std::cerr << "plorix-screenshots: no window for " << name << '\n';
            return;
        }
        saveWithTabs(*modal, name);
        if (inside) inside(*modal);
        modal->close();
    });
    open();
    process(200);
}

// A control of a window by the name a screen reader gives it.
template <typename Widget>
Widget* named(QWidget& window, const QString& name) {
    for (Widget* w : window.findChildren<Widget*>())
        if (w->accessibleName() == name) return w;
    return nullptr;
}

// The dialogs the schedule windows open: the entry form with its
// exceptions and calendar, the holidays and their form, a category's form
// and the category picker.
void pictureScheduleDialogs(app::MainFrame& frame) {
    frame.perform(app::FrameCommand::ViewSchedule);
    process(500);
    auto* browse = frame.findChild<ui::BrowseSchedule*>();
    if (!browse) return;
    pictureModal(
        "schedule_form", [browse] { browse->insertRecord(); },
        [](QWidget& form) {
            if (auto* except = named<QPushButton>(form, "Except")) {
                pictureModal("schedule_exceptions", [except] {
                    except->setVisible(true);
                    except->click();
                });
            }
            if (auto* calendar = named<QToolButton>(form, "Next Date to Perform Task calendar"))
                pictureModal("calendar", [calendar] { calendar->click(); });
        });
    pictureModal("select_category", [browse] { named<QPushButton>(*browse, "Pick Category")->click(); });
    browse->close();
    auto* holidays = new ui::BrowseHolidays(processPrompter(), &frame);
    holidays->show();
    process(300);
    save(*holidays, "browse_holidays");
    pictureModal("update_holidays", [holidays] { holidays->insertRecord(); });
    holidays->close();
    frame.perform(app::FrameCommand::ScheduleCategories);
    process(300);
    if (auto* categories = frame.findChild<ui::BrowseCategories*>()) {
        pictureModal("update_categories", [categories] { categories->insertRecord(); });
        categories->close();
    }
}

// The to-do list on its category tab with a category picked, and the
// item form with each of its tabs.
void pictureTodoDialogs(app::MainFrame& frame) {
    frame.perform(app::FrameCommand::ToDoList);
    process(500);
    auto* list = frame.findChild<ui::ViewTodo*>();
    if (!list) return;
    list->setCategory(QStringLiteral("HOME"));
    process(300);
    save(*list, "to_do_list_category");
    pictureModal("to_do_form", [list] { list->insertRecord(); });
    list->close();
}

// The clipboard history with an entry viewed, and the window-title log
// with its form (the log opens from the About box while the window
// monitor is on; here it is opened directly).
void pictureOrganiserLogs(app::MainFrame& frame, const Clock& clock) {
    frame.perform(app::FrameCommand::ClipboardSaver);
    process(500);
    if (auto* history = frame.findChild<ui::BrowseClipboard*>()) {
        history->view().selectRow(0);
        pictureModal("clipboard_record", [history] { history->changeRecord(); });
        history->setTab(ui::BrowseClipboard::ContentTab);
        process(200);
        save(*history, "clipboard_saver_by_content");
        history->close();
    }
    auto* log = ui::openBrowseWindowLookup(clock, processPrompter(), &frame);
    process(300);
    save(*log, "window_lookup");
    pictureModal("window_lookup_form", [log] { log->insertRecord(); });
    log->close();
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
         "SCH:SCHEDULETYPE=Custom", "SCH:EVERY=1", "SCH:EVERYTYPE=day(s)",
         "SCH:DATE=" + soon.date().addDays(1).toString(Qt::ISODate), "SCH:TIME=18:00",
         "SCH:COMMAND=rsync -a Documents backup/"});
    run({"add", "Todo", "TDO:TODO=Renew the domain", "TDO:PRIORITY=2"});
    run({"add", "Todo", "TDO:TODO=Water the plants", "TDO:PRIORITY=1", "TDO:CATEGORY=HOME"});
    run({"add", "Categories", "CAT:CATEGORY=WORK"});
    run({"add", "Categories", "CAT:CATEGORY=HOME"});
    run({"add", "Contact", "C_:CLIENTID=1", "C_:LASTNAME=Lovelace", "C_:FIRSTNAME=Ada",
         "C_:EMAIL=ada@example.org"});
    run({"add", "Clipboard", "CLI:CLIPCONTENTS=Minutes of the Tuesday meeting, second draft",
         "CLI:CLIPHASHKEY=MINUTESOFTHETUESDAYMEETINGSECONDDRAFT",
         "CLI:CLIPDATE=" + soon.date().toString(Qt::ISODate), "CLI:CLIPTIME=09:12"});
    run({"add", "Clipboard",
         "CLI:CLIPCONTENTS=See https://example.org and http://example.org/agenda for details",
         "CLI:CLIPHASHKEY=SEEHTTPSEXAMPLEORGANDHTTPEXAMPLEORGAGEND",
         "CLI:CLIPDATE=" + soon.date().toString(Qt::ISODate), "CLI:CLIPTIME=09:30"});
    run({"add", "Clipboard", "CLI:CLIPCONTENTS=Account number 1234 5678 - keep",
         "CLI:CLIPHASHKEY=ACCOUNTNUMBERKEEP", "CLI:CLIPKEEP=1",
         "CLI:CLIPDATE=" + soon.date().addDays(-3).toString(Qt::ISODate), "CLI:CLIPTIME=16:45"});
    for (const char* title : {"Untitled - Text Editor", "Inbox - Mail", "Terminal"})
        run({"add", "WindowLookup", QStringLiteral("WL:TITLE=") + title,
             "WL:DATE=" + soon.date().toString(Qt::ISODate), "WL:TIME=08:05"});
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
    const QString cli = QString::fromStdString((fs::absolute(argv[0]).parent_path() / "plorix-cli").string());
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
                if (qobject_cast<ui::BrowseWindow*>(w)) continue;  // opened at start-up
                save(*w, "reminder");
                w->close();
                reminded = true;
            }
        }
        if (!reminded) {
            std::cerr << "plorix-screenshots: no reminder window appeared\n";
            status = 1;
        }
        // Each command below opens its window afresh.
        for (QWidget* w : visibleWindows())
            if (w != &frame) w->close();
        process(300);
        std::set<app::FrameCommand> done;
        for (const app::MenuItem& item : app::menuItems()) {
            if (!opensAWindow(item.command) || done.count(item.command) || !frame.canPerform(item.command))
                continue;
            done.insert(item.command);
            pictureCommand(frame, item.command, fileName(item.text));
        }
        pictureReports(prompter);
        pictureScheduleDialogs(frame);
        pictureTodoDialogs(frame);
        pictureOrganiserLogs(frame, processClock());
        frame.hide();
    }
    data::resetProcessTables();
    setProcessPrompter(nullptr);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
    return status;
}
