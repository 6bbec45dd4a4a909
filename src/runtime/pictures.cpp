// Picture syntax, the dispatch by picture letter, and the English names.

#include "runtime/pictures.h"

#include <charconv>
#include <cmath>
#include <climits>

#include "runtime/fixed_text.h"

namespace plorix {
namespace {

// Reads up to `maxDigits` digits at `pos`; -1 when there are none or too many.
int readCount(std::string_view text, std::size_t& pos, int maxDigits) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (static_cast<int>(pos - start) == maxDigits) return -1;
        value = value * 10 + (text[pos++] - '0');
    }
    return pos == start ? -1 : value;
}

// The largest widths a picture may ask for; wider would only be a typing slip.
constexpr int kMaxNumberWidth = 255;
constexpr int kMaxDecimals = 30;
constexpr int kMaxTextWidth = 65535;

std::string shortestNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Dates and times travel as doubles through the generic entry points; values
// that are no whole number in range count as "none".
std::int32_t toInt32(double value) {
    if (!(value >= INT_MIN && value <= INT_MAX)) return 0;
    return static_cast<std::int32_t>(std::lround(value));
}

constexpr std::string_view kMonths[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
constexpr std::string_view kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

}  // namespace

std::optional<Picture> readPicture(std::string_view text) {
    std::string_view p = trimmedView(text);
    if (!p.empty() && p.front() == '@') p.remove_prefix(1);
    if (p.empty()) return std::nullopt;
    Picture picture;
    std::size_t pos = 1;
    switch (p.front()) {
    case 'd':
    case 'D':
    case 't':
    case 'T': {
        const bool date = p.front() == 'd' || p.front() == 'D';
        picture.kind = date ? PictureKind::Date : PictureKind::Time;
        picture.style = readCount(p, pos, 2);
        if (picture.style < 1 || picture.style > (date ? 18 : 8)) return std::nullopt;
        break;
    }
    case 'n':
    case 'N':
        picture.kind = PictureKind::Number;
        if (pos < p.size() && p[pos] == '-') {
            picture.sign = true;
            ++pos;
        }
        if (pos < p.size() && p[pos] >= '0' && p[pos] <= '9') {
            picture.width = readCount(p, pos, 3);
            if (picture.width < 0 || picture.width > kMaxNumberWidth) return std::nullopt;
        }
        if (pos < p.size() && p[pos] == '.') {
            ++pos;
            picture.decimals = readCount(p, pos, 2);
            if (picture.decimals < 0 || picture.decimals > kMaxDecimals) return std::nullopt;
        }
        break;
    case 's':
    case 'S':
        picture.kind = PictureKind::Text;
        picture.width = readCount(p, pos, 5);
        if (picture.width < 1 || picture.width > kMaxTextWidth) return std::nullopt;
        break;
    default: return std::nullopt;
    }
    if (pos < p.size() && (p[pos] == 'b' || p[pos] == 'B') && picture.kind != PictureKind::Text) {
        picture.blankZero = true;
        ++pos;
    }
    if (pos != p.size()) return std::nullopt;
    return picture;
}

PictureKind pictureKind(std::string_view picture) {
    const auto p = readPicture(picture);
    return p ? p->kind : PictureKind::Invalid;
}

std::string formatText(std::string_view text, std::string_view picture) {
    const auto p = readPicture(picture);
    if (!p || p->kind != PictureKind::Text) return std::string(text);
    return cutToWidth(text, static_cast<std::size_t>(p->width));
}

std::string formatPicture(double value, std::string_view picture) {
    switch (pictureKind(picture)) {
    case PictureKind::Date: return formatDate(toInt32(value), picture);
    case PictureKind::Time: return formatTime(toInt32(value), picture);
    case PictureKind::Number: return formatNumber(value, picture);
    case PictureKind::Text: return formatText(shortestNumber(value), picture);
    case PictureKind::Invalid: break;
    }
    return shortestNumber(value);
}

std::string formatPicture(std::string_view text, std::string_view picture) {
    const PictureKind kind = pictureKind(picture);
    if (kind == PictureKind::Text) return formatText(text, picture);
    if (kind == PictureKind::Invalid) return std::string(text);
    // Text that is no number is shown as it is rather than as a made-up zero.
    const auto number = parseNumber(text);
    return number ? formatPicture(*number, picture) : std::string(text);
}

std::optional<double> parsePicture(std::string_view text, std::string_view picture) {
    switch (pictureKind(picture)) {
    case PictureKind::Date:
        if (const auto date = parseDate(text, picture)) return *date;
        break;
    case PictureKind::Time:
        if (const auto time = parseTime(text)) return *time;
        break;
    case PictureKind::Number: return parseNumber(text);
    case PictureKind::Text:
    case PictureKind::Invalid: break;
    }
    return std::nullopt;
}

std::string monthName(int month) {
    return month >= 1 && month <= 12 ? std::string(kMonths[month - 1]) : std::string();
}

std::string monthAbbreviation(int month) { return toUpper(monthName(month).substr(0, 3)); }

std::string weekdayName(int weekday) {
    return weekday >= 0 && weekday <= 6 ? std::string(kWeekdays[weekday]) : std::string();
}

}  // namespace plorix
