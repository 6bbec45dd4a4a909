#pragma once
// The reports of the Reports menu, each declared once: its default title,
// the table and key it reads, its columns (or a block of labelled values),
// the field it is grouped by, how one record prints, and which preview
// shows it.

#include <string>
#include <string_view>
#include <vector>

#include "reports/rows/report_band.h"
#include "store/schema.h"

namespace plorix::reports {

enum class ReportId {
    BriefSchedule,
    ScheduleByDate,
    ScheduleByCategory,
    OneCategory,
    CategoryList,
    Contacts,
    TodoByPriority,
    TodoByCategory,
};

// Own: the program's own preview window, pages numbered "Page N".
// Library: the print-preview library, pages numbered "Page x of y", after
// asking whether to preview at all.
enum class PreviewKind { Own, Library };

struct ReportDef {
    ReportId id;
    std::string_view title;  // the default title; the one-category report heads with the category
    PreviewKind preview;
    const store::TableSchema& (*schema)();
    int key;                            // the order records print in (the brief report chooses its own)
    std::vector<ReportColumn> columns;  // empty: each record prints as a block
    std::string_view groupField;        // a heading wherever this field's value changes; empty: none
    Band (*band)(const void* record);
};

const ReportDef& reportDef(ReportId id);

// One file per report defines these.
const ReportDef& briefScheduleReport();
const ReportDef& scheduleByDateReport();
const ReportDef& scheduleByCategoryReport();
const ReportDef& oneCategoryReport();
const ReportDef& categoryListReport();
const ReportDef& contactsReport();
const ReportDef& todoByPriorityReport();
const ReportDef& todoByCategoryReport();

// How the reports show dates and times.
inline constexpr std::string_view kReportDatePicture = "@d2b";
inline constexpr std::string_view kReportTimePicture = "@t3b";

}  // namespace plorix::reports
