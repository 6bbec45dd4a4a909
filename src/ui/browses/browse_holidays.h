#pragma once
// BROWSEHOLIDAYS ("Browse Holidays") and its form UPDATEHOLIDAYS: the days
// that tasks excepting holidays keep clear of.

#include "ui/kit/browse_window.h"
#include "ui/kit/record_form.h"

namespace plorix::ui {

const RecordFormSpec& updateHolidaysForm();

class BrowseHolidays final : public BrowseWindow {
public:
    explicit BrowseHolidays(Prompter& prompter, QWidget* parent = nullptr);
};

// Opens the holidays as a window of `parent` that closes with it.
void openBrowseHolidays(Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
