// Date pictures d1 .. d18: showing day numbers and reading them back.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "runtime/clock.h"
#include "runtime/fixed_text.h"
#include "runtime/locale_formats.h"
#include "runtime/pictures.h"

namespace plorix {
namespace {

// Layouts of the fixed date pictures d1 .. d16. Tokens: yyyy, yy, mm, dd,
// d (day without a leading zero), MON (JAN), Month (January); anything else
// is literal. Reading back takes its field order from the same layout.
constexpr std::array<std::string_view, 16> kLayouts = {
    "mm/dd/yy",  "mm/dd/yyyy",  "MON dd,yyyy", "Month dd, yyyy", "dd/mm/yy", "dd/mm/yyyy",
    "dd MON yy", "dd MON yyyy", "yy/mm/dd",    "yyyy/mm/dd",     "yymmdd",   "yyyymmdd",
    "mm/yy",     "mm/yyyy",     "yy/mm",       "yyyy/mm"};

constexpr std::string_view kTokens[] = {"yyyy", "yy", "mm", "dd", "Month", "MON", "d"};

std::string_view tokenAt(std::string_view layout, std::size_t pos) {
    for (std::string_view token : kTokens)
        if (layout.substr(pos, token.size()) == token) return token;
    return {};
}

std::string formatLayout(std::string_view layout, const CivilDate& c) {
    std::string out;
    for (std::size_t pos = 0; pos < layout.size();) {
        const std::string_view token = tokenAt(layout, pos);
        if (token.empty()) {
            out += layout[pos++];
            continue;
        }
        if (token == "yyyy")
            out += std::to_string(c.year);
        else if (token == "yy")
            out += twoDigits(c.year % 100);
        else if (token == "mm")
            out += twoDigits(c.month);
        else if (token == "dd")
            out += twoDigits(c.day);
        else if (token == "d")
            out += std::to_string(c.day);
        else if (token == "MON")
            out += monthAbbreviation(c.month);
        else
            out += monthName(c.month);
        pos += token.size();
    }
    return out;
}

std::string layoutOrder(std::string_view layout) {
    std::string order;
    for (std::size_t pos = 0; pos < layout.size();) {
        const std::string_view token = tokenAt(layout, pos);
        pos += token.empty() ? 1 : token.size();
        if (!token.empty()) order += token[0] == 'y' ? 'Y' : token[0] == 'd' ? 'D' : 'M';
    }
    return order;
}

std::tm tmFromDate(Date date) {
    const CivilDate c = civilFromDate(date);
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_wday = weekdayOf(date);
    tm.tm_yday = date - makeDate(1, 1, c.year);
    tm.tm_isdst = -1;
    return tm;
}

// The field order a picture reads dates in ("MDY", "DMY", "YMD", "MY", "YM").
std::string orderOf(const std::optional<Picture>& p) {
    if (!p || p->kind != PictureKind::Date) return "MDY";
    if (p->style >= 17) {
        const std::string order =
            locale_forms::fieldOrder(p->style == 17 ? locale_forms::shortDate() : locale_forms::longDate());
        return order.size() == 3 ? order : "MDY";
    }
    return layoutOrder(kLayouts[static_cast<std::size_t>(p->style - 1)]);
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A word is a month (1..12), a weekday (0, ignored), or neither (-1). Full
// names, abbreviations and beginnings of at least three letters count, in
// English and in the process locale.
int classifyWord(std::string_view word, const locale_forms::Names& local) {
    const auto matches = [&](std::string_view full, std::string_view abbreviation) {
        return equalNoCase(word, full) || (!abbreviation.empty() && equalNoCase(word, abbreviation)) ||
               (word.size() >= 3 && word.size() <= full.size() && startsWithNoCase(full, word));
    };
    for (int m = 1; m <= 12; ++m)
        if (matches(monthName(m), {}) || matches(local.months[m - 1], local.monthAbbreviations[m - 1]))
            return m;
    for (int d = 0; d < 7; ++d)
        if (matches(weekdayName(d), {}) || matches(local.weekdays[d], local.weekdayAbbreviations[d]))
            return 0;
    return -1;
}

struct Fields {
    int year = -1, month = -1, day = 1;
};

// Assigns a run of digits without separators ("591031", "19591031") to the
// fields in order: two digits each for day and month, the rest for the year.
bool splitCompact(std::string_view digits, std::string_view order, std::vector<std::string>& out) {
    const std::size_t yearDigits = digits.size() - 2 * (order.size() - 1);
    if (digits.size() < 2 * (order.size() - 1) || (yearDigits != 2 && yearDigits != 4)) return false;
    std::size_t pos = 0;
    for (char field : order) {
        const std::size_t n = field == 'Y' ? yearDigits : 2;
        out.emplace_back(digits.substr(pos, n));
        pos += n;
    }
    return true;
}

bool assign(Fields& f, char field, std::string_view digits) {
    if (digits.empty() || digits.size() > (field == 'Y' ? 4u : 2u)) return false;
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    if (field == 'Y')
        f.year = digits.size() <= 2 ? expandTwoDigitYear(value) : value;
    else if (field == 'M')
        f.month = value;
    else
        f.day = value;
    return true;
}

std::optional<Date> readFields(std::string_view text, std::string order) {
    const locale_forms::Names& local = locale_forms::names();
    std::vector<std::string> numbers;
    int namedMonth = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        std::size_t end = pos;
        if (isDigit(c)) {
            while (end < text.size() && isDigit(text[end])) ++end;
            numbers.emplace_back(text.substr(pos, end - pos));
        } else if (isLetter(c)) {
            while (end < text.size() && isLetter(text[end])) ++end;
            const std::string_view word = text.substr(pos, end - pos);
            const int kind = classifyWord(word, local);
            // Unknown words of other scripts are date marks ("1959年10月31日").
            const bool mark = kind < 0 && std::all_of(word.begin(), word.end(), [](char ch) {
                                  return static_cast<unsigned char>(ch) >= 0x80;
                              });
            if ((kind < 0 && !mark) || (kind > 0 && namedMonth > 0)) return std::nullopt;
            if (kind > 0) namedMonth = kind;
        } else {
            end = pos + 1;  // a separator
        }
        pos = end;
    }
    if (namedMonth > 0) order.erase(order.find('M'), 1);
    if (numbers.size() == 1 && order.size() > 1) {
        const std::string compact = numbers.front();
        numbers.clear();
        if (!splitCompact(compact, order, numbers)) return std::nullopt;
    }
    if (numbers.size() != order.size()) return std::nullopt;
    Fields f;
    if (namedMonth > 0) f.month = namedMonth;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (!assign(f, order[i], numbers[i])) return std::nullopt;
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > daysInMonth(f.month, f.year)) return std::nullopt;
    const Date date = makeDate(f.month, f.day, f.year);
    if (date == 0) return std::nullopt;
    return date;
}

}  // namespace

std::string formatDate(Date date, std::string_view picture) {
    const auto p = readPicture(picture);
    const CivilDate c = civilFromDate(date);
    if (c.year == 0) return {};
    if (p && p->kind == PictureKind::Number) return formatNumber(c.year, picture);
    const int style = p && p->kind == PictureKind::Date ? p->style : 3;
    if (style == 17) return locale_forms::format(locale_forms::shortDate(), tmFromDate(date));
    if (style == 18) return locale_forms::format(locale_forms::longDate(), tmFromDate(date));
    return formatLayout(kLayouts[static_cast<std::size_t>(style - 1)], c);
}

std::optional<Date> parseDate(std::string_view text, std::string_view picture) {
    const std::string trimmed = trim(text);
    if (trimmed.empty()) return Date{0};
    const auto p = readPicture(picture);
    if (p && p->kind == PictureKind::Number) {
        // The "year only" form: a year reads back as its first day.
        const auto year = parseNumber(trimmed);
        if (!year || !(*year >= 1 && *year <= 9999) || *year != std::floor(*year)) return std::nullopt;
        const Date date = makeDate(1, 1, static_cast<int>(*year));
        return date ? std::optional<Date>(date) : std::nullopt;
    }
    return readFields(trimmed, orderOf(p));
}

int expandTwoDigitYear(int twoDigitYear) {
    int current = yearOf(processClock().today());
    if (current == 0) current = 2000;
    int year = current / 100 * 100 + twoDigitYear % 100;
    if (year > current + 20) year -= 100;
    if (year < current - 79) year += 100;
    return year;
}

}  // namespace plorix
