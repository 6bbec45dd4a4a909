#pragma once
// The application frame: the program's one main window, with the menu
// bar, the toolbar, the four-zone status bar and the tray icon. Its timer
// drives the scheduler; what each tick leaves (title, status texts, the
// script mark, the tray icon) is shown here. Closing it ends the program,
// unless the user chose to keep it running in the tray.

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QToolBar>
#include <functional>
#include <map>
#include <memory>

#include "app/frame_commands.h"
#include "app/frame_tray.h"
#include "app/help_window.h"
#include "app/reminder_notices.h"
#include "app/scheduler_engine.h"
#include "app/tick_driver.h"
#include "scheduler/frame_state.h"
#include "scheduler/reminder.h"
#include "ui/forms/schedule_request.h"
#include "ui/script/script_editor.h"

namespace plorix::app {

class MainFrame final : public QMainWindow {
public:
    // Opens the frame's tables and loads the settings; a table that cannot
    // be opened throws FatalError.
    explicit MainFrame(Prompter& prompter, const Clock& clock = processClock(), QWidget* parent = nullptr);
    ~MainFrame() override;

    // Shows the frame (or puts it straight into the tray when the settings
    // say to start minimised), opens the start-up windows, logs "Started"
    // and starts the timer.
    void open();
    // Closes the frame and ends the program, whatever the tray setting says.
    void quit();
    // Called once the frame has closed (the program ends then).
    void onClosed(std::function<void()> handler) { closed_ = std::move(handler); }

    // Commands: bound ones are enabled wherever they are offered.
    void bind(FrameCommand command, std::function<void()> action);
    bool canPerform(FrameCommand command) const;
    bool perform(FrameCommand command);
    // A pop-up choice of the tray menu, as choosing it does.
    void choose(const TrayChoice& choice);

    void goToTray();
    void restoreFromTray();
    // Out of the tray or its iconized state, raised and active.
    void bringToFront();
    // Told of every run the scheduler performs, as it starts it.
    void onFiring(std::function<void(const data::Schedule&)> handler) { firing_ = std::move(handler); }
    // Told once per tick when the schedule changed since the last one.
    void onScheduleChanged(std::function<void()> handler) { scheduleChanged_ = std::move(handler); }
    bool inTray() const { return inTray_; }
    bool iconized() const { return inTray_ || isMinimized(); }

    SchedulerEngine& engine() { return *engine_; }
    // What the schedule windows reach through the frame (the script editor among it).
    const ui::ScheduleServices& scheduleServices() const { return *scheduleServices_; }
    const ui::ScriptEditorServices& scriptServices() const { return *scriptServices_; }
    TickDriver& timer() { return *driver_; }
    FrameTray& tray() { return *tray_; }
    // The program's own windows open beside the frame (reminders, help ...),
    // as the Window menu arranges them.
    QList<QWidget*> programWindows() const;
    QToolBar& toolbar() { return *toolbar_; }
    HelpWindow& help();
    // Status zones 1 to 4, and the toolbar's script mark.
    QString statusZone(int zone) const;
    QString scriptMark() const { return mark_->text(); }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    EngineFrontEnd frontEnd();
    void bindOwnCommands();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void showState();
    void showClock();
    void trayChanged(const scheduler::FrameState& state);
    void bringBack();
    enum class Arrangement { Tile, Cascade, Arrange };
    void arrangeWindows(Arrangement arrangement);
    void showReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind);
    void openSetup();
    void openSchedule();
    void waitYielding(std::int64_t hundredths);
    void keystrokesTyped();

    Prompter& prompter_;
    std::unique_ptr<SchedulerEngine> engine_;
    std::unique_ptr<TickDriver> driver_;
    FrameTray* tray_ = nullptr;
    std::unique_ptr<scheduler::ReminderServices> reminderServices_;
    // The open to-do lists, refreshed when a reminder adds an item.
    scheduler::BrowseRegistry todoLists_;
    // The open clipboard histories, refreshed when the monitor changes them.
    scheduler::BrowseRegistry clipboardBrowses_;
    std::unique_ptr<ui::ScheduleServices> scheduleServices_;
    std::unique_ptr<ui::ScriptEditorServices> scriptServices_;
    QToolBar* toolbar_ = nullptr;
    QLineEdit* mark_ = nullptr;
    QLabel* zones_[4] = {};
    QPointer<HelpWindow> help_;
    std::map<FrameCommand, std::function<void()>> commands_;
    std::multimap<FrameCommand, QAction*> actions_;
    std::function<void()> closed_;
    std::function<void(const data::Schedule&)> firing_;
    std::function<void()> scheduleChanged_;
    ReminderNotices* reminderNotices_ = nullptr;
    bool inTray_ = false;
    bool quitting_ = false;
};

}  // namespace plorix::app
