#include "settings/setting_values.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <variant>

#include "data/tables/configuration.h"
#include "runtime/fixed_text.h"

namespace plorix::settings {

namespace {

constexpr std::string_view kDateFormatKey = "DateFormat";

}  // namespace

NumberRange numberRange(const SettingDecl& decl) {
    if (std::holds_alternative<std::uint8_t Settings::*>(decl.member))
        return {0, std::numeric_limits<std::uint8_t>::max()};
    return {-1, 9999999};
}

std::string shownValue(const SettingDecl& decl, const Settings& s) {
    if (auto m = std::get_if<bool Settings::*>(&decl.member)) return s.**m ? "1" : "0";
    return toStored(decl, s);
}

int textWidth(const SettingDecl& decl) {
    const store::TableSchema& table = data::Configuration::schema();
    return std::min(decl.width, table.fields[table.fieldIndex("DATAVALUE")].capacity);
}

std::string takeShownValue(const SettingDecl& decl, std::string_view text, Settings& s) {
    if (auto m = std::get_if<bool Settings::*>(&decl.member)) {
        if (text != "0" && text != "1") return "is not 0 (off) or 1 (on)";
        s.** m = text == "1";
        return {};
    }
    if (auto m = std::get_if<std::string Settings::*>(&decl.member)) {
        if (decl.key == kDateFormatKey) {
            std::string_view picture = dateFormatPicture(text);
            if (picture.empty() && !dateFormatText(text).empty()) picture = text;
            if (picture.empty()) return "is not a date format (a picture such as d3, or its list text)";
            s.** m = std::string(picture);
            return {};
        }
        const auto width = static_cast<std::size_t>(textWidth(decl));
        if (characterCount(text) > width)
            return "is longer than its " + std::to_string(width) + " characters";
        s.** m = std::string(text);
        return {};
    }
    const NumberRange range = numberRange(decl);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < range.least ||
        value > range.most) {
        return "is not a whole number from " + std::to_string(range.least) + " to " +
               std::to_string(range.most);
    }
    if (auto m = std::get_if<std::uint8_t Settings::*>(&decl.member))
        s.** m = static_cast<std::uint8_t>(value);
    else
        s.*std::get<std::int32_t Settings::*>(decl.member) = static_cast<std::int32_t>(value);
    return {};
}

}  // namespace plorix::settings
