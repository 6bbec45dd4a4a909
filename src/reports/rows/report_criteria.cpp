#include "reports/rows/report_criteria.h"

#include "data/tables.h"
#include "runtime/fixed_text.h"

namespace plorix::reports {

namespace {

using Key = data::keys::Schedule;

struct Order {
    std::string_view name;
    int key;
};
constexpr Order kOrders[] = {
    {"Date", Key::KEYDATE},          {"Category", Key::KEYCATEGORY},  {"Description", Key::KEYTASKNAME},
    {"Task Type", Key::KEYTASKTYPE}, {"Adv. Warn", Key::KEYADVANCED}, {"Category/Date", Key::KEYCATEGORYDATE},
};

}  // namespace

const std::vector<std::string_view>& reportOrders() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> out;
        for (const Order& order : kOrders) out.push_back(order.name);
        return out;
    }();
    return names;
}

int orderKey(std::string_view order) {
    for (const Order& o : kOrders)
        if (o.name == order) return o.key;
    return Key::KEYDATE;
}

ReportCriteria& lastCriteria() {
    static ReportCriteria criteria;
    return criteria;
}

ReportRequest requestFor(ReportId id) {
    const ReportDef& def = reportDef(id);
    return {&def, def.key, std::string(def.title), {}};
}

ReportRequest briefRequest(const ReportCriteria& criteria) {
    ReportRequest request = requestFor(ReportId::BriefSchedule);
    request.key = orderKey(criteria.order);
    if (criteria.selectedCategory || criteria.selectedDates) {
        request.filter = [criteria](const void* record) {
            const auto& task = *static_cast<const data::Schedule*>(record);
            if (criteria.selectedCategory && !equalNoCase(task.CATEGORY.str(), clip(criteria.category)))
                return false;
            if (criteria.selectedDates && (task.DATE < criteria.dateFrom || task.DATE > criteria.dateTo))
                return false;
            return true;
        };
    }
    return request;
}

ReportRequest oneCategoryRequest(std::string_view category) {
    ReportRequest request = requestFor(ReportId::OneCategory);
    request.title = clip(category);
    request.filter = [wanted = clip(category)](const void* record) {
        return equalNoCase(static_cast<const data::Schedule*>(record)->CATEGORY.str(), wanted);
    };
    return request;
}

void setTitle(ReportRequest& request, std::string_view title) {
    if (!clip(title).empty()) request.title = clip(title).substr(0, 80);
}

}  // namespace plorix::reports
