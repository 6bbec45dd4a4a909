#pragma once
// What the frame offers the user, as tables: the menu bar, the toolbar
// buttons, the tray icon's pop-up menu and the windows that may open at
// start-up. Each entry names a command; the frame binds the commands it can
// perform, and an entry whose command has no window yet stays disabled.

#include <span>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace plorix::app {

enum class FrameCommand {
    None,  // a separator
    Setup,
    PrintSetup,
    ImportSchedule,
    ImportContacts,
    ImportToDo,
    ImportCalendar,
    ExportSchedule,
    ExportContacts,
    ExportToDo,
    ExportCalendar,
    Synchronize,
    ViewLog,
    Exit,
    ViewSchedule,
    AddMessageWizard,
    AddProgramWizard,
    AddTaskWizard,
    ToDoList,
    Contacts,
    EmailMessages,
    ClipboardSaver,
    ScheduleCategories,
    ContactCategories,
    BriefReport,
    ScheduleByDate,
    ScheduleByCategory,
    OneCategory,
    ContactsReport,
    CategoriesReport,
    ToDoByPriority,
    ToDoByCategory,
    Tile,
    Cascade,
    ArrangeIcons,
    HelpContents,
    HelpSearch,
    HowToUseHelp,
    About,
    Restore,
    StopScript,
    ExitPlorix,
};

inline constexpr std::string_view kSeparator = "-";

// One item of the menu bar. `menu` is the path of the menu that holds it,
// sub-menus after a '>' ("&File>&Import").
struct MenuItem {
    std::string_view menu;
    std::string_view text;
    FrameCommand command;
};
std::span<const MenuItem> menuItems();

// The toolbar's buttons, left to right.
struct ToolbarButton {
    std::string_view text;
    FrameCommand command;
};
std::span<const ToolbarButton> toolbarButtons();

// The tray icon's pop-up menu.
struct TrayChoice {
    std::string_view text;
    FrameCommand command;
    bool restoreFirst;     // the frame comes out of the tray before the command
    bool whileScriptRuns;  // offered only while a script runs
};
// The choices offered now, separators included, in menu order.
std::vector<TrayChoice> trayChoices(bool scriptRunning);

// The windows the settings may open at start-up, in the order they open.
struct StartUpWindow {
    bool settings::Settings::*wanted;
    FrameCommand command;
};
std::span<const StartUpWindow> startUpWindows();

// A menu text without its '&' marks ("&Stop Running Script" -> "Stop Running Script").
std::string plainText(std::string_view text);

}  // namespace plorix::app
