#pragma once
// SELECTSCHEDULE ("Select Task"): the tasks by category, date and time;
// Enter, a double-click or "&Select" returns the highlighted one's SCH:ID.

#include <cstdint>
#include <optional>

#include "ui/kit/record_picker.h"

namespace plorix::ui {

class SelectSchedule final : public RecordPicker {
public:
    explicit SelectSchedule(Prompter& prompter, QWidget* parent = nullptr);
    std::int32_t chosen() const { return chosen_; }

protected:
    void take(const void* record) override;

private:
    std::int32_t chosen_ = 0;
};

// The SCH:ID of the task chosen, nullopt when the picker was closed.
std::optional<std::int32_t> selectSchedule(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
