#pragma once
// The process locale's date and time forms (LC_TIME of std::setlocale),
// behind the pictures d17, d18, t7 and t8. Internal to the runtime.

#include <array>
#include <ctime>
#include <string>
#include <string_view>

namespace plorix::locale_forms {

// strftime forms: the locale's short date (as %x), a long date built from its
// date-and-time form with the time left out and names written in full, the
// short time (at most 10 characters: no leading zero, no blank before AM/PM)
// and the long time (as %X). The "C" locale gives mm/dd/yy,
// "Saturday, October 31, 1959", 17:30:00 and 17:30:00.
std::string shortDate();
std::string longDate();
std::string shortTime();
std::string longTime();

// strftime into a string ("" when the result would be empty or too long).
std::string format(const std::string& form, const std::tm& tm);

// Order of day, month and year in a form, as "DMY", "MDY", "YMD" ...
std::string fieldOrder(std::string_view form);

// The locale's month names (full and abbreviated), weekday names and AM/PM marks.
struct Names {
    std::array<std::string, 12> months, monthAbbreviations;
    std::array<std::string, 7> weekdays, weekdayAbbreviations;
    std::string am, pm;
};
const Names& names();  // valid until the locale changes on this thread

}  // namespace plorix::locale_forms
