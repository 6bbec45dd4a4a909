// The to-do list by priority and by category (a heading per category):
// priority, category, the item and its completion date.

#include "data/tables.h"
#include "reports/rows/report_defs.h"
#include "runtime/pictures.h"

namespace plorix::reports {

namespace {

const std::vector<ReportColumn>& todoColumns() {
    static const std::vector<ReportColumn> columns{
        {"Priority", 8, Align::Right}, {"Category", 18}, {"To Do", 50}, {"Done", 10}};
    return columns;
}

Band todoBand(const void* record) {
    const auto& item = *static_cast<const data::Todo*>(record);
    return {BandKind::Row,
            {std::to_string(item.PRIORITY), item.CATEGORY.str(), item.TODO.str(),
             formatDate(item.COMPLETIONDATE, kReportDatePicture)},
            {}};
}

}  // namespace

const ReportDef& todoByPriorityReport() {
    static const ReportDef def{ReportId::TodoByPriority,
                               "To Do List - By Priority",
                               PreviewKind::Library,
                               &data::Todo::schema,
                               data::keys::Todo::KEYPRIORITY,
                               todoColumns(),
                               {},
                               &todoBand};
    return def;
}

const ReportDef& todoByCategoryReport() {
    static const ReportDef def{ReportId::TodoByCategory,
                               "To Do List - By Category",
                               PreviewKind::Library,
                               &data::Todo::schema,
                               data::keys::Todo::KEYCATEGORY,
                               todoColumns(),
                               "TDO:CATEGORY",
                               &todoBand};
    return def;
}

}  // namespace plorix::reports
