#include "ui/forms/schedule_pages.h"

#include <algorithm>

#include "data/field_choices.h"

namespace plorix::ui {

namespace {

using P = SchedulePart;

constexpr std::string_view kDayOfWeek = "Day of Week";
constexpr std::string_view kOnce = "Once";

bool holds(const SchedulePage& page, SchedulePart part) {
    return std::find(page.parts.begin(), page.parts.end(), part) != page.parts.end();
}

}  // namespace

const ScheduleWindowDecl& scheduleWindow(ScheduleWindow window) {
    // The entry form's tabs, which the reschedule wizard walks as pages.
    static const std::vector<SchedulePage> kTabs{{"&Task", {P::TaskType, P::Category}},
                                                 {"&Command", {P::Command}},
                                                 {"&Message", {P::Message}},
                                                 {"&When", {P::When}},
                                                 {"&Advanced", {P::Advanced}}};
    static const ScheduleWindowDecl kEntryForm{
        "Adding a Schedule Task", "UpdateSchedule", {}, kDayOfWeek, kTabs};
    static const ScheduleWindowDecl kTask{"Add Task Wizard",
                                          "AddTaskWizard",
                                          {},
                                          kDayOfWeek,
                                          {{"&Task", {P::TaskIntro, P::TaskType}},
                                           {"&Category", {P::Category}},
                                           {"&Command", {P::Command}},
                                           {"&Message", {P::Message}},
                                           {"&When", {P::When}},
                                           {"&Advanced", {P::Advanced}}}};
    static const ScheduleWindowDecl kProgram{"Add Program Wizard",
                                             "AddProgramWizard",
                                             data::kTaskRunProgram,
                                             kDayOfWeek,
                                             {{"&Command", {P::Command}},
                                              {"&When", {P::When}},
                                              {"&Category", {P::Category}},
                                              {"&Advanced", {P::Advanced}}}};
    static const ScheduleWindowDecl kMessage{
        "Add Message Wizard",
        "AddMessageWizard",
        data::kTaskDisplayMessage,
        kDayOfWeek,
        {{"&Message", {P::Category, P::Message}}, {"&When", {P::When}}, {"&Advanced", {P::Advanced}}}};
    static const ScheduleWindowDecl kReschedule{
        "Reschedule Event Wizard", "SpecialEventWizard", {}, kOnce, kTabs};
    static const ScheduleWindowDecl kReply{
        "Reply...",
        "FastAdd",
        data::kTaskDisplayMessage,
        kOnce,
        {{"&Message", {P::Category, P::Message}}, {"&When", {P::When}}, {"&Advanced", {P::Advanced}}}};
    switch (window) {
    case ScheduleWindow::EntryForm: return kEntryForm;
    case ScheduleWindow::TaskWizard: return kTask;
    case ScheduleWindow::ProgramWizard: return kProgram;
    case ScheduleWindow::MessageWizard: return kMessage;
    case ScheduleWindow::RescheduleWizard: return kReschedule;
    case ScheduleWindow::ReplyWizard: return kReply;
    }
    return kEntryForm;
}

bool pageUsed(const SchedulePage& page, std::string_view taskType) {
    // A page of its own for the command or the message: others always count.
    if (page.parts.size() != 1) return true;
    if (holds(page, P::Command)) return taskType == data::kTaskRunProgram || taskType == data::kTaskBoth;
    if (holds(page, P::Message)) return taskType != data::kTaskRunProgram;
    return true;
}

int stepPage(std::span<const SchedulePage> pages, int from, int step, std::string_view taskType) {
    for (int page = from + step; page >= 0 && page < static_cast<int>(pages.size()); page += step)
        if (pageUsed(pages[page], taskType)) return page;
    return from;
}

}  // namespace plorix::ui
