#include "app/exchange_commands.h"

#include "app/main_frame.h"
#include "reports/report_commands.h"
#include "ui/exchange/calendar_exchange.h"
#include "ui/exchange/export_window.h"
#include "ui/exchange/import_window.h"
#include "ui/exchange/synchronize_window.h"

namespace plorix::app {

namespace {

using C = FrameCommand;
using reports::ReportId;

struct ReportCommand {
    FrameCommand command;
    ReportId report;
};
constexpr ReportCommand kReports[] = {
    {C::BriefReport, ReportId::BriefSchedule},
    {C::ScheduleByDate, ReportId::ScheduleByDate},
    {C::ScheduleByCategory, ReportId::ScheduleByCategory},
    {C::OneCategory, ReportId::OneCategory},
    {C::ContactsReport, ReportId::Contacts},
    {C::CategoriesReport, ReportId::CategoryList},
    {C::ToDoByPriority, ReportId::TodoByPriority},
    {C::ToDoByCategory, ReportId::TodoByCategory},
};

// The import and export windows by command; each opens over the frame.
struct ExchangeCommand {
    FrameCommand command;
    io::ExchangeTable table;
    bool import;
};
constexpr ExchangeCommand kExchanges[] = {
    {C::ImportSchedule, io::ExchangeTable::Schedule, true},
    {C::ImportContacts, io::ExchangeTable::Contact, true},
    {C::ImportToDo, io::ExchangeTable::Todo, true},
    {C::ExportSchedule, io::ExchangeTable::Schedule, false},
    {C::ExportContacts, io::ExchangeTable::Contact, false},
    {C::ExportToDo, io::ExchangeTable::Todo, false},
};

void openExchange(const ExchangeCommand& entry, Prompter& prompter, QWidget* frame) {
    if (!entry.import) {
        (new ui::ExportWindow(entry.table, prompter, frame))->show();
        return;
    }
    auto* window = new ui::ImportWindow(entry.table, prompter, frame);
    // The file comes first: without one there is nothing to show.
    if (window->chooseFile())
        window->show();
    else
        delete window;
}

}  // namespace

void bindExchangeCommands(MainFrame& frame, Prompter& prompter) {
    for (const ExchangeCommand& entry : kExchanges)
        frame.bind(entry.command, [&frame, &prompter, entry] { openExchange(entry, prompter, &frame); });
    frame.bind(C::ImportCalendar, [&frame, &prompter] { ui::importCalendar(prompter, &frame); });
    frame.bind(C::ExportCalendar, [&frame, &prompter] { ui::exportCalendar(prompter, &frame); });
    frame.bind(C::Synchronize, [&frame, &prompter] { (new ui::Synchronize(prompter, &frame))->show(); });
    for (const ReportCommand& entry : kReports) {
        frame.bind(entry.command, [&frame, &prompter, report = entry.report] {
            reports::openReport(report, prompter, &frame);
        });
    }
}

}  // namespace plorix::app
