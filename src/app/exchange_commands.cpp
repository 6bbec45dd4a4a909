#include "app/exchange_commands.h"

#include "app/main_frame.h"
#include "reports/report_commands.h"

namespace plorix::app {

namespace {

using C = FrameCommand;
using reports::ReportId;

struct ReportCommand {
    FrameCommand command;
    ReportId report;
};
constexpr ReportCommand kReports[] = {
    {C::BriefReport, ReportId::BriefSchedule},       {C::ScheduleByDate, ReportId::ScheduleByDate},
    {C::ScheduleByCategory, ReportId::ScheduleByCategory}, {C::OneCategory, ReportId::OneCategory},
    {C::ContactsReport, ReportId::Contacts},         {C::CategoriesReport, ReportId::CategoryList},
    {C::ToDoByPriority, ReportId::TodoByPriority},   {C::ToDoByCategory, ReportId::TodoByCategory},
};

}  // namespace

void bindExchangeCommands(MainFrame& frame, Prompter& prompter) {
    for (const ReportCommand& entry : kReports) {
        frame.bind(entry.command, [&frame, &prompter, report = entry.report] {
            reports::openReport(report, prompter, &frame);
        });
    }
}

}  // namespace plorix::app
