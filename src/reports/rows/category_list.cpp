// "Category List": every schedule category in alphabetical order.

#include "data/tables.h"
#include "reports/rows/report_defs.h"

namespace plorix::reports {

namespace {

Band categoryBand(const void* record) {
    return {BandKind::Row, {static_cast<const data::Categories*>(record)->CATEGORY.str()}, {}};
}

}  // namespace

const ReportDef& categoryListReport() {
    static const ReportDef def{ReportId::CategoryList,
                               "Category List",
                               PreviewKind::Own,
                               &data::Categories::schema,
                               data::keys::Categories::KEYCATEGORY,
                               {{"Category", 20}},
                               {},
                               &categoryBand};
    return def;
}

}  // namespace plorix::reports
