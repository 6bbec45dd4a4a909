// "Schedule in Brief": one line per task, in the order and with the filter
// the report criteria chose.

#include "data/tables.h"
#include "reports/rows/report_defs.h"
#include "runtime/pictures.h"

namespace plorix::reports {

namespace {

Band briefBand(const void* record) {
    const auto& task = *static_cast<const data::Schedule*>(record);
    return {BandKind::Row,
            {formatDate(task.DATE, kReportDatePicture), formatTime(task.TIME, kReportTimePicture),
             task.CATEGORY.str(), task.DESCRIPTION.str(), task.COMPLETED ? "Yes" : ""},
            {}};
}

}  // namespace

const ReportDef& briefScheduleReport() {
    static const ReportDef def{
        ReportId::BriefSchedule,
        "Schedule in Brief",
        PreviewKind::Library,
        &data::Schedule::schema,
        data::keys::Schedule::KEYDATE,
        {{"Date", 10}, {"Time", 8}, {"Category", 18}, {"Description", 36}, {"Done", 5}},
        {},
        &briefBand};
    return def;
}

}  // namespace plorix::reports
