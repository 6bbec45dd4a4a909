#include "reports/rows/report_defs.h"

namespace plorix::reports {

const ReportDef& reportDef(ReportId id) {
    switch (id) {
    case ReportId::BriefSchedule: return briefScheduleReport();
    case ReportId::ScheduleByDate: return scheduleByDateReport();
    case ReportId::ScheduleByCategory: return scheduleByCategoryReport();
    case ReportId::OneCategory: return oneCategoryReport();
    case ReportId::CategoryList: return categoryListReport();
    case ReportId::Contacts: return contactsReport();
    case ReportId::TodoByPriority: return todoByPriorityReport();
    case ReportId::TodoByCategory: return todoByCategoryReport();
    }
    return briefScheduleReport();
}

}  // namespace plorix::reports
