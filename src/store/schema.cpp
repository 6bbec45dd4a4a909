#include "store/schema.h"

#include <charconv>
#include <limits>
#include <stdexcept>

#include "store/record_macros.h"
#include "runtime/fixed_text.h"

namespace plorix::store {

bool isText(FieldKind kind) {
    return kind == FieldKind::String || kind == FieldKind::CString || kind == FieldKind::Memo;
}

bool isNumeric(FieldKind kind) { return !isText(kind); }

ConstFieldRef FieldDesc::cref(const void* record) const {
    FieldRef r = ref(const_cast<void*>(record));
    return std::visit([](auto* p) -> ConstFieldRef { return p; }, r);
}

namespace {

template <typename Desc>
int indexByName(const std::vector<Desc>& items, std::string_view name) {
    const std::string wanted = toUpper(name);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& full = items[i].name;
        if (full == wanted) return static_cast<int>(i);
        const auto colon = full.find(':');
        if (colon != std::string::npos && full.compare(colon + 1, std::string::npos, wanted) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

int TableSchema::fieldIndex(std::string_view name) const { return indexByName(fields, name); }
int TableSchema::keyIndex(std::string_view name) const { return indexByName(keys, name); }
int TableSchema::groupIndex(std::string_view name) const { return indexByName(groups, name); }

const KeyDesc* TableSchema::primaryKey() const {
    for (const auto& key : keys) {
        if (key.primary()) return &key;
    }
    return nullptr;
}

namespace detail {

FieldDesc makeField(const char* prefix, const char* member, FieldKind kind, int width,
                    FieldRef (*ref)(void*)) {
    std::string column = member;
    for (char& c : column) {
        if (c == '_') c = ':';
    }
    int capacity = 0;
    if (kind == FieldKind::String || kind == FieldKind::Memo) capacity = width;
    if (kind == FieldKind::CString) capacity = width - 1;
    return FieldDesc{toUpper(prefix) + ":" + column, column, kind, width, capacity, ref};
}

}  // namespace detail

std::int64_t fieldInt(const FieldDesc& field, const void* record) {
    return std::visit(
        [](auto* p) -> std::int64_t {
            if constexpr (std::is_same_v<decltype(p), const TextBase*>) {
                throw std::logic_error("fieldInt on a text field");
            } else {
                return *p;
            }
        },
        field.cref(record));
}

void setFieldInt(const FieldDesc& field, void* record, std::int64_t value) {
    std::visit(
        [value](auto* p) {
            using T = std::remove_pointer_t<decltype(p)>;
            if constexpr (std::is_same_v<T, TextBase>) {
                throw std::logic_error("setFieldInt on a text field");
            } else {
                *p = static_cast<T>(value);
            }
        },
        field.ref(record));
}

const TextBase& fieldText(const FieldDesc& field, const void* record) {
    auto r = field.cref(record);
    if (auto* text = std::get_if<const TextBase*>(&r)) return **text;
    throw std::logic_error("fieldText on a numeric field");
}

void setFieldText(const FieldDesc& field, void* record, std::string_view value) {
    auto r = field.ref(record);
    if (auto* text = std::get_if<TextBase*>(&r)) {
        (*text)->assign(value, field.capacity);
        return;
    }
    throw std::logic_error("setFieldText on a numeric field");
}

bool fieldIsBlank(const FieldDesc& field, const void* record) {
    return isText(field.kind) ? fieldText(field, record).empty() : fieldInt(field, record) == 0;
}

namespace {

std::string twoDigits(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string dateToText(Date date) {
    if (date == 0) return {};
    const CivilDate c = civilFromDate(date);
    if (c.year == 0) return std::to_string(date);
    std::string year = std::to_string(c.year);
    while (year.size() < 4) year.insert(year.begin(), '0');
    return year + "-" + twoDigits(c.month) + "-" + twoDigits(c.day);
}

std::string timeToText(Time time) {
    if (time == 0) return {};
    if (time < 1 || time > kEndOfDay) return std::to_string(time);
    const int t = time - 1;
    const int hundredths = t % 100;
    const int seconds = t / 100 % 60;
    const int minutes = t / kHundredthsPerMinute % 60;
    const int hours = t / kHundredthsPerHour;
    std::string text = twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(seconds);
    if (hundredths != 0) text += "." + twoDigits(hundredths);
    return text;
}

// Reads an unsigned run of exactly `digits` digits (1-2 when digits is 0).
bool readDigits(std::string_view& text, int digits, int& value) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
    if (digits == 0 ? (n < 1 || n > 2) : n != static_cast<std::size_t>(digits)) return false;
    std::from_chars(text.data(), text.data() + n, value);
    text.remove_prefix(n);
    return true;
}

bool readSeparator(std::string_view& text, char separator) {
    if (text.empty() || text.front() != separator) return false;
    text.remove_prefix(1);
    return true;
}

bool parseDate(std::string_view text, std::int64_t& out) {
    int year = 0, month = 0, day = 0;
    if (!readDigits(text, 4, year) || !readSeparator(text, '-') || !readDigits(text, 0, month) ||
        !readSeparator(text, '-') || !readDigits(text, 0, day) || !text.empty()) {
        return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(month, year)) return false;
    const Date date = makeDate(month, day, year);
    if (date == 0) return false;
    out = date;
    return true;
}

bool parseTime(std::string_view text, std::int64_t& out) {
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
    if (!readDigits(text, 0, hours) || !readSeparator(text, ':') || !readDigits(text, 2, minutes)) {
        return false;
    }
    if (!text.empty() && (!readSeparator(text, ':') || !readDigits(text, 2, seconds))) return false;
    if (!text.empty() && (!readSeparator(text, '.') || !readDigits(text, 2, hundredths))) {
        return false;
    }
    if (!text.empty() || minutes > 59 || seconds > 59) return false;
    if (hours == 24 && minutes == 0 && seconds == 0 && hundredths == 0) {
        out = kEndOfDay;
        return true;
    }
    if (hours > 23) return false;
    out = static_cast<std::int64_t>(hours) * kHundredthsPerHour +
          static_cast<std::int64_t>(minutes) * kHundredthsPerMinute + seconds * kHundredthsPerSecond +
          hundredths + 1;
    return true;
}

bool parseInteger(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& out) {
    if (text.empty()) {
        out = 0;
        return true;
    }
    if (text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

}  // namespace

std::string fieldToText(const FieldDesc& field, const void* record) {
    switch (field.kind) {
    case FieldKind::Date: return dateToText(static_cast<Date>(fieldInt(field, record)));
    case FieldKind::Time: return timeToText(static_cast<Time>(fieldInt(field, record)));
    case FieldKind::Int32:
    case FieldKind::Int16:
    case FieldKind::Byte: return std::to_string(fieldInt(field, record));
    default: return fieldText(field, record).str();
    }
}

bool fieldFromText(const FieldDesc& field, void* record, std::string_view text) {
    if (isText(field.kind)) {
        const std::string clipped = clip(text);
        if (characterCount(clipped) > static_cast<std::size_t>(field.capacity)) return false;
        setFieldText(field, record, clipped);
        return true;
    }
    const std::string value = trim(text);
    std::int64_t number = 0;
    bool ok = false;
    switch (field.kind) {
    case FieldKind::Date: ok = value.empty() || parseDate(value, number); break;
    case FieldKind::Time: ok = value.empty() || parseTime(value, number); break;
    case FieldKind::Int16:
        ok = parseInteger(value, std::numeric_limits<std::int16_t>::min(),
                          std::numeric_limits<std::int16_t>::max(), number);
        break;
    case FieldKind::Byte: ok = parseInteger(value, 0, 255, number); break;
    default:
        ok = parseInteger(value, std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max(), number);
        break;
    }
    if (ok) setFieldInt(field, record, number);
    return ok;
}

void clearRecord(const TableSchema& schema, void* record) {
    for (const auto& field : schema.fields) {
        if (isText(field.kind)) {
            setFieldText(field, record, {});
        } else {
            setFieldInt(field, record, 0);
        }
    }
}

void copyRecord(const TableSchema& schema, const void* from, void* to) { schema.assignRecord(from, to); }

void copyByName(const TableSchema& fromSchema, const void* from, const TableSchema& toSchema, void* to) {
    for (const auto& target : toSchema.fields) {
        const int i = fromSchema.fieldIndex(target.column);
        if (i < 0) continue;
        const FieldDesc& source = fromSchema.fields[static_cast<std::size_t>(i)];
        if (isText(target.kind)) {
            setFieldText(target, to,
                         isText(source.kind) ? fieldText(source, from).str() : fieldToText(source, from));
        } else if (isNumeric(source.kind)) {
            setFieldInt(target, to, fieldInt(source, from));
        } else {
            fieldFromText(target, to, fieldText(source, from).str());
        }
    }
}

}  // namespace plorix::store
