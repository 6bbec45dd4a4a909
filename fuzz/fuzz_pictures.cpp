// Pictures and shown text of arbitrary bytes: "picture\ntext". Reading and
// formatting must not fail, and a date or time read back must survive being
// shown and read again in every picture that keeps all its digits.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

constexpr const char* kLosslessDates[] = {"d2", "d3", "d4", "d6", "d8", "d10", "d12", "d18"};

void roundTripDate(plorix::Date date) {
    if (date == 0) return;
    for (const char* picture : kLosslessDates)
        check(plorix::parseDate(plorix::formatDate(date, picture), picture) == date);
}

// Every time picture keeps the minute; t4 .. t8 keep the second. The
// 12-hour and locale forms show the end of the day as the midnight it is.
void roundTripTime(plorix::Time time) {
    if (time == 0) return;
    const auto same = [&](const char* picture, plorix::Time unit) {
        const auto back = plorix::parseTime(plorix::formatTime(time, picture));
        check(back && (*back - 1) / unit == (time - 1) / unit);
    };
    same("t1", plorix::kHundredthsPerMinute);
    same("t2", plorix::kHundredthsPerMinute);
    same("t4", plorix::kHundredthsPerSecond);
    same("t5", plorix::kHundredthsPerSecond);
    if (time == plorix::kEndOfDay) return;
    same("t3", plorix::kHundredthsPerMinute);
    for (const char* picture : {"t6", "t7", "t8"}) same(picture, plorix::kHundredthsPerSecond);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view picture = input.substr(0, newline);
    const std::string_view text =
        newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    plorix::readPicture(picture);
    plorix::formatPicture(text, picture);
    if (const auto value = plorix::parsePicture(text, picture)) plorix::formatPicture(*value, picture);
    if (const auto number = plorix::parseNumber(text)) {
        plorix::formatNumber(*number, picture);
        plorix::formatPicture(*number, picture);
    }

    for (int style = 1; style <= 18; ++style) {
        const std::string datePicture = "d" + std::to_string(style);
        if (const auto date = plorix::parseDate(text, datePicture)) roundTripDate(*date);
    }
    if (const auto time = plorix::parseTime(text)) roundTripTime(*time);

    const std::size_t width = size % 64;
    check(plorix::characterCount(plorix::cutToWidth(text, width)) <= width);
    check(plorix::characterCount(plorix::padRight(text, width)) == width);
    plorix::compareNoCase(text, picture);
    plorix::findNoCase(text, picture);
    return 0;
}
