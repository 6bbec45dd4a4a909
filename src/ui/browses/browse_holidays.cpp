#include "ui/browses/browse_holidays.h"

#include "data/holiday_category_rules.h"
#include "data/tables/holidays.h"

namespace plorix::ui {

namespace {

BrowseSpec holidaysSpec() {
    return {.schema = &data::Holidays::schema(),
            .title = "Browse Holidays",
            .section = "BrowseHolidays",
            .tabs = {{"Holiday Date", data::keys::Holidays::KEYHOLIDAYDATE}},
            .columns = {{"HOL:HOLIDAYDATE", "d3", "Holiday Date", 14},
                        {"HOL:HOLIDAY", "", "Holiday", 22},
                        {"HOL:ANNUAL", kFlagPicture, "Repeat Annually", 8}},
            .emptyText = "No holidays are defined yet. Press Add to enter one."};
}

}  // namespace

const RecordFormSpec& updateHolidaysForm() {
    static const RecordFormSpec declaration{.schema = &data::Holidays::schema(),
                                     .title = "Update the Holidays File",
                                     .section = "UpdateHolidays",
                                     .rules = &data::holidayForm(),
                                     .fields = {{"HOL:HOLIDAYDATE", EditorKind::Date, "&Holiday Date:"},
                                                {"HOL:HOLIDAY", EditorKind::Text, "&Holiday:"},
                                                {"HOL:ANNUAL", EditorKind::Check, "Repeat Annually"}}};
    return declaration;
}

BrowseHolidays::BrowseHolidays(Prompter& prompter, QWidget* parent)
    : BrowseWindow(holidaysSpec(), prompter, parent) {
    setActions(formActions(updateHolidaysForm(), *this));
    setButtons(standardButtons(*this));
    setMenu(standardButtons(*this));
    start();
}

void openBrowseHolidays(Prompter& prompter, QWidget* parent) {
    auto* window = new BrowseHolidays(prompter, parent);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

}  // namespace plorix::ui
