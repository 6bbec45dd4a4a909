// "Schedule": every task in full, one block each, in date order or in
// category order (then with a heading per category).

#include "data/tables.h"
#include "reports/rows/report_defs.h"
#include "runtime/pictures.h"

namespace plorix::reports {

namespace {

using data::Schedule;

struct Check {
    std::uint8_t Schedule::*flag;
    std::string_view name;
};

constexpr Check kDays[] = {
    {&Schedule::SUNDAY, "Sunday"},       {&Schedule::MONDAY, "Monday"},     {&Schedule::TUESDAY, "Tuesday"},
    {&Schedule::WEDNESDAY, "Wednesday"}, {&Schedule::THURSDAY, "Thursday"}, {&Schedule::FRIDAY, "Friday"},
    {&Schedule::SATURDAY, "Saturday"},
};
constexpr Check kWeeks[] = {
    {&Schedule::EVERY1ST, "1st"}, {&Schedule::EVERY2ND, "2nd"},   {&Schedule::EVERY3RD, "3rd"},
    {&Schedule::EVERY4TH, "4th"}, {&Schedule::EVERYLAST, "Last"},
};
constexpr Check kOptions[] = {
    {&Schedule::SKIPNEXTTIME, "Skip Next Time"},
    {&Schedule::ALARM, "Alarm"},
    {&Schedule::WARN, "Warn if not run on specified date"},
    {&Schedule::USERSKIP, "Give option to skip before performing"},
    {&Schedule::DISABLED, "Disabled"},
};

// The names of the checks that are on, two blanks apart.
template <std::size_t N>
std::string checked(const Schedule& task, const Check (&checks)[N]) {
    std::string out;
    for (const Check& check : checks) {
        if (!(task.*check.flag)) continue;
        if (!out.empty()) out += "  ";
        out += check.name;
    }
    return out;
}

std::string moment(Date date, Time time) {
    std::string text = formatDate(date, kReportDatePicture);
    const std::string shown = formatTime(time, kReportTimePicture);
    if (!shown.empty()) text += (text.empty() ? "" : " ") + shown;
    return text;
}

Band taskBlock(const void* record) {
    const auto& task = *static_cast<const Schedule*>(record);
    Band band{BandKind::Block, {}, {}};
    auto add = [&](std::string_view label, std::string value, bool wide = false) {
        band.values.push_back({std::string(label), std::move(value), wide});
    };
    add("Task Type", task.TASKTYPE.str());
    add("Category", task.CATEGORY.str());
    add("Description", task.DESCRIPTION.str(), true);
    add("Command", task.COMMAND.str(), true);
    add("Message", task.MESSAGE.str(), true);
    add("Schedule Type", task.SCHEDULETYPE.str());
    add("Date", formatDate(task.DATE, kReportDatePicture));
    add("Time", formatTime(task.TIME, kReportTimePicture));
    add("Advance Warning", moment(task.ADVANCEWARNDATE, task.ADVANCEWARNTIME));
    add("Last Run:", moment(task.LASTRUNDATE, task.LASTRUNTIME));
    add("Days", checked(task, kDays));
    std::string every = task.EVERY ? std::to_string(task.EVERY) + " " + task.EVERYTYPE.str() : std::string();
    const std::string weeks = checked(task, kWeeks);
    if (!weeks.empty()) every += (every.empty() ? "" : "  ") + weeks;
    add("Every", every);
    add("Options", checked(task, kOptions), true);
    return band;
}

}  // namespace

const ReportDef& scheduleByDateReport() {
    static const ReportDef def{ReportId::ScheduleByDate,
                               "Schedule",
                               PreviewKind::Own,
                               &Schedule::schema,
                               data::keys::Schedule::KEYDATE,
                               {},
                               {},
                               &taskBlock};
    return def;
}

const ReportDef& scheduleByCategoryReport() {
    static const ReportDef def{
        ReportId::ScheduleByCategory,      "Schedule", PreviewKind::Own, &Schedule::schema,
        data::keys::Schedule::KEYCATEGORY, {},         "SCH:CATEGORY",   &taskBlock};
    return def;
}

}  // namespace plorix::reports
