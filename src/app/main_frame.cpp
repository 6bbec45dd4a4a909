#include "app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QStyle>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "app/about_box.h"
#include "app/help_key.h"
#include "app/exchange_commands.h"
#include "app/organiser_commands.h"
#include "app/window_arrangement.h"
#include "messages/show_reminder.h"
#include "platform/desktop.h"
#include "log/event_log.h"
#include "scheduler/frame_state.h"
#include "settings/settings.h"
#include "ui/browses/browse_categories.h"
#include "ui/forms/schedule_wizard.h"
#include "ui/browses/browse_clipboard.h"
#include "ui/browses/browse_holidays.h"
#include "ui/browses/browse_schedule.h"
#include "ui/browses/browse_schedule_category.h"
#include "ui/browses/browse_window_lookup.h"
#include "ui/browses/view_todo.h"
#include "ui/frame_printer.h"
#include "ui/script/script_editor.h"
#include "ui/setup_window.h"
#include "ui/view_log_window.h"
#include "ui/window_geometry.h"
#include "ui/qt_text.h"

namespace plorix::app {

namespace {

using ui::qs;

// The section of POSITION.INI that holds the frame's place.
constexpr std::string_view kPositionSection = "Main";

}  // namespace

MainFrame::MainFrame(Prompter& prompter, const Clock& clock, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter) {
    engine_ = std::make_unique<SchedulerEngine>(clock, prompter_, frontEnd());
    reminderServices_.reset(new scheduler::ReminderServices{
        clock, prompter_, settings::settings(), *platform::desktop().sound,
        [this](std::int32_t id, std::string_view command, std::string_view folder) {
            engine_->startProgram(id, command, folder);
        },
        [this] { todoLists_.notifyAll(); }});
    reminderNotices_ = new ReminderNotices(*reminderServices_, this);
    qApp->installEventFilter(new HelpKey([this](const QString& page) { help().showPage(page); }, this));
    setWindowTitle(qs(engine_->state().title));
    const QIcon logo(QStringLiteral(":/icons/plorix.svg"));
    setWindowIcon(logo);
    auto* middle = new QLabel(this);
    middle->setPixmap(logo.pixmap(96, 96, QIcon::Disabled));
    middle->setAlignment(Qt::AlignCenter);
    setCentralWidget(middle);

    tray_ = new FrameTray({.scriptRunning = [this] { return engine_->scriptRunning(); },
                           .enabled = [this](FrameCommand command) { return canPerform(command); },
                           .choose = [this](const TrayChoice& choice) { choose(choice); },
                           .restore = [this] { restoreFromTray(); }},
                          this);
    scriptServices_.reset(
        new ui::ScriptEditorServices{.prompter = prompter_,
                                     .clock = clock,
                                     .testRun =
                                         [this](std::int32_t id) {
                                             engine_->stepper().loadScheduledScript(id);
                                             driver_->tickNow();
                                         },
                                     .scriptRunning = [this] { return engine_->scriptRunning(); }});
    scheduleServices_.reset(new ui::ScheduleServices{
        .prompter = prompter_,
        .clock = clock,
        .runNow = [this](const data::Schedule& entry) { engine_->runNow(entry); },
        .scripting = [this](QWidget* parent,
                            std::int32_t id) { ui::browseScript(*scriptServices_, id, parent); },
        .holidays = [this](QWidget* parent) { ui::openBrowseHolidays(prompter_, parent); }});
    bindOwnCommands();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    resize(640, 400);
    ui::restoreWidgetPosition(*this, kPositionSection);

    driver_ = std::make_unique<TickDriver>(
        *engine_,
        [this] {
            scheduler::FrameState& state = engine_->state();
            state.iconized = iconized();
            state.trayShown = inTray_;
        },
        [this](const scheduler::TickReport&) { showState(); });
}

MainFrame::~MainFrame() {
    // The timer and the windows go before the tables they read.
    driver_.reset();
    delete help_;
    // Browses hear from the engine's tick: they go first.
    qDeleteAll(findChildren<ui::BrowseWindow*>(Qt::FindDirectChildrenOnly));
}

EngineFrontEnd MainFrame::frontEnd() {
    EngineFrontEnd front;
    front.showReminder = [this](const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind) {
        showReminder(handOver, kind);
    };
    front.bringFrameBack = [this] { bringBack(); };
    front.trayChanged = [this](const scheduler::FrameState& state) { trayChanged(state); };
    front.waitYielding = [this](std::int64_t hundredths) { waitYielding(hundredths); };
    front.onKeystrokePass = [this](std::size_t) { keystrokesTyped(); };
    front.clipboardChanged = [this] { clipboardBrowses_.notifyAll(); };
    front.firing = [this](const data::Schedule& run) {
        if (firing_) firing_(run);
    };
    front.scheduleChanged = [this] {
        if (scheduleChanged_) scheduleChanged_();
    };
    return front;
}

void MainFrame::open() {
    const settings::Settings& s = settings::settings();
    if (s.StartUpMinimized) {
        // Straight into the tray, without showing the frame first.
        if (!s.NoTray && tray_->show(windowTitle(), engine_->state().currentIcon))
            inTray_ = true;
        else
            showMinimized();
    } else {
        show();
    }
    for (const StartUpWindow& window : startUpWindows()) {
        if (s.*window.wanted && canPerform(window.command)) perform(window.command);
    }
    showClock();
    log::logEvent(windowTitle().toStdString(), "Started");
    driver_->sleepWhenIdle(QDir::currentPath());
    driver_->start();
}

void MainFrame::bind(FrameCommand command, std::function<void()> action) {
    commands_[command] = std::move(action);
    auto [first, last] = actions_.equal_range(command);
    for (auto it = first; it != last; ++it) it->second->setEnabled(true);
}

bool MainFrame::canPerform(FrameCommand command) const { return commands_.contains(command); }

bool MainFrame::perform(FrameCommand command) {
    const auto found = commands_.find(command);
    if (found == commands_.end()) return false;
    // A copy: the command may rebind itself or close the frame.
    const std::function<void()> action = found->second;
    action();
    return true;
}

void MainFrame::choose(const TrayChoice& choice) {
    if (choice.restoreFirst) restoreFromTray();
    perform(choice.command);
}

void MainFrame::bindOwnCommands() {
    using C = FrameCommand;
    bind(C::Setup, [this] { openSetup(); });
    bind(C::PrintSetup, [this] { ui::showPrintSetup(this); });
    bind(C::ViewLog, [this] { ui::openViewLog(this); });
    bind(C::Exit, [this] { quit(); });
    bind(C::ViewSchedule, [this] { openSchedule(); });
    for (auto [command, wizard] : {std::pair{C::AddMessageWizard, ui::ScheduleWindow::MessageWizard},
                                   std::pair{C::AddProgramWizard, ui::ScheduleWindow::ProgramWizard},
                                   std::pair{C::AddTaskWizard, ui::ScheduleWindow::TaskWizard}})
        bind(command, [this, wizard] {
            // Open schedule windows show the new task at once.
            if (ui::addWithWizard(this, *scheduleServices_, wizard))
                engine_->frameTick().browses().notifyAll();
        });
    bind(C::ScheduleCategories, [this] {
        ui::openBrowseCategories(
            prompter_,
            [this](const QString& category) {
                ui::openBrowseScheduleCategory(*scheduleServices_, &engine_->frameTick().browses(), category,
                                               this);
            },
            this);
    });
    bind(C::ToDoList, [this, &clock = scheduleServices_->clock] {
        ui::openViewTodo(clock, prompter_, &todoLists_, this);
    });
    bind(C::Tile, [this] { arrangeWindows(Arrangement::Tile); });
    bind(C::Cascade, [this] { arrangeWindows(Arrangement::Cascade); });
    bind(C::ArrangeIcons, [this] { arrangeWindows(Arrangement::Arrange); });
    bind(C::HelpContents, [this] { help().showContents(); });
    bind(C::HelpSearch, [this] { help().showSearch(); });
    bind(C::HowToUseHelp, [this] { help().showHowTo(); });
    bind(C::About, [this, &clock = scheduleServices_->clock] {
        showAboutBox(this, [this, &clock] { ui::openBrowseWindowLookup(clock, prompter_, this); });
    });
    bind(C::ClipboardSaver, [this] { ui::openBrowseClipboard(prompter_, &clipboardBrowses_, this); });
    bind(C::Restore, [this] { restoreFromTray(); });
    bind(C::StopScript, [this] { engine_->stopScript(); });
    bind(C::ExitPlorix, [this] {
        tray_->hide();
        quit();
    });
    bindExchangeCommands(*this, prompter_);
    bindOrganiserCommands(*this, prompter_);
}

void MainFrame::buildMenus() {
    std::map<std::string_view, QMenu*> menus;
    // The menu at `path`, made (with its parents) where it first appears.
    std::function<QMenu*(std::string_view)> menuAt = [&](std::string_view path) -> QMenu* {
        if (const auto found = menus.find(path); found != menus.end()) return found->second;
        const std::size_t split = path.rfind('>');
        QMenu* menu = split == std::string_view::npos
                          ? menuBar()->addMenu(qs(path))
                          : menuAt(path.substr(0, split))->addMenu(qs(path.substr(split + 1)));
        menus.emplace(path, menu);
        return menu;
    };
    for (const MenuItem& item : menuItems()) {
        QMenu* menu = menuAt(item.menu);
        if (item.text == kSeparator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(qs(item.text));
        action->setEnabled(canPerform(item.command));
        actions_.emplace(item.command, action);
        connect(action, &QAction::triggered, this, [this, command = item.command] { perform(command); });
    }
}

void MainFrame::buildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("Toolbar"));
    toolbar_->setMovable(false);
    for (const ToolbarButton& button : toolbarButtons()) {
        QAction* action = toolbar_->addAction(qs(button.text));
        action->setEnabled(canPerform(button.command));
        actions_.emplace(button.command, action);
        connect(action, &QAction::triggered, this, [this, command = button.command] { perform(command); });
    }
    toolbar_->addSeparator();
    mark_ = new QLineEdit(toolbar_);
    mark_->setReadOnly(true);
    mark_->setFocusPolicy(Qt::NoFocus);
    mark_->setAlignment(Qt::AlignCenter);
    mark_->setFixedWidth(mark_->fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 12);
    mark_->setAccessibleName(QStringLiteral("Script running"));
    toolbar_->addWidget(mark_);
    // The button that shows what a narrow window cannot fit has no name of its own.
    for (QToolButton* more : toolbar_->findChildren<QToolButton*>())
        if (more->inherits("QToolBarExtension"))
            more->setAccessibleName(QStringLiteral("More toolbar buttons"));

    // The stop image: a click empties the script queue.
    auto* stop = new QToolButton(toolbar_);
    stop->setIcon(QIcon(QStringLiteral(":/icons/stop_script.svg")));
    stop->setAutoRaise(true);
    QString stopText;
    for (const TrayChoice& choice : trayChoices(true)) {
        if (choice.command == FrameCommand::StopScript)
            stopText = QString::fromStdString(plainText(choice.text));
    }
    stop->setToolTip(stopText);
    stop->setAccessibleName(stopText);
    connect(stop, &QToolButton::clicked, this, [this] { perform(FrameCommand::StopScript); });
    toolbar_->addWidget(stop);
    toolbar_->setVisible(!settings::settings().HideToolbar);
}

void MainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    const int stretch[4] = {1, 3, 2, 1};
    // What a screen reader says each zone holds.
    const char* const names[4] = {"Menu tip", "Next task", "Date", "Time"};
    for (int zone = 0; zone < 4; ++zone) {
        auto* label = new QLabel(bar);
        label->setAccessibleName(QString::fromLatin1(names[zone]));
        label->setMinimumWidth(zone == 0 ? 40 : 80);
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        zones_[zone] = label;
        // Zone 1 is where menu and button tips show; the others stay put.
        if (zone == 0)
            bar->addWidget(label, stretch[zone]);
        else
            bar->addPermanentWidget(label, stretch[zone]);
    }
}

QString MainFrame::statusZone(int zone) const {
    return zone >= 1 && zone <= 4 ? zones_[zone - 1]->text() : QString();
}

void MainFrame::showState() {
    const scheduler::FrameState& state = engine_->state();
    setWindowTitle(qs(state.title));
    zones_[1]->setText(qs(state.statusNext));
    mark_->setText(qs(state.toolbarMark));
    zones_[2]->setText(qs(state.statusDate));
    zones_[3]->setText(qs(state.statusTime));
}

void MainFrame::showClock() {
    const Moment now = engine_->clock().current();
    zones_[2]->setText(qs(scheduler::dateZone(now.date)));
    zones_[3]->setText(qs(scheduler::timeZone(now.time)));
}

void MainFrame::trayChanged(const scheduler::FrameState& state) {
    tray_->setIcon(state.currentIcon);
    tray_->setTip(qs(state.trayTip));
}

void MainFrame::keystrokesTyped() {
    if (!inTray_) return;
    scheduler::FrameState& state = engine_->state();
    advanceTrayAnimation(state);
    tray_->setIcon(state.currentIcon);
}

void MainFrame::waitYielding(std::int64_t hundredths) {
    // The program goes on (windows repaint, reminders answer) while the
    // keystroke sender paces itself; the tick itself cannot run again.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(hundredths * 10), &loop, &QEventLoop::quit);
    loop.exec();
}

void MainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The title of an iconized frame names the next task.
    if (event->type() == QEvent::WindowStateChange && driver_) driver_->wakeSoon();
    if (event->type() == QEvent::WindowStateChange && isMinimized() && !inTray_ &&
        !settings::settings().NoTray)
        goToTray();
}

void MainFrame::goToTray() {
    if (inTray_) return;
    engine_->state().trayTip = windowTitle().left(static_cast<int>(scheduler::kTrayTipWidth)).toStdString();
    // Without a tray host the frame stays iconized in the ordinary way.
    if (!tray_->show(qs(engine_->state().trayTip), engine_->state().currentIcon)) return;
    inTray_ = true;
    // Hidden once the window manager has finished minimising it.
    QTimer::singleShot(0, this, [this] {
        if (inTray_) hide();
    });
}

void MainFrame::restoreFromTray() {
    if (!inTray_) return;
    tray_->hide();
    inTray_ = false;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainFrame::bringBack() {
    if (inTray_)
        restoreFromTray();
    else if (isMinimized())
        showNormal();
}

void MainFrame::bringToFront() {
    bringBack();
    show();
    raise();
    activateWindow();
}

void MainFrame::showReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind) {
    // Shown once the tick is over: a reminder never holds up the scheduler.
    messages::postReminder(handOver, kind,
                           {.services = reminderServices_.get(),
                            .frame = this,
                            .fastAdd =
                                [this](QWidget* parent, const std::string& folder) {
                                    return ui::replyWithWizard(parent, *scheduleServices_, folder);
                                },
                            .showElsewhere =
                                [this](const scheduler::ReminderHandOver& shown) {
                                    return settings::settings().DesktopNotifications &&
                                           reminderNotices_->show(shown);
                                }});
}

QList<QWidget*> MainFrame::programWindows() const {
    QList<QWidget*> windows;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const Qt::WindowType type = child->windowType();
        if (child->isWindow() && child->isVisible() && !child->isMinimized() &&
            (type == Qt::Window || type == Qt::Dialog))
            windows << child;
    }
    return windows;
}

void MainFrame::arrangeWindows(Arrangement arrangement) {
    const QList<QWidget*> windows = programWindows();
    const QRect work = screen()->availableGeometry();
    const Rect area{work.x(), work.y(), work.width(), work.height()};
    std::vector<Rect> placed;
    switch (arrangement) {
    case Arrangement::Tile: placed = tile(area, static_cast<int>(windows.size())); break;
    case Arrangement::Cascade:
        placed = cascade(area, static_cast<int>(windows.size()),
                         style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
        break;
    case Arrangement::Arrange: {
        std::vector<Rect> sizes;
        for (const QWidget* window : windows)
            sizes.push_back({0, 0, window->frameGeometry().width(), window->frameGeometry().height()});
        placed = arrange(area, sizes);
        break;
    }
    }
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const Rect& r = placed[static_cast<std::size_t>(i)];
        QWidget* window = windows[i];
        // The window manager's frame is part of the room each window takes.
        const QSize decoration = window->frameGeometry().size() - window->size();
        if (arrangement == Arrangement::Arrange) {
            window->move(r.x, r.y);
        } else {
            window->resize(std::max(1, r.width - decoration.width()),
                           std::max(1, r.height - decoration.height()));
            window->move(r.x, r.y);
        }
        window->raise();
    }
}

void MainFrame::openSchedule() {
    ui::openBrowseSchedule(*scheduleServices_, &engine_->frameTick().browses(), this);
}

void MainFrame::openSetup() {
    ui::runSetup(this, {.emptyScriptQueue = [this] { engine_->stopScript(); }});
    engine_->followSettings();
    driver_->wakeSoon();
    toolbar_->setVisible(!settings::settings().HideToolbar);
}

HelpWindow& MainFrame::help() {
    // Over a modal window (Setup, a form) help is that window's own, or the
    // modal window would keep every click and key from it.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = this;
    if (!help_)
        help_ = new HelpWindow(owner);
    else if (help_->parentWidget() != owner)
        help_->setParent(owner, help_->windowFlags());
    return *help_;
}

void MainFrame::quit() {
    quitting_ = true;
    close();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    // Closed by the user with the tray setting on: the scheduler runs on.
    if (!quitting_ && settings::settings().KeepInTray && !qApp->isSavingSession() && FrameTray::available()) {
        event->ignore();
        goToTray();
        return;
    }
    driver_->stop();
    // A frame closed from the tray keeps the place it had before.
    if (!inTray_) ui::saveWidgetPosition(*this, kPositionSection);
    tray_->hide();
    event->accept();
    log::logEvent("", "Exit Plorix");
    if (closed_) closed_();
}

}  // namespace plorix::app
