// The tasks of one category, headed by the category: date, time and
// description of each, in date order.

#include "data/tables.h"
#include "reports/rows/report_defs.h"
#include "runtime/pictures.h"

namespace plorix::reports {

namespace {

Band categoryTaskBand(const void* record) {
    const auto& task = *static_cast<const data::Schedule*>(record);
    return {BandKind::Row,
            {formatDate(task.DATE, kReportDatePicture), formatTime(task.TIME, kReportTimePicture),
             task.DESCRIPTION.str()},
            {}};
}

}  // namespace

const ReportDef& oneCategoryReport() {
    static const ReportDef def{ReportId::OneCategory,
                               "",
                               PreviewKind::Own,
                               &data::Schedule::schema,
                               data::keys::Schedule::KEYCATEGORYDATE,
                               {{"Date", 10}, {"Time", 8}, {"Description", 40}},
                               {},
                               &categoryTaskBand};
    return def;
}

}  // namespace plorix::reports
