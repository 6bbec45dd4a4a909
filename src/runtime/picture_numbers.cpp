// Number pictures: n[-]W[.D][b].

#include <charconv>
#include <cmath>
#include <cstdint>

#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix {
namespace {

std::string fixedDecimals(double value, int decimals) {
    // Enough for any finite double in fixed notation with the most decimals.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

// Rounds half away from zero, as people round, where printf would round an
// exact half to even (2.5 -> "2").
double roundHalfAway(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!(std::fabs(scaled) < 9007199254740992.0)) return value;  // beyond exact integers
    return std::round(scaled) / scale;
}

}  // namespace

std::string formatNumber(double value, std::string_view picture) {
    if (!std::isfinite(value)) return {};
    const auto p = readPicture(picture);
    const Picture number = p && p->kind == PictureKind::Number ? *p : Picture{PictureKind::Number};
    double rounded = roundHalfAway(value, number.decimals);
    if (rounded == 0) rounded = 0;  // no "-0"
    if (rounded == 0 && number.blankZero) return {};
    const std::string text = fixedDecimals(rounded, number.decimals);
    const auto width = static_cast<std::size_t>(number.width);
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::optional<double> parseNumber(std::string_view text) {
    std::string_view digits = trimmedView(text);
    if (digits.empty()) return 0.0;
    bool negative = false;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    // Digits with at most one decimal point and at least one digit; anything
    // else (exponents, blanks inside, a second sign) is not a shown number.
    bool point = false, anyDigit = false;
    for (char c : digits) {
        if (c >= '0' && c <= '9') {
            anyDigit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (!point && digits.size() <= 15) {
        // Whole numbers of up to 15 digits are exact in a double: no need
        // for the general reader.
        std::int64_t whole = 0;
        for (char c : digits) whole = whole * 10 + (c - '0');
        const auto value = static_cast<double>(whole);
        return negative ? -value : value;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace plorix
