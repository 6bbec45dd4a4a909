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
#include "data/schedule_search.h"
#include "platform/linux/desktop_linux.h"
#include "reports/report_run.h"
#include "runtime/clock.h"
#include "script/command_line.h"
#include "ui/browses/browse_categories.h"
#include "ui/browses/browse_clipboard.h"
#include "ui/browses/browse_holidays.h"
#include "ui/browses/browse_schedule.h"
#include "ui/browses/browse_schedule_category.h"
#include "ui/forms/qbe_dialogs.h"
#include "ui/forms/schedule_wizard.h"
#include "ui/forms/search_schedule.h"
#include "ui/kit/record_table_model.h"
#include "ui/pickers/select_schedule.h"
#include "ui/browses/browse_window_lookup.h"
#include "ui/browses/view_todo.h"
#include "ui/browses/browse_contacts.h"
#include "ui/browses/browse_messages.h"
#include "ui/qt_prompter.h"
#include "ui/script/browse_script.h"
#include "ui/script/update_scripting.h"

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

// A wizard's pages, walked with its own "&Next ->" button.
bool saveWizardPages(QWidget& window, const std::string& name) {
    auto* tabs = window.findChild<QTabWidget*>();
    QPushButton* next = nullptr;
    for (auto* b : window.findChildren<QPushButton*>())
        if (b->accessibleName() == "Next") next = b;
    if (!tabs || !next) return false;
    while (next->isVisible()) {
        next->click();
        process(100);
        save(window, name + "_" + fileName(tabs->tabText(tabs->currentIndex()).toStdString()));
    }
    return true;
}

// The window and each page of its first tab set.
void saveWithTabs(QWidget& window, const std::string& name) {
    save(window, name);
    if (saveWizardPages(window, name)) return;
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
    pictureModal("reschedule_wizard", [browse] { named<QPushButton>(*browse, "Reschedule")->click(); });
    pictureModal("reply_wizard", [&frame] {
        ui::replyWithWizard(&frame, frame.scheduleServices(), QDir::currentPath().toStdString());
    });
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

// The schedule's search with its dialogs, the "Selected" tab the tags
// fill, the task picker and the tasks of one category.
void pictureSearchWindows(app::MainFrame& frame) {
    frame.perform(app::FrameCommand::ViewSchedule);
    process(500);
    auto* browse = frame.findChild<ui::BrowseSchedule*>();
    if (!browse) return;
    pictureModal(
        "search_schedule", [browse] { named<QPushButton>(*browse, "Search")->click(); },
        [](QWidget& window) {
            auto& search = static_cast<ui::SearchSchedule&>(window);
            search.control("SCH:DATE")->setFocus();
            pictureModal("search_match_type",
                         [&search] { named<QPushButton>(search, "Search Type")->click(); });
            pictureModal("search_upper_limit", [&search] { ui::askUpperLimit(&search, "4", ""); });
            pictureModal("search_begin", [&search] { ui::askNextStep(&search); });
        });
    data::setTag(processPrompter(), data::kScheduleTags, 1);
    browse->setTab(ui::BrowseSchedule::SelectedTab);
    process(300);
    save(*browse, "view_schedule_selected");
    browse->close();
    pictureModal("select_task", [] { ui::selectSchedule(processPrompter()); });
    frame.perform(app::FrameCommand::ScheduleCategories);
    process(300);
    if (auto* categories = frame.findChild<ui::BrowseCategories*>()) {
        categories->view().selectRow(1);  // WORK, which has tasks
        named<QPushButton>(*categories, "Schedule")->click();
        process(300);
        if (auto* tasks = frame.findChild<ui::BrowseScheduleCategory*>()) {
            save(*tasks, "browse_schedule_by_category");
            tasks->close();
        }
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

// The script editor of the first task: its list, the item form on the
// pages of several actions, the dialogs its pages open and the key list.
void pictureScriptEditor(app::MainFrame& frame, Prompter& prompter) {
    static ui::ScriptEditorServices services{prompter, processClock(), {}, {}};
    auto* list = new ui::BrowseScript(services, 1, &frame);
    list->show();
    process(500);
    save(*list, "browse_script");
    pictureModal(
        "script_item_form", [list] { list->insertRecord(); },
        [](QWidget& window) {
            auto& form = static_cast<ui::UpdateScripting&>(window);
            for (const char* action : {"Wait", "Start Program", "If Window...", "File Actions", "Send Email",
                                       "Display Message", "Exit Script"}) {
                form.chooseAction(QString::fromLatin1(action));
                process(100);
                save(form, "script_item_" + fileName(action));
            }
            // Several pages have an "Advanced" button: the one shown is pressed.
            const auto pressAdvanced = [&form](const char* action, const std::string& name) {
                form.chooseAction(QString::fromLatin1(action));
                process(100);
                for (QPushButton* b : form.findChildren<QPushButton*>())
                    if (b->accessibleName() == "Advanced" && b->isVisible())
                        pictureModal(name, [b] { b->click(); });
            };
            pressAdvanced("Start Program", "script_start_advanced");
            pressAdvanced("Wait", "script_child_text");
            form.chooseAction(QStringLiteral("Send Keystrokes"));
            pictureModal("script_key_list",
                         [&form] { named<QPushButton>(form, "View List of Abbreviations")->click(); });
        });
    pictureModal("script_print", [list] { list->printItems(); });
    list->close();
}

// The address book's and the messages' dialogs: the contact form with its
// tabs and the link form, the category picker, the message form (a mass
// mailing too) and the message picker of the script editor.
void pictureOrganiserDialogs(app::MainFrame& frame) {
    frame.perform(app::FrameCommand::Contacts);
    process(500);
    if (auto* contacts = frame.findChild<ui::BrowseContacts*>()) {
        pictureModal(
            "contact_form", [contacts] { contacts->changeRecord(); },
            [](QWidget& form) {
                if (auto* insert = named<QPushButton>(form, "Insert"))
                    pictureModal("link_form", [insert] { insert->click(); });
            });
        contacts->setCategory(QStringLiteral("Friends"));
        process(300);
        save(*contacts, "contacts_category");
        pictureModal("select_contact_category",
                     [contacts] { named<QPushButton>(*contacts, "Pick")->click(); });
        contacts->close();
    }
    frame.perform(app::FrameCommand::EmailMessages);
    process(500);
    if (auto* messages = frame.findChild<ui::BrowseMessages*>()) {
        pictureModal("message_form", [messages] { messages->changeRecord(); });
        messages->setTab(ui::BrowseMessages::ControlsTab);
        process(300);
        save(*messages, "email_messages_controls");
        messages->close();
    }
    pictureModal("select_message", [&frame] { ui::selectMessage(processPrompter(), &frame); });
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
    run({"add", "ContactCategories", "CC:CONTACTCATEGORY=Friends"});
    run({"add", "Contact", "C_:CLIENTID=2", "C_:LASTNAME=Hopper", "C_:FIRSTNAME=Grace",
         "C_:EMAIL=grace@example.org", "C_:CONTACTCATEGORY=Friends", "C_:WORKDAYPHONE=555-0100"});
    run({"add", "Link", "L:ID=1", "L:CLIENTID=2"});
    run({"add", "Messages", "M_:EMAILID=1", "M_:MAILTYPE=Email", "M_:EMAILTO=ada@example.org",
         "M_:EMAILTONAME=Ada Lovelace", "M_:SUBJECT=Minutes of the meeting",
         "M_:MESSAGE=The minutes are attached."});
    run({"add", "Messages", "M_:EMAILID=2", "M_:MAILTYPE=Mass Mailing", "M_:EMAILTO=N/A",
         "M_:EMAILTOGROUP=Friends", "M_:SUBJECT=Summer party"});
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
    run({"add", "Scripting", "SCR:ID=1", "SCR:SEQUENCE=1", "SCR:ACTION=Start Program", "SCR:COMMAND=xterm"});
    run({"add", "Scripting", "SCR:ID=1", "SCR:SEQUENCE=2", "SCR:ACTION=Wait", "SCR:WAITFORWINDOW=xterm*",
         "SCR:SECONDSTOWAIT=5", "SCR:DDEAPPLICATIONNAME=Or"});
    run({"add", "Scripting", "SCR:ID=1", "SCR:SEQUENCE=3", "SCR:ACTION=Send Keystrokes",
         "SCR:KEYSTROKES=ls -l[ENTER]"});
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
        std::set<std::string> names;
        for (const app::MenuItem& item : app::menuItems()) {
            if (!opensAWindow(item.command) || done.count(item.command) || !frame.canPerform(item.command))
                continue;
            done.insert(item.command);
            // Two menus may hold items of one name (Browse and Reports "&Contacts").
            std::string name = fileName(item.text);
            if (!names.insert(name).second) names.insert(name = fileName(item.menu) + "_" + name);
            pictureCommand(frame, item.command, name);
        }
        pictureReports(prompter);
        pictureScheduleDialogs(frame);
        pictureTodoDialogs(frame);
        pictureOrganiserDialogs(frame);
        pictureSearchWindows(frame);
        pictureScriptEditor(frame, prompter);
        pictureOrganiserLogs(frame, processClock());
        frame.hide();
    }
    data::resetProcessTables();
    setProcessPrompter(nullptr);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
    return status;
}
