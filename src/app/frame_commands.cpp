#include "app/frame_commands.h"

#include <string>

namespace plorix::app {

namespace {

using C = FrameCommand;

constexpr MenuItem kMenuBar[] = {
    {"&File", "&Setup", C::Setup},
    {"&File", "Print Setup ...", C::PrintSetup},
    {"&File", kSeparator, C::None},
    {"&File>&Import", "&Schedule", C::ImportSchedule},
    {"&File>&Import", "&Contacts", C::ImportContacts},
    {"&File>&Import", "&To Do", C::ImportToDo},
    {"&File>&Import", "Ca&lendar (.ics)", C::ImportCalendar},
    {"&File>&Export", "&Schedule", C::ExportSchedule},
    {"&File>&Export", "&Contacts", C::ExportContacts},
    {"&File>&Export", "&To Do", C::ExportToDo},
    {"&File>&Export", "Ca&lendar (.ics)", C::ExportCalendar},
    {"&File", "S&ynchronization", C::Synchronize},
    {"&File", "View &Log", C::ViewLog},
    {"&File", kSeparator, C::None},
    {"&File", "E&xit", C::Exit},
    {"&Browse", "&View Schedule", C::ViewSchedule},
    {"&Browse>&Wizards", "Add &Message", C::AddMessageWizard},
    {"&Browse>&Wizards", "Add &Program", C::AddProgramWizard},
    {"&Browse>&Wizards", "Generic &Add", C::AddTaskWizard},
    {"&Browse", kSeparator, C::None},
    {"&Browse", "&To Do List", C::ToDoList},
    {"&Browse", "&Contacts", C::Contacts},
    {"&Browse", "&Email Messages", C::EmailMessages},
    {"&Browse", "Clip&board Saver", C::ClipboardSaver},
    {"&Browse", kSeparator, C::None},
    {"&Browse", "Schedule Cate&gories", C::ScheduleCategories},
    {"&Browse", "Contact Categories", C::ContactCategories},
    {"&Reports>&Schedule", "&Brief Schedule", C::BriefReport},
    {"&Reports>&Schedule", "&All in Date Order", C::ScheduleByDate},
    {"&Reports>&Schedule", "All in &Category Order", C::ScheduleByCategory},
    {"&Reports>&Schedule", "&Specific Category", C::OneCategory},
    {"&Reports", "&Contacts", C::ContactsReport},
    {"&Reports", "Cate&gories", C::CategoriesReport},
    {"&Reports>&To Do List", "&Priority", C::ToDoByPriority},
    {"&Reports>&To Do List", "&Category", C::ToDoByCategory},
    {"&Window", "T&ile", C::Tile},
    {"&Window", "&Cascade", C::Cascade},
    {"&Window", "&Arrange Icons", C::ArrangeIcons},
    {"&Help", "&Contents", C::HelpContents},
    {"&Help", "&Search for Help On...", C::HelpSearch},
    {"&Help", "&How to Use Help", C::HowToUseHelp},
    {"&Help", kSeparator, C::None},
    {"&Help", "&About", C::About},
};

constexpr ToolbarButton kToolbar[] = {
    {"Program Wizard", C::AddProgramWizard},
    {"Message Wizard", C::AddMessageWizard},
    {"View Schedule", C::ViewSchedule},
    {"To Do List", C::ToDoList},
};

constexpr TrayChoice kTrayMenu[] = {
    {"Add &Message", C::AddMessageWizard, true, false},
    {"Add &Program", C::AddProgramWizard, true, false},
    {"&View To Do", C::ToDoList, true, false},
    {"&Options", C::Setup, true, false},
    {kSeparator, C::None, false, false},
    {"&Restore", C::Restore, false, false},
    {kSeparator, C::None, false, false},
    {"&About", C::About, false, false},
    {"&Stop Running Script", C::StopScript, false, true},
    {"E&xit Plorix", C::ExitPlorix, false, false},
};

constexpr StartUpWindow kStartUp[] = {
    {&settings::Settings::StartUpContacts, C::Contacts},
    {&settings::Settings::StartUpClipboardSaver, C::ClipboardSaver},
    {&settings::Settings::StartUpToDo, C::ToDoList},
    {&settings::Settings::StartUpSchedule, C::ViewSchedule},
};

}  // namespace

std::span<const MenuItem> menuItems() { return kMenuBar; }

std::span<const ToolbarButton> toolbarButtons() { return kToolbar; }

std::vector<TrayChoice> trayChoices(bool scriptRunning) {
    std::vector<TrayChoice> choices;
    for (const TrayChoice& choice : kTrayMenu) {
        if (!choice.whileScriptRuns || scriptRunning) choices.push_back(choice);
    }
    return choices;
}

std::span<const StartUpWindow> startUpWindows() { return kStartUp; }

std::string plainText(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&&" stands for one '&'
        plain += text[i];
    }
    return plain;
}

}  // namespace plorix::app
