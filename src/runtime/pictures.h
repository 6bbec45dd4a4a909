#pragma once
// Display pictures: the short codes ("d3", "@t3b", "n-10.2", "s20") that say
// how a date, time, number or text is shown, and the readers that take shown
// text back (import, forms). Pictures are case-insensitive and may start with
// "@"; a "b" suffix leaves a zero value blank.
//
// Dates: d1 mm/dd/yy, d2 mm/dd/yyyy, d3 MON dd,yyyy, d4 Month d, yyyy,
// d5 dd/mm/yy, d6 dd/mm/yyyy, d7 dd MON yy, d8 dd MON yyyy, d9 yy/mm/dd,
// d10 yyyy/mm/dd, d11 yymmdd, d12 yyyymmdd, d13 mm/yy, d14 mm/yyyy, d15 yy/mm,
// d16 yyyy/mm, d17/d18 the locale's short/long date.
// Times: t1 hh:mm, t2 hhmm, t3 h:mmXM, t4 hh:mm:ss, t5 hhmmss, t6 h:mm:ssXM,
// t7 the locale's short time (at most 10 characters), t8 its long time.
// Numbers: n[-]W[.D][b]; texts: sW.

#include <optional>
#include <string>
#include <string_view>

#include "runtime/date_time.h"

namespace plorix {

enum class PictureKind { Invalid, Date, Time, Number, Text };

// A picture taken apart.
struct Picture {
    PictureKind kind = PictureKind::Invalid;
    int style = 0;           // date 1..18, time 1..8
    int width = 0;           // number or text width in characters (number: 0 = free)
    int decimals = 0;        // number: digits after the decimal point
    bool sign = false;       // number: "-" given (signs are shown and read either way)
    bool blankZero = false;  // "b" suffix: zero shows as an empty text
};

// Takes a picture text apart; nullopt when it is not a valid picture.
std::optional<Picture> readPicture(std::string_view picture);
// The kind of a picture text (Invalid when it is not one).
PictureKind pictureKind(std::string_view picture);

// Date 0 gives "". A number picture shows the date's year ("n4b" = year only);
// any other non-date picture falls back to d3.
std::string formatDate(Date date, std::string_view picture);
// Time 0 gives ""; 24-hour pictures show the end of the day as 24:00. A non-time
// picture falls back to t4.
std::string formatTime(Time time, std::string_view picture);
// Right-aligned in the width, rounded half away from zero to the decimals; a
// number wider than the picture is shown in full rather than cut.
std::string formatNumber(double value, std::string_view picture);
// Text cut to the picture's width in characters (not padded).
std::string formatText(std::string_view text, std::string_view picture);

// Formats by the picture's letter: d date, t time, n number, s the number as text.
std::string formatPicture(double value, std::string_view picture);
// Formats by the picture's letter: s text; d, t, n read the text as a number first.
std::string formatPicture(std::string_view text, std::string_view picture);

// Reads a shown date back in the picture's field order; blank text is date 0;
// nullopt for text that is no valid date. Month names (English or the locale's,
// full or abbreviated) are accepted in any picture; two-digit years expand by
// expandTwoDigitYear.
std::optional<Date> parseDate(std::string_view text, std::string_view picture);
// Reads a time in any of the time forms, whatever the picture it was shown
// with ("17:30", "1730", "5:30 pm", "17:30:00.25", "24:00"); blank text is
// time 0; nullopt for anything else.
std::optional<Time> parseTime(std::string_view text);
// Reads a number ("  -12.50 ", "+3", ".5"); blank text is 0; nullopt otherwise.
std::optional<double> parseNumber(std::string_view text);
// Reads text by a d, t or n picture (the date or time as its number);
// nullopt for unreadable text or an s or invalid picture.
std::optional<double> parsePicture(std::string_view text, std::string_view picture);

// A two-digit year as the year from 79 years before to 20 years after the
// current year of the process clock (in 2025: 45 -> 2045, 46 -> 1946).
int expandTwoDigitYear(int twoDigitYear);

// English month and weekday names: "October", "OCT", "Saturday" ("" out of range).
std::string monthName(int month);
std::string monthAbbreviation(int month);
std::string weekdayName(int weekday);

}  // namespace plorix
