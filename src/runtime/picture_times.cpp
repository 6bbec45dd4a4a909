// Time pictures t1 .. t8: showing times of day and reading them back.

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

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }
bool isSeparator(char c) { return c == ':' || c == '.' || c == ' ' || !isAscii(c); }

// Splits an AM/PM mark off the text: the locale's own mark at either end, or
// an English one ("pm", "P.M.", "p") at the end. 0 none, 1 AM, 2 PM, -1 for
// trailing letters that are no such mark.
int takeMark(std::string& text) {
    const locale_forms::Names& local = locale_forms::names();
    for (int mark = 1; mark <= 2; ++mark) {
        const std::string& word = mark == 1 ? local.am : local.pm;
        if (word.empty() || word.size() >= text.size()) continue;
        if (startsWithNoCase(text, word)) {
            text = trim(text.substr(word.size()));
            return mark;
        }
        if (endsWithNoCase(text, word)) {
            text = trim(text.substr(0, text.size() - word.size()));
            return mark;
        }
    }
    std::size_t start = text.size();
    while (start > 0 && isAscii(text[start - 1]) && !isDigit(text[start - 1]) && text[start - 1] != ':')
        --start;
    std::string letters;
    for (char c : text.substr(start))
        if (c != '.' && c != ' ') letters += c;
    if (letters.empty()) return 0;
    text = trim(text.substr(0, start));
    if (equalNoCase(letters, "AM") || equalNoCase(letters, "A")) return 1;
    if (equalNoCase(letters, "PM") || equalNoCase(letters, "P")) return 2;
    return -1;
}

// Runs of digits divided by one separator (":" "." or a blank) or by marks
// of other scripts ("17時30分05秒"); such marks may also end the text.
std::optional<std::vector<std::string>> splitParts(std::string_view text) {
    std::vector<std::string> parts;
    for (std::size_t pos = 0; pos < text.size();) {
        if (isDigit(text[pos])) {
            std::size_t end = pos;
            while (end < text.size() && isDigit(text[end])) ++end;
            parts.emplace_back(text.substr(pos, end - pos));
            pos = end;
            continue;
        }
        std::size_t end = pos;
        int ascii = 0;
        while (end < text.size() && isSeparator(text[end])) ascii += isAscii(text[end++]) ? 1 : 0;
        const bool leading = pos == 0, trailing = end == text.size();
        if (end == pos || ascii > 1 || (ascii > 0 && (leading || trailing)) || parts.size() >= 4)
            return std::nullopt;
        pos = end;
    }
    if (parts.empty()) return std::nullopt;
    return parts;
}

}  // namespace

std::string formatTime(Time time, std::string_view picture) {
    if (time <= 0) return {};
    const auto p = readPicture(picture);
    const int style = p && p->kind == PictureKind::Time ? p->style : 4;
    const int h = hoursOf(time), m = minutesOf(time), s = secondsOf(time);
    const Clock12 c = twelveHour(h);
    switch (style) {
    case 1: return twoDigits(h) + ":" + twoDigits(m);
    case 2: return twoDigits(h) + twoDigits(m);
    case 3: return std::to_string(c.hour) + ":" + twoDigits(m) + c.mark;
    case 5: return twoDigits(h) + twoDigits(m) + twoDigits(s);
    case 6: return std::to_string(c.hour) + ":" + twoDigits(m) + ":" + twoDigits(s) + c.mark;
    case 7:
    case 8: {
        std::tm tm{};
        tm.tm_hour = h % 24;
        tm.tm_min = m;
        tm.tm_sec = s;
        return locale_forms::format(style == 7 ? locale_forms::shortTime() : locale_forms::longTime(), tm);
    }
    default: return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(s);
    }
}

std::optional<Time> parseTime(std::string_view text) {
    std::string rest = trim(text);
    if (rest.empty()) return Time{0};
    const int mark = takeMark(rest);
    if (mark < 0 || rest.empty()) return std::nullopt;

    auto split = splitParts(rest);
    if (!split) return std::nullopt;
    std::vector<std::string> parts = std::move(*split);
    if (parts.size() == 1) {
        // Digits alone: h, hh, hmm, hhmm, hmmss or hhmmss.
        const std::string digits = parts.front();
        if (digits.size() > 6) return std::nullopt;
        const std::size_t hourDigits = digits.size() <= 2 ? digits.size() : 2 - digits.size() % 2;
        parts = {digits.substr(0, hourDigits)};
        for (std::size_t pos = hourDigits; pos < digits.size(); pos += 2)
            parts.push_back(digits.substr(pos, 2));
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
