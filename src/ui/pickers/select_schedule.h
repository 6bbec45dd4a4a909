#pragma once
// SELECTSCHEDULE ("Select Task"): the tasks by category, date and time;
// Enter, a double-click or "&Select" returns the highlighted one's SCH:ID.

#include <QDialog>
#include <cstdint>
#include <optional>

#include "runtime/prompter.h"

namespace plorix::ui {

class BrowseWindow;

class SelectSchedule final : public QDialog {
public:
    explicit SelectSchedule(Prompter& prompter, QWidget* parent = nullptr);
    BrowseWindow& browse() { return *browse_; }
    std::int32_t chosen() const { return chosen_; }

private:
    void choose();
    BrowseWindow* browse_;
    std::int32_t chosen_ = 0;
};

// The SCH:ID of the task chosen, nullopt when the picker was closed.
std::optional<std::int32_t> selectSchedule(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
