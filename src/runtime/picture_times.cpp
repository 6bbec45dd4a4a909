// Time pictures t1 .. t8: showing times of day and reading them back.

#include <cstdio>
#include <vector>

#include "runtime/fixed_text.h"
#include "runtime/locale_formats.h"
#include "runtime/pictures.h"

namespace plorix {
namespace {

struct Clock12 {
    int hour;
    const char* mark;
};

// 12-hour reading of an hour 0..24 (24 is the end of the day, shown as the midnight it is).
Clock12 twelveHour(int hour) {
    const int h = hour % 24;
    return {h % 12 == 0 ? 12 : h % 12, h < 12 ? "AM" : "PM"};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits an AM/PM mark (English or the locale's, with or without dots) off
// the end of the text: 0 none, 1 AM, 2 PM, -1 letters that are no such mark.
int takeMark(std::string& text) {
    std::size_t start = text.size();
    while (start > 0 && !isDigit(text[start - 1]) && text[start - 1] != ':') --start;
    std::string mark = trim(text.substr(start));
    text = trim(text.substr(0, start));
    if (mark.empty()) return 0;
    const locale_forms::Names local = locale_forms::names();
    if (!local.am.empty() && equalNoCase(mark, local.am)) return 1;
    if (!local.pm.empty() && equalNoCase(mark, local.pm)) return 2;
    std::string letters;
    for (char c : mark)
        if (c != '.' && c != ' ') letters += c;
    if (equalNoCase(letters, "AM") || equalNoCase(letters, "A")) return 1;
    if (equalNoCase(letters, "PM") || equalNoCase(letters, "P")) return 2;
    return -1;
}

}  // namespace

std::string formatTime(Time time, std::string_view picture) {
    if (time <= 0) return {};
    const auto p = readPicture(picture);
    const int style = p && p->kind == PictureKind::Time ? p->style : 4;
    const int h = hoursOf(time), m = minutesOf(time), s = secondsOf(time);
    const Clock12 c = twelveHour(h);
    char buffer[64];
    switch (style) {
        case 1: std::snprintf(buffer, sizeof buffer, "%02d:%02d", h, m); break;
        case 2: std::snprintf(buffer, sizeof buffer, "%02d%02d", h, m); break;
        case 3: std::snprintf(buffer, sizeof buffer, "%d:%02d%s", c.hour, m, c.mark); break;
        case 5: std::snprintf(buffer, sizeof buffer, "%02d%02d%02d", h, m, s); break;
        case 6: std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d%s", c.hour, m, s, c.mark); break;
        case 7:
        case 8: {
            std::tm tm{};
            tm.tm_hour = h % 24;
            tm.tm_min = m;
            tm.tm_sec = s;
            return locale_forms::format(style == 7 ? locale_forms::shortTime() : locale_forms::longTime(), tm);
        }
        default: std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", h, m, s); break;
    }
    return buffer;
}

std::optional<Time> parseTime(std::string_view text) {
    std::string rest = trim(text);
    if (rest.empty()) return Time{0};
    const int mark = takeMark(rest);
    if (mark < 0 || rest.empty()) return std::nullopt;

    // Runs of digits with one separator (":" "." or a blank) between them.
    std::vector<std::string> parts(1);
    for (char c : rest) {
        if (isDigit(c)) {
            parts.back() += c;
        } else if ((c == ':' || c == '.' || c == ' ') && !parts.back().empty() && parts.size() < 4) {
            parts.emplace_back();
        } else {
            return std::nullopt;
        }
    }
    if (parts.back().empty()) return std::nullopt;
    if (parts.size() == 1) {
        // Digits alone: h, hh, hmm, hhmm, hmmss or hhmmss.
        const std::string digits = parts.front();
        if (digits.size() > 6) return std::nullopt;
        const std::size_t hourDigits = digits.size() <= 2 ? digits.size() : 2 - digits.size() % 2;
        parts = {digits.substr(0, hourDigits)};
        for (std::size_t pos = hourDigits; pos < digits.size(); pos += 2) parts.push_back(digits.substr(pos, 2));
    }
    if (parts[0].size() > 2) return std::nullopt;
    for (std::size_t i = 1; i < parts.size(); ++i)
        if (parts[i].size() > 2) return std::nullopt;

    int hours = std::stoi(parts[0]);
    const int minutes = parts.size() > 1 ? std::stoi(parts[1]) : 0;
    const int seconds = parts.size() > 2 ? std::stoi(parts[2]) : 0;
    // "17:30:00.5" is half a second: the last part is a decimal fraction.
    const int hundredths = parts.size() > 3 ? std::stoi(parts[3]) * (parts[3].size() == 1 ? 10 : 1) : 0;
    if (mark > 0) {
        if (hours > 12) return std::nullopt;
        if (hours == 12) hours = 0;
        if (mark == 2) hours += 12;
    }
    const Time time = makeTime(hours, minutes, seconds, hundredths);
    if (time == 0) return std::nullopt;
    return time;
}

}  // namespace plorix
