#pragma once
// The windows that edit one schedule entry, as tables: the entry form's
// tabs and the wizards' pages, which part of the entry each page holds, and
// the way Next and Back walk the pages a task type uses.

#include <span>
#include <string_view>
#include <vector>

namespace plorix::ui {

enum class ScheduleWindow {
    EntryForm,
    TaskWizard,
    ProgramWizard,
    MessageWizard,
    RescheduleWizard,
    ReplyWizard
};

// The groups of controls a page can hold.
enum class SchedulePart { TaskType, TaskIntro, Category, Command, Message, When, Advanced };

struct SchedulePage {
    std::string_view title;
    std::vector<SchedulePart> parts;
};

struct ScheduleWindowDecl {
    std::string_view title;     // of an add; a change reads "Changing a Schedule Record"
    std::string_view section;   // POSITION.INI's
    std::string_view taskType;  // fixed task type, empty when the window offers the choice
    std::string_view scheduleType;
    std::vector<SchedulePage> pages;
};

const ScheduleWindowDecl& scheduleWindow(ScheduleWindow window);

inline bool isWizard(ScheduleWindow window) { return window != ScheduleWindow::EntryForm; }

// Whether `page` has work for an entry of `taskType`: a page holding only
// the command for a task that starts a program, one holding only the
// message for any but a bare program start.
bool pageUsed(const SchedulePage& page, std::string_view taskType);

// The page Next (step +1) or Back (step -1) moves to from `from`, past the
// pages the task type does not use; `from` itself at either end.
int stepPage(std::span<const SchedulePage> pages, int from, int step, std::string_view taskType);

}  // namespace plorix::ui
