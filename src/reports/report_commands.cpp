#include "reports/report_commands.h"

#include "reports/report_parameters.h"
#include "reports/report_run.h"
#include "reports/set_report_title.h"
#include "ui/pickers/select_categories.h"

namespace plorix::reports {

bool openReport(ReportId id, Prompter& prompter, QWidget* parent) {
    ReportRequest request;
    switch (id) {
    case ReportId::BriefSchedule: {
        const auto criteria = askReportCriteria(prompter, parent);
        if (!criteria) return false;
        request = briefRequest(*criteria);
        break;
    }
    case ReportId::OneCategory: {
        const auto category = ui::selectCategory(prompter, parent);
        if (!category) return false;
        request = oneCategoryRequest(category->toStdString());
        break;
    }
    case ReportId::TodoByPriority:
    case ReportId::TodoByCategory: {
        const auto title = askReportTitle(parent);
        if (!title) return false;
        request = requestFor(id);
        setTitle(request, *title);
        break;
    }
    default: request = requestFor(id); break;
    }
    startReport(std::move(request), prompter, parent);
    return true;
}

}  // namespace plorix::reports
