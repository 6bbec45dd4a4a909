#pragma once
// What a report reads: the key, the filter and the title, and for the
// brief schedule the criteria the user chose (date range, category,
// order). The criteria stay for the program's run, so the criteria window
// opens with the last choice.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "reports/rows/report_defs.h"
#include "runtime/date_time.h"

namespace plorix::reports {

struct ReportCriteria {
    bool selectedDates = false;  // Date Range "Selected"
    Date dateFrom = 0;
    Date dateTo = 0;
    bool selectedCategory = false;  // Category "Selected"
    std::string category;
    std::string order = "Date";  // one of reportOrders()
};

// The orders offered, in the criteria window's order.
const std::vector<std::string_view>& reportOrders();
// The schedule key an order reads by; the date key for anything else.
int orderKey(std::string_view order);

// The last criteria chosen in this run of the program.
ReportCriteria& lastCriteria();

// A request for one report.
struct ReportRequest {
    const ReportDef* def = nullptr;
    int key = 0;
    std::string title;  // the default title unless set
    // A record prints when this holds (none: every record).
    std::function<bool(const void* record)> filter;
    // Memos are read too (only the schedule in full prints one).
};

ReportRequest requestFor(ReportId id);
// The brief schedule under these criteria.
ReportRequest briefRequest(const ReportCriteria& criteria);
// The tasks of one category (any letter case), headed by it.
ReportRequest oneCategoryRequest(std::string_view category);
// A title set by the user; blank keeps the default.
void setTitle(ReportRequest& request, std::string_view title);

}  // namespace plorix::reports
